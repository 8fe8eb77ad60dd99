#include "demarrage.h"

#include "core/app/chemins.h"
#include "core/app/questions.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "core/tools/renommage.h"
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

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

#include <memory>

namespace {

// What the data start-up has to tell waits until the main window stands: a box shown before it
// ran the event loop, the start-up timer fired behind it, and the window stayed minimised, its
// size then read back as its minimum. Questions are still asked at once.
class TQuestionsDifferees : public IQuestions {
public:
    explicit TQuestionsDifferees(TMainForm& principale) : fenetre(principale) {}
    void Avertit(const QString& message) override { fenetre.MessagesDemarrage.append({false, message}); }
    void SignaleErreur(const QString& message) override { fenetre.MessagesDemarrage.append({true, message}); }
    bool ConfirmeOkAnnuler(const QString& question) override {
        return fenetre.Questions->ConfirmeOkAnnuler(question);
    }
    bool DemandeOuiNon(const QString& question) override {
        return fenetre.Questions->DemandeOuiNon(question);
    }
    ReponseOuiNonTout DemandeOuiNonTout(const QString& question) override {
        return fenetre.Questions->DemandeOuiNonTout(question);
    }
    ReponseConfirmation Confirme(const QString& question) override {
        return fenetre.Questions->Confirme(question);
    }
    void AutoriseAnnulation(bool permise) override { fenetre.Questions->AutoriseAnnulation(permise); }

private:
    TMainForm& fenetre;
};

// The data start-up, run while the source chooser is created: the source list, the configuration,
// the trash, then the configuration's values, which scan and sort the source folder.
void DemarrageDonnees() {
    TQuestionsDifferees differees(*MainForm);
    const QStringList echecs = CreeDossiersAttendus(MainForm->DossierProgramme);
    if (!echecs.isEmpty())
        differees.Avertit(QStringLiteral("Impossible de créer le dossier « %1 ».")
                              .arg(echecs.join(QStringLiteral(" », « "))));

    // A renaming cut off last time: its files go back to the names their store knows.
    const QStringList nonRepris = ReprendRenommageInterrompu(
        Chemins::Joint(MainForm->DossierProgramme, QStringLiteral("Renommage.txt")));
    if (!nonRepris.isEmpty())
        differees.Avertit(
            QStringLiteral("Un renommage interrompu n'a pas pu être défait pour ces fichiers :\n") +
            nonRepris.join(u'\n'));

    MainForm->Session().CreeDonnees();
    ListeSource->Attente = FormProgress;
    MainForm->Session().Attente = FormProgress;
    ListeSource->Fenetre = MainForm;
    MainForm->Affichage->Liste = ListeSource;

    TFormSplash2* chargement = MainForm->FenetreChargement;
    TContexteDestinations& contexte = Configuration->ContexteDestinations;
    contexte.DossierProgramme = MainForm->DossierProgramme;
    contexte.Questions = MainForm->Questions;
    contexte.Chargement = chargement;
    Configuration->Questions = MainForm->Questions;

    auto corbeille = CreeCorbeille(&contexte);
    TDestination* trash = corbeille.get();
    Configuration->Destinations.Ajoute(TitreCorbeille, std::move(corbeille));
    MainForm->Session().ListeGroupe()->Ajoute(*trash);

    Configuration->Questions = &differees;
    const QString fichier = Chemins::Joint(MainForm->DossierProgramme, QStringLiteral("Mirasolve.ini"));
    const bool premierDemarrage = !QFileInfo::exists(fichier);
    if (Configuration->Lecture(fichier)) {
        if (premierDemarrage) Configuration->PlaceAuPremierDemarrage(MainForm->TailleMinimale());
        Configuration->AppliqueFenetre(*MainForm);
    }
    Configuration->Questions = MainForm->Questions;
    // Once, whatever the number of store files that could not be read whole.
    if (!contexte.CopiesGardees.isEmpty()) {
        differees.SignaleErreur(
            QStringLiteral("Des fichiers de signatures n'ont pas pu être lus en entier. Leur contenu "
                           "d'origine est gardé dans : « %1 ».")
                .arg(contexte.CopiesGardees.join(QStringLiteral(" », « "))));
        contexte.CopiesGardees.clear();
    }
}

// The program's one session: made before the windows, destroyed after them.
std::unique_ptr<TSession> sessionProgramme;

} // namespace

void CreeFenetres(const DossiersProgramme& dossiers) {
    sessionProgramme = std::make_unique<TSession>();
    MainForm = new TMainForm(*sessionProgramme, dossiers.Donnees, dossiers.Ressources);
    FormPreference = new TFormPreference(MainForm);
    FormProgress = new TFormProgress(MainForm);
    FormNouvSource = new TFormNouvSource(DemarrageDonnees, MainForm);
    FormNouvDest = new TFormNouvDest(MainForm);
    FormPleinEcran = new TFormPleinEcran(MainForm);
    FormRecurs = new TFormRecurs(MainForm);
    FormConfirmation = new TFormConfirmation(MainForm);
    FormDedoublone = new TFormDedoublone(MainForm);
    FormGestConf = new TFormGestConf(MainForm);
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
    // The source list and the configuration go with the session, which clears their globals.
    sessionProgramme.reset();
}
