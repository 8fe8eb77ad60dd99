#include "config/fenetresimulee.h"
#include "core/app/attente.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "environnement.h"
#include "questionstest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

// The data start-up of a session alone, in a test's own program folder: what it makes on disk and
// in the session, what it reads, and what it keeps to tell once the window stands.
namespace {

class AttenteTest : public IAttente {
public:
    QStringList Textes;
    void Prepare(const QString& texte, int) override { Textes << texte; }
    void Avance() override {}
    void Cache() override {}
};

class ChargementTest : public IChargement {
public:
    QList<int> Lectures; // the number of destinations announced at each reading
    QStringList Titres;
    void DebutLecture(int maximum) override { Lectures << maximum; }
    void DestinationEnCours(const QString& titre) override { Titres << titre; }
    void PasLecture() override {}
    void DebutChargement(int) override {}
    void PasChargement() override {}
};

class SessionDemarrageTest : public testing::Test {
protected:
    SessionDemarrageTest() {
        session.DossierProgramme = env.Programme;
        session.Questions = &questions;
        session.Attente = &attente;
    }
    ~SessionDemarrageTest() override {
        if (Tconfiguration* configuration = session.Configuration())
            configuration->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }

    // Starts the session; what the window's call sees of the data is noted.
    TSession::TResultatDemarrage Demarre() {
        return session.Demarre(&fenetre, &chargement, [this](TDestination& corbeille) {
            ++liaisons;
            corbeilleLiee = &corbeille;
            destinationsALaLiaison = session.Configuration()->Destinations.Count();
            fichiersALaLiaison = session.ListeSource()->Fichiers.Count();
        });
    }
    QString Ini() const { return env.Programme + QStringLiteral("/Mirasolve.ini"); }
    QStringList Fichiers() {
        QStringList noms;
        for (int i = 0; i < session.ListeSource()->Fichiers.Count(); ++i)
            noms << session.ListeSource()->Fichiers.Element(i)->Nom;
        return noms;
    }

