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

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

TProprietesDestination TMainForm::ProprietesDuDialogue() const {
    TProprietesDestination proprietes;
    proprietes.Chemin = Chemins::SansSeparateurFinal(FormNouvDest->Label1->text());
    proprietes.Titre = FormNouvDest->EditTitre->text();
    proprietes.Fonte = FormNouvDest->EditTitre->font();
    proprietes.Charset = FormNouvDest->CharsetTitre;
    proprietes.Couleur = FormNouvDest->CouleurTitre;
    proprietes.RechercheLocale = FormNouvDest->CheckBox1->isChecked();
    proprietes.RechercheGenerale = FormNouvDest->CheckBox2->isChecked();
    return proprietes;
}

void TMainForm::Ajouter1Click() {
    if (!session.Configuration()) return;
    FormNouvDest->EditTitre->clear();
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return;
    const TResultatOuverture ouverture =
        session.OuvreDestination(ProprietesDuDialogue(), session.ListeGroupe()->Courant);
    if (!ouverture.Ouverte) {
        if (!ouverture.Refus.isEmpty()) Questions->Avertit(ouverture.Refus);
        return;
    }
    RafraichisListeDestinations();
}

std::optional<TProprietesDestination> TMainForm::ValideDestination(const QString& chemin, bool sansValidation,
                                                                   int mode) {
    FormNouvDest->Label1->setText(chemin);
    FormNouvDest->AffichePath(chemin);
    FormNouvDest->EditTitre->setText(Chemins::NomDeFichier(chemin));
    FormNouvDest->CheckBox1->setChecked(mode == 1 || mode == 3);
    FormNouvDest->CheckBox2->setChecked(mode == 3);
    FormNouvDest->CheckBox1->setEnabled(mode != 3);
    if (sansValidation) {
        // Taken as proposed, from the values themselves; the title font is the dialog's.
        TProprietesDestination proprietes = ProprietesDuDialogue();
        proprietes.Chemin = Chemins::SansSeparateurFinal(chemin);
        proprietes.Titre = Chemins::NomDeFichier(proprietes.Chemin);
        proprietes.RechercheLocale = mode == 1 || mode == 3;
        proprietes.RechercheGenerale = mode == 3;
        return proprietes;
    }
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return std::nullopt;
    return ProprietesDuDialogue();
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
