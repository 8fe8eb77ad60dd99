// The main window's commands that open and close destinations: one at a time, from the
// properties dialog, a whole sub-tree from a tile's menu, or all of them.

#include "confirmation.h"
#include "core/app/chemins.h"
#include "core/destinations/listegroupe.h"
#include "core/session/session.h"
#include "core/tools/arborescence.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/tools/nouvdest.h"

void TMainForm::Ajouter1Click() {
    if (!session.Configuration()) return;
    FormNouvDest->PresenteAjout();
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return;
    const TResultatOuverture ouverture =
        session.OuvreDestination(FormNouvDest->Proprietes(), session.ListeGroupe()->Courant);
    if (!ouverture.Ouverte) {
        if (!ouverture.Refus.isEmpty()) Questions->Avertit(ouverture.Refus);
        return;
    }
    RafraichisListeDestinations();
}

std::optional<TProprietesDestination> TMainForm::ValideDestination(const QString& chemin, bool sansValidation,
                                                                   int mode) {
    // The folder proposed with its own name as the title; the title font stays the dialog's.
    TProprietesDestination proposees = FormNouvDest->Proprietes();
    proposees.Chemin = chemin;
    proposees.Titre = Chemins::NomDeFichier(chemin);
    proposees.RechercheLocale = mode == 1 || mode == 3;
    proposees.RechercheGenerale = mode == 3;
    FormNouvDest->Presente(proposees);
    if (sansValidation) {
        // Taken as proposed, from the values themselves.
        proposees.Chemin = Chemins::SansSeparateurFinal(chemin);
        proposees.Titre = Chemins::NomDeFichier(proposees.Chemin);
        return proposees;
    }
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return std::nullopt;
    return FormNouvDest->Proprietes();
}

TDestination* TMainForm::AjouteDestination(const QString& chemin, bool sansValidation, int32_t niveau,
                                           int mode) {
    if (!session.Configuration()) return nullptr;
    const std::optional<TProprietesDestination> proprietes = ValideDestination(chemin, sansValidation, mode);
    // A folder refused is left out without a word: the walk of a tree goes on.
    return proprietes ? session.OuvreDestination(*proprietes, niveau).Ouverte : nullptr;
}

void TMainForm::Fermerladestination1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    session.FermeDestination(index);
    RafraichisListeDestinations();
}

void TMainForm::Fermertouteslesdestinations1Click() {
    if (!session.Configuration()) return;
    FixeCurseur(Qt::WaitCursor);
    session.FermeTout();
    RafraichisListeDestinations();
    CurseurParDefaut();
}
