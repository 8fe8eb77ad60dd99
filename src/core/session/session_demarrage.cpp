// The data start-up: the session's folders, source list, configuration and trash, then the
// configuration file.

#include "core/app/chemins.h"
#include "core/app/dossierprogramme.h"
#include "core/app/questions.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "core/tools/renommage.h"

#include <QFileInfo>

namespace {

// What the start-up tells waits in its result until the main window stands: a box shown before the
// window ran the event loop would fire the start-up timer behind it. Questions are still asked at
// once, of the questions the session holds at that moment.
class TQuestionsDifferees : public IQuestions {
public:
    TQuestionsDifferees(IQuestions* const& questions, QList<QPair<bool, QString>>& messages)
        : reelles(questions), retenus(messages) {}
    void Avertit(const QString& message) override { retenus.append({false, message}); }
    void SignaleErreur(const QString& message) override { retenus.append({true, message}); }
    bool ConfirmeOkAnnuler(const QString& question) override {
        return reelles && reelles->ConfirmeOkAnnuler(question);
    }
    bool DemandeOuiNon(const QString& question) override {
        return reelles && reelles->DemandeOuiNon(question);
    }
    ReponseOuiNonTout DemandeOuiNonTout(const QString& question) override {
        return reelles ? reelles->DemandeOuiNonTout(question) : ReponseOuiNonTout::Non;
    }
    ReponseConfirmation Confirme(const QString& question) override {
        return reelles ? reelles->Confirme(question) : ReponseConfirmation::Non;
    }
    void AutoriseAnnulation(bool permise) override {
        if (reelles) reelles->AutoriseAnnulation(permise);
    }

private:
    IQuestions* const& reelles;
    QList<QPair<bool, QString>>& retenus;
};

} // namespace

TSession::TResultatDemarrage TSession::Demarre(IFenetrePrincipale* fenetre, IChargement* chargement,
                                               const std::function<void(TDestination& corbeille)>& lie) {
    TResultatDemarrage resultat;
    TQuestionsDifferees differees(Questions, resultat.Messages);
    const QStringList echecs = CreeDossiersAttendus(DossierProgramme);
    if (!echecs.isEmpty())
        differees.Avertit(QStringLiteral("Impossible de créer le dossier « %1 ».")
                              .arg(echecs.join(QStringLiteral(" », « "))));

    // A renaming cut off last time: its files go back to the names their store knows.
    const QStringList nonRepris =
        ReprendRenommageInterrompu(Chemins::Joint(DossierProgramme, QStringLiteral("Renommage.txt")));
    if (!nonRepris.isEmpty())
        differees.Avertit(
            QStringLiteral("Un renommage interrompu n'a pas pu être défait pour ces fichiers :\n") +
            nonRepris.join(u'\n'));

    CreeDonnees();
    listeSource->Attente = Attente;
    listeSource->Fenetre = fenetre;

    TContexteDestinations& contexte = configuration->ContexteDestinations;
    contexte.DossierProgramme = DossierProgramme;
    contexte.Questions = Questions;
    contexte.Chargement = chargement;
    configuration->Questions = Questions;

    auto corbeille = CreeCorbeille(&contexte);
    TDestination* trash = corbeille.get();
    configuration->Destinations.Ajoute(TitreCorbeille, std::move(corbeille));
    if (lie) lie(*trash);

    configuration->Questions = &differees;
    const QString fichier = Chemins::Joint(DossierProgramme, QStringLiteral("Mirasolve.ini"));
    resultat.PremierDemarrage = !QFileInfo::exists(fichier);
    resultat.ConfigurationLue = configuration->Lecture(fichier);
    configuration->Questions = Questions;
    // Once, whatever the number of store files that could not be read whole.
    if (!contexte.CopiesGardees.isEmpty()) {
        differees.SignaleErreur(
            QStringLiteral("Des fichiers de signatures n'ont pas pu être lus en entier. Leur contenu "
                           "d'origine est gardé dans : « %1 ».")
                .arg(contexte.CopiesGardees.join(QStringLiteral(" », « "))));
        contexte.CopiesGardees.clear();
    }
    return resultat;
}
