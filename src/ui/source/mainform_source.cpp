// The main window's commands that choose, scan again or replace the source folder: the session
// scans, the window shows.

#include "affichagesource.h"
#include "core/session/session.h"
#include "nouvsource.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

#include <QTimer>

void TMainForm::ChargeSource(const QString& dossier, const TPositionSource* garde) {
    // A step asked for in the old list means nothing in the new one.
    TimerCourantAff->stop();
    session.ChangeSource(dossier, garde ? std::optional<TPositionSource>(*garde) : std::nullopt);
    MontreSource();
}

void TMainForm::MontreSource() {
    TimerCourantAff->stop();
    RemplitListe();
    Affichage->AfficheTout();
}

void TMainForm::Parcourir1Click() {
    if (!session.Configuration() || !session.ListeSource()) return;
    // A folder gone since is no reason not to open: the chooser keeps the folder it showed last.
    FormNouvSource->FixeDossier(session.SourceAProposer());
    if (Dialogues->MontreModal(*FormNouvSource) != QDialog::Accepted) {
        // Cancelled too, the search was asked to stop; it starts again on its own schedule.
        session.DemandeArretRecherche();
        return;
    }
    FixeCurseur(Qt::WaitCursor);
    ChargeSource(FormNouvSource->Dossier());
    CurseurParDefaut();
    // The destination that became the source shows inactive, the one that stopped being it active.
    RafraichisListeDestinations();
}

void TMainForm::Rafraichir1Click() {
    if (!session.Configuration() || !session.ListeSource()) return;
    TimerCourantAff->stop();
    // The file shown stays current when the folder still holds it.
    session.Rafraichit();
    MontreSource();
}

void TMainForm::Slectionnercettedestinationcommesource1Click() {
    FixeCurseur(Qt::WaitCursor);
    TimerCourantAff->stop();
    const TResultatSource resultat = session.DestinationCommeSource(IndexDuMenuDeTuile());
    if (resultat.Chargee) MontreSource();
    CurseurParDefaut();
    // That destination shows inactive at once.
    if (resultat.Chargee) RafraichisListeDestinations();
}