    EnvironnementTest env;
    TQuestionsTest questions;
    AttenteTest attente;
    ChargementTest chargement;
    FenetreSimulee fenetre;
    TSession session;
    int liaisons = 0;
    TDestination* corbeilleLiee = nullptr;
    int destinationsALaLiaison = -1;
    int fichiersALaLiaison = -1;
};

// The very first start: the folders made, the trash as destination 0 handed to the window before
// anything is read, the home folder scanned as the source, nothing to tell.
TEST_F(SessionDemarrageTest, PremierDemarrage) {
    EcritImage(env.Source + QStringLiteral("/b.jpg"));
    EcritImage(env.Source + QStringLiteral("/a.gif"));
    ASSERT_FALSE(QFileInfo::exists(env.Programme + QStringLiteral("/Corbeille")));
    ASSERT_EQ(session.Configuration(), nullptr);

    const TSession::TResultatDemarrage demarrage = Demarre();
    EXPECT_TRUE(demarrage.PremierDemarrage);
    EXPECT_TRUE(demarrage.ConfigurationLue);
    EXPECT_TRUE(demarrage.Messages.isEmpty());
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Corbeille")).isDir());
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Signatures")).isDir());

    ASSERT_NE(session.Configuration(), nullptr);
    const Tconfiguration& configuration = *session.Configuration();
    ASSERT_EQ(configuration.Destinations.Count(), 1);
    EXPECT_EQ(configuration.Destinations.Texte(0), QStringLiteral("Corbeille"));
    EXPECT_EQ(configuration.Destinations.Element(0)->Chemin, env.Programme + QStringLiteral("/Corbeille"));
    EXPECT_EQ(liaisons, 1);
    EXPECT_EQ(corbeilleLiee, configuration.Destinations.Element(0));
    EXPECT_EQ(destinationsALaLiaison, 1);
    EXPECT_EQ(fichiersALaLiaison, 0);

    // What the data were given: the program's folder, the questions, the wait and loading windows.
    EXPECT_EQ(configuration.ContexteDestinations.DossierProgramme, env.Programme);
    EXPECT_EQ(configuration.ContexteDestinations.Questions, &questions);
    EXPECT_EQ(configuration.ContexteDestinations.Chargement, &chargement);
    EXPECT_EQ(configuration.Questions, &questions);
    EXPECT_EQ(session.ListeSource()->Attente, &attente);
    EXPECT_EQ(session.ListeSource()->Fenetre, &fenetre);

    // The source read: the home folder, scanned and sorted by name, its hint given to the window.
    EXPECT_EQ(configuration.SourcePath, env.Source);
    EXPECT_EQ(Fichiers(), (QStringList{"a.gif", "b.jpg"}));
    EXPECT_TRUE(attente.Textes.contains(QStringLiteral("Chargement et tri de la source")));
    EXPECT_TRUE(fenetre.indice.startsWith(env.Source)) << fenetre.indice.toStdString();
    EXPECT_TRUE(questions.Avertissements.isEmpty());
    EXPECT_TRUE(questions.Erreurs.isEmpty());
}

// A configuration file read: its values and destinations taken; a damaged signature store is
// kept aside and reported once, in the result rather than at once.
TEST_F(SessionDemarrageTest, ConfigurationLueEtMagasinAbimeSignale) {
    const QString album = env.Dossier(QStringLiteral("album"));
    const QString photos = env.Dossier(QStringLiteral("photos"));
    EcritImage(photos + QStringLiteral("/p.jpg"));
    QStringList lignes{QStringLiteral("WindowWidth=700"), QStringLiteral("SourcePath=") + photos,
                       QStringLiteral("DestinationCount=1")};
    lignes << Enregistrement(QStringLiteral("Album"), album);
    ASSERT_TRUE(TexteFichier::Ecrit(Ini(), lignes));
    env.Dossier(QStringLiteral("programme/Signatures"));
    EcritFichier(QFile::encodeName(env.Programme + QStringLiteral("/Signatures/Index.txt")), "seule\r\n");

    const TSession::TResultatDemarrage demarrage = Demarre();
    EXPECT_FALSE(demarrage.PremierDemarrage);
    EXPECT_TRUE(demarrage.ConfigurationLue);
    const Tconfiguration& configuration = *session.Configuration();
    EXPECT_EQ(configuration.WindowWidth, 700);
    ASSERT_EQ(configuration.Destinations.Count(), 2);
    EXPECT_EQ(configuration.Destinations.Element(0), corbeilleLiee);
    EXPECT_EQ(configuration.Destinations.Element(1)->Chemin, album);
    EXPECT_EQ(chargement.Lectures, QList<int>{1});
    EXPECT_EQ(configuration.SourcePath, photos);
    EXPECT_EQ(Fichiers(), QStringList{"p.jpg"});

    ASSERT_EQ(demarrage.Messages.size(), 1);
    EXPECT_TRUE(demarrage.Messages[0].first);
    EXPECT_TRUE(demarrage.Messages[0].second.startsWith(QStringLiteral("Des fichiers de signatures")));
    EXPECT_TRUE(demarrage.Messages[0].second.contains(QStringLiteral("Index.txt.illisible")));
    EXPECT_TRUE(configuration.ContexteDestinations.CopiesGardees.isEmpty());
    EXPECT_TRUE(questions.Erreurs.isEmpty());
    EXPECT_TRUE(questions.Avertissements.isEmpty());
}

// Every fault of the start-up kept in the result, in the order met: a data folder that cannot be
// made, a renaming journal that cannot be read, a configuration file that cannot be read (whose
// window values then do not apply). The data stand all the same.
TEST_F(SessionDemarrageTest, FautesRetenuesDansLOrdre) {
    EcritFichier(QFile::encodeName(env.Programme + QStringLiteral("/Signatures")), "un fichier");
    env.Dossier(QStringLiteral("programme/Renommage.txt"));
    env.Dossier(QStringLiteral("programme/Mirasolve.ini"));

    const TSession::TResultatDemarrage demarrage = Demarre();
    EXPECT_FALSE(demarrage.ConfigurationLue);
    EXPECT_FALSE(demarrage.PremierDemarrage);
    ASSERT_EQ(demarrage.Messages.size(), 3);
    EXPECT_FALSE(demarrage.Messages[0].first);
    EXPECT_EQ(demarrage.Messages[0].second,
              QStringLiteral("Impossible de créer le dossier « %1/Signatures ».").arg(env.Programme));
    EXPECT_FALSE(demarrage.Messages[1].first);
    EXPECT_TRUE(demarrage.Messages[1].second.startsWith(
        QStringLiteral("Un renommage interrompu n'a pas pu être défait pour ces fichiers :\n")));
    EXPECT_TRUE(demarrage.Messages[1].second.contains(QStringLiteral("Renommage.txt")));
    EXPECT_TRUE(demarrage.Messages[2].first);
    EXPECT_TRUE(demarrage.Messages[2].second.contains(QStringLiteral("ne peut pas être lu")));
    EXPECT_TRUE(questions.Erreurs.isEmpty());
    EXPECT_TRUE(questions.Avertissements.isEmpty());

    ASSERT_NE(session.Configuration(), nullptr);
    EXPECT_EQ(session.Configuration()->Destinations.Count(), 1);
    EXPECT_EQ(liaisons, 1);
    // The reading over, the configuration tells the session's questions again.
    EXPECT_EQ(session.Configuration()->Questions, &questions);
}

} // namespace
