#include "mainform.h"

#include "core/app/chemins.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "globaux.h"
#include "ui/source/affichagesource.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>

void TMainForm::Quit1Click() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (fermetureFaite || !FormCloseQuery()) {
        event->setAccepted(fermetureFaite);
        return;
    }
    FormClose();
    event->accept();
}

bool TMainForm::FormCloseQuery() {
    Timer2->stop();
    session.RechercheAutorisee = false;
    TimerFermeture->start();
    if (session.Occupe.load() == 0) {
        TimerFermeture->stop();
        return true;
    }
    // The search thread may already be gone; the close is simply asked again later.
    DemandeArretRecherche();
    return false;
}

void TMainForm::TimerFermetureTimer() {
    close();
}

void TMainForm::FormClose() {
    fermetureFaite = true;
    if (Tconfiguration* configuration = session.Configuration()) {
        configuration->ReleveFenetre(*this);
        const QString fichier = Chemins::Joint(session.DossierProgramme, QStringLiteral("Mirasolve.ini"));
        if (!configuration->Ecriture(fichier))
            QMessageBox::critical(
                this, QStringLiteral("Mirasolve"),
                QStringLiteral("Impossible d'écrire le fichier de configuration « %1 ».").arg(fichier));
        // No question while closing: every destination saves its store.
        configuration->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        // Every destination but the trash, in list order; each saves what it must as it goes, and
        // the store's index is written once at the end.
        TLotMagasin lot(&configuration->ContexteDestinations);
        for (int i = 1; i < configuration->Destinations.Count(); ++i)
            configuration->Destinations.Element(i)->Ferme();
        configuration->Destinations.DetruitDepuis(1);
    }
    // A decode under way is not waited for; its result no longer has a list to reach.
    Affichage->Libere();
    session.LibereListeSource();
    emit Fermee();
}
