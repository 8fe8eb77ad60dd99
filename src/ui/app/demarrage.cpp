#include "demarrage.h"

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "globaux.h"
#include "mainform.h"
#include "progression.h"
#include "splash2.h"
#include "ui/config/gestconf.h"
#include "ui/config/preferences.h"
#include "ui/destinations/confirmation.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/duplicates/gestmini.h"
#include "ui/source/affichagesource.h"
#include "ui/source/nouvsource.h"
#include "ui/source/pleinecran.h"
#include "ui/tools/nouvdest.h"
#include "ui/tools/recursif.h"

#include <QLabel>
#include <QProgressBar>

#include <memory>

namespace {

// The data start-up, run while the source chooser is created: the session makes the source list,
// the configuration and the trash, then reads the configuration's values, which scan and sort the
// source folder; the window ties itself to the new data and takes the saved bounds.
void DemarrageDonnees() {
    TSession& session = MainForm->Session();
    session.Attente = FormProgress;
    TSession::TResultatDemarrage demarrage =
        session.Demarre(MainForm, MainForm->FenetreChargement, [&session](TDestination& trash) {
            MainForm->Affichage->Liste = session.ListeSource();
            session.ListeGroupe()->Ajoute(trash);
        });
    if (demarrage.ConfigurationLue) {
        Tconfiguration& configuration = *session.Configuration();
        if (demarrage.PremierDemarrage) configuration.PlaceAuPremierDemarrage(MainForm->TailleMinimale());
        configuration.AppliqueFenetre(*MainForm);
    }
    MainForm->MessagesDemarrage.append(demarrage.Messages);
}

// The program's one session: made before the windows, destroyed after them.
std::unique_ptr<TSession> sessionProgramme;

} // namespace

void CreeFenetres(const DossiersProgramme& dossiers) {
    sessionProgramme = std::make_unique<TSession>();
    MainForm = new TMainForm(*sessionProgramme, dossiers.Donnees, dossiers.Ressources);
    FormPreference = new TFormPreference(*sessionProgramme, MainForm);
    FormProgress = new TFormProgress(MainForm);
    FormNouvSource = new TFormNouvSource(DemarrageDonnees, MainForm);
    FormNouvDest = new TFormNouvDest(MainForm);
    FormPleinEcran = new TFormPleinEcran(MainForm);
    FormRecurs = new TFormRecurs(MainForm);
    FormConfirmation = new TFormConfirmation(MainForm);
    FormDedoublone = new TFormDedoublone(*sessionProgramme, FormPleinEcran, MainForm);
    FormGestConf = new TFormGestConf(*sessionProgramme, *MainForm, MainForm->ImageList4, MainForm);
    QObject::connect(FormGestConf, &TFormGestConf::ConfigurationOuverte, MainForm, &TMainForm::MontreSource);
    FormMiniatures = new TFormMiniatures(MainForm);
}

void DetruitFenetres() {
    // The other windows belong to the main window and go with it.
    delete MainForm;
    MainForm = nullptr;
    FormPreference = nullptr;
    FormProgress = nullptr;
    FormNouvSource = nullptr;
    FormNouvDest = nullptr;
    FormPleinEcran = nullptr;
    FormRecurs = nullptr;
    FormConfirmation = nullptr;
    FormDedoublone = nullptr;
    FormGestConf = nullptr;
    FormMiniatures = nullptr;
    // The source list and the configuration go with the session.
    sessionProgramme.reset();
}
