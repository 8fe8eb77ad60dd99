// The main window's commands that open and close destinations: one at a time, from the
// properties dialog, a whole sub-tree from a tile's menu, or all of them.

#include "confirmation.h"
#include "core/app/chemins.h"
#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/fermeture.h"
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

bool TMainForm::DejaOuverte(const QString& chemin) const {
    return TDossiersOuverts(Configuration->Destinations).Contient(chemin);
}

QString TMainForm::RefusDossier(const QString& chemin, const TDestination* deplacee) const {
    // The same folder under another spelling is a folder already open too.
    if (DejaOuverte(chemin) || OuverteSousUnAutreChemin(chemin, Configuration->Destinations, deplacee))
        return QStringLiteral("Le dossier existe déja");
    if (Chemins::EstReserve(chemin, DossierProgramme))
        return QStringLiteral(
                   "Le dossier « %1 » est celui du programme, de sa corbeille ou de ses signatures : il ne "
                   "peut pas être une destination.")
            .arg(chemin);
    return QString();
}

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
    if (!Configuration) return;
    FormNouvDest->EditTitre->clear();
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return;
    const QString refus = RefusDossier(Chemins::SansSeparateurFinal(FormNouvDest->Label1->text()));
    if (!refus.isEmpty()) {
        Questions->Avertit(refus);
        return;
    }
    OuvreDestination(ProprietesDuDialogue(), ListeGroupe->Courant, Configuration->Destinations, *ListeGroupe,
                     Configuration->ContexteDestinations);
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
    if (!Configuration) return nullptr;
    const std::optional<TProprietesDestination> proprietes = ValideDestination(chemin, sansValidation, mode);
    if (!proprietes || DejaOuverte(proprietes->Chemin) ||
        Chemins::EstReserve(proprietes->Chemin, DossierProgramme))
        return nullptr;
    return OuvreDestination(*proprietes, niveau, Configuration->Destinations, *ListeGroupe,
                            Configuration->ContexteDestinations);
}

TFermeture TMainForm::Fermeture() {
    return TFermeture(Configuration->Destinations, *ListeGroupe, Configuration->ContexteDestinations);
}

void TMainForm::Fermerladestination1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const TOccupation occupation(session.Occupe);
    DemandeArretRecherche();
    const TLotMagasin lot(&Configuration->ContexteDestinations);
    Fermeture().FermeAvecSousArbre(index);
    RafraichisListeDestinations();
}

void TMainForm::Fermertouteslesdestinations1Click() {
    if (!Configuration) return;
    FixeCurseur(Qt::WaitCursor);
    {
        const TOccupation occupation(session.Occupe);
        DemandeArretRecherche();
        const TLotMagasin lot(&Configuration->ContexteDestinations);
        Fermeture().FermeTout();
    }
    RafraichisListeDestinations();
    CurseurParDefaut();
}
