// The main window's commands that choose, scan again or replace the source folder.

#include "affichagesource.h"
#include "core/app/chemins.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/positionsource.h"
#include "core/source/sourceliste.h"
#include "nouvsource.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

#include <QFileInfo>
#include <QTimer>

void TMainForm::ChargeSource(const QString& dossier, const TPositionSource* garde) {
    // A step asked for in the old list means nothing in the new one.
    TimerCourantAff->stop();
    Configuration->ChangeSource(dossier);
    ListeSource->Trie(TriNom);
    if (garde) PositionSource::Place(*ListeSource, *garde);
    RemplitListe();
    Affichage->AfficheTout();
}

void TMainForm::Parcourir1Click() {
    if (!Configuration || !ListeSource) return;
    if (!QFileInfo(Configuration->SourcePath).isDir())
        Configuration->SourcePath = Chemins::DossierParDefaut();
    // A folder gone since is no reason not to open: the chooser keeps the folder it showed last.
    FormNouvSource->FixeDossier(Configuration->SourcePath);
    const int resultat = Dialogues->MontreModal(*FormNouvSource);
    DemandeArretRecherche();
    if (resultat != QDialog::Accepted) return;
    FixeCurseur(Qt::WaitCursor);
    ChargeSource(FormNouvSource->Dossier());
    CurseurParDefaut();
    // The destination that became the source shows inactive, the one that stopped being it active.
    RafraichisListeDestinations();
}

void TMainForm::Rafraichir1Click() {
    if (!Configuration || !ListeSource) return;
    DemandeArretRecherche();
    // The file shown stays current when the folder still holds it.
    const TPositionSource courante = PositionSource::Releve(*ListeSource);
    ChargeSource(Configuration->SourcePath, &courante);
}

void TMainForm::Slectionnercettedestinationcommesource1Click() {
    DemandeArretRecherche();
    const int index = IndexDuMenuDeTuile();
    if (index < 0 || !ListeSource) return;
    const QString dossier = Configuration->Destinations.Element(index)->Chemin;
    FixeCurseur(Qt::WaitCursor);
    ChargeSource(dossier);
    CurseurParDefaut();
    RafraichisListeDestinations();
}
