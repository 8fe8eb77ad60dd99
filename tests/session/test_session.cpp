#include "core/config/configuration.h"
#include "core/destinations/corbeille.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "environnement.h"
#include "recherchesimulee.h"

#include <QDir>
#include <QFile>
#include <QPointer>

#include <gtest/gtest.h>

// Filing and undoing as operations of the session, with no window: what the session returns, and
// what it leaves in the source list, the undo record and on the disk.
namespace {

class SessionTest : public testing::Test {
protected:
    void SetUp() override {
        session.CreeDonnees();
        ASSERT_NE(session.ListeSource(), nullptr);
        ASSERT_NE(session.Configuration(), nullptr);
        env.Dossier(QStringLiteral("programme/Signatures"));
        env.Dossier(QStringLiteral("programme/Corbeille"));
        album = env.Dossier(QStringLiteral("album"));
        for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
            EcritImage(env.Source + u'/' + QLatin1String(nom));
        Tconfiguration& configuration = *session.Configuration();
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        destination = std::make_shared<TDestination>(&configuration.ContexteDestinations);
        destination->Charge(album, QStringLiteral("Album"));
        configuration.Destinations.Ajoute(destination->Titre, destination);
        configuration.ChangeSource(env.Source);
        Source().Trie(TriNom);
    }
    ~SessionTest() override {
        session.Configuration()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }

    TSourceListe& Source() { return *session.ListeSource(); }
    const TJournalAnnulation& Journal() { return session.Configuration()->Annulations; }
    QStringList Listes() {
        QStringList noms;
        for (int i = 0; i < Source().Fichiers.Count(); ++i)
            noms << Source().Fichiers.Element(i)->Nom;
        return noms;
    }
    static QStringList Noms(const QString& dossier) {
        return QDir(dossier).entryList(QDir::Files, QDir::Name);
    }
    QByteArray S(const char* nom) const { return QFile::encodeName(env.Source + u'/' + QLatin1String(nom)); }
    QByteArray A(const char* nom) const { return QFile::encodeName(album + u'/' + QLatin1String(nom)); }

    EnvironnementTest env;
    TSession session;
    QString album;
    std::shared_ptr<TDestination> destination;
};

TEST_F(SessionTest, LaCouranteDeplaceePuisAnnulee) {
    Source().IndexAffiche = 1;
    Source().IndexDemande = 1;
    const TResultatClassement classe = session.Classe(*destination, false, std::nullopt);
    EXPECT_FALSE(classe.Selection);
    ASSERT_EQ(classe.Classes.size(), 1);
    EXPECT_EQ(classe.Classes[0].Ligne, 1);
    EXPECT_EQ(classe.Classes[0].Source, S("b.jpg"));
    EXPECT_EQ(classe.Classes[0].Cible, A("b.jpg"));
    EXPECT_TRUE(classe.Echecs.isEmpty());
    // What now stands at line 1 comes up.
    EXPECT_TRUE(classe.CouranteRetiree);
    EXPECT_TRUE(Source().CouranteRetiree);
    EXPECT_EQ(classe.IndexDemande, -1);
    EXPECT_EQ(Source().IndexDemande, -1);
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Noms(album), QStringList{"b.jpg"});
    EXPECT_EQ(Journal().Nombre(), 1);
    EXPECT_EQ(destination->ATraiter.size(), 1);

    // The last line filed: a step back to the new last one.
    Source().IndexAffiche = 2;
    Source().IndexDemande = 2;
    const TResultatClassement dernier = session.Classe(*destination, false, std::nullopt);
    EXPECT_TRUE(dernier.CouranteRetiree);
    EXPECT_EQ(dernier.IndexDemande, 1);

    // Undone newest first, each back at its line, the one to show requested.
    TResultatAnnulation annule = session.Annule();
    EXPECT_TRUE(annule.Annulee);
    ASSERT_EQ(annule.Detail.Fichiers.size(), 1);
    EXPECT_EQ(annule.Detail.Fichiers[0].NomRemis, QStringLiteral("d.jpg"));
    EXPECT_EQ(annule.IndexMontre, 2);
    annule = session.Annule();
    EXPECT_EQ(annule.IndexMontre, 1);
    EXPECT_EQ(Source().IndexDemande, 1);
    EXPECT_TRUE(annule.Detail.Echec.isEmpty());
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_TRUE(Noms(album).isEmpty());
    EXPECT_TRUE(Journal().EstVide());
    EXPECT_TRUE(destination->ATraiter.isEmpty());
    // Nothing left to undo: nothing done, nothing asked to show.
    Source().IndexDemande = 3;
    const TResultatAnnulation rien = session.Annule();
    EXPECT_FALSE(rien.Annulee);
    EXPECT_EQ(rien.IndexMontre, -1);
    EXPECT_EQ(Source().IndexDemande, 3);
}

TEST_F(SessionTest, UneSelectionEnUneCommande) {
    Source().IndexAffiche = 3;
    // Given in any order, filed from the highest line down.
    const TResultatClassement classe = session.Classe(*destination, false, QList<int>{2, 0, 3});
    EXPECT_TRUE(classe.Selection);
    ASSERT_EQ(classe.Classes.size(), 3);
    EXPECT_EQ((QList<int>{classe.Classes[0].Ligne, classe.Classes[1].Ligne, classe.Classes[2].Ligne}),
              (QList<int>{3, 2, 0}));
    EXPECT_EQ(classe.Classes[2].Source, S("a.jpg"));
    EXPECT_FALSE(classe.CouranteRetiree);
    EXPECT_EQ(Listes(), QStringList{"b.jpg"});
    EXPECT_EQ(Noms(album), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(classe.IndexAffiche, 0);
    EXPECT_EQ(Source().IndexDemande, 0);
    EXPECT_EQ(Journal().Nombre(), 3);

    // One undo takes the whole selection back.
    const TResultatAnnulation annule = session.Annule();
    EXPECT_EQ(annule.Detail.Fichiers.size(), 3);
    EXPECT_EQ(annule.IndexMontre, 3);
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_TRUE(Noms(album).isEmpty());
    EXPECT_TRUE(Journal().EstVide());
}

TEST_F(SessionTest, UneCopieLaisseLaSourceEtSAnnuleEnEffacantLaCopie) {
    Source().IndexAffiche = 0;
    const TResultatClassement copie = session.Classe(*destination, true, std::nullopt);
    EXPECT_TRUE(copie.Copie);
    ASSERT_EQ(copie.Classes.size(), 1);
    EXPECT_EQ(copie.Classes[0].Cible, A("a.jpg"));
    EXPECT_FALSE(copie.CouranteRetiree);
    EXPECT_EQ(Listes().size(), 4);
    EXPECT_TRUE(QFile::exists(QFile::decodeName(S("a.jpg"))));
    EXPECT_EQ(Noms(album), QStringList{"a.jpg"});

    const TResultatAnnulation annule = session.Annule();
    ASSERT_EQ(annule.Detail.Fichiers.size(), 1);
    EXPECT_EQ(annule.Detail.Fichiers[0].IndexRemis, -1);
    EXPECT_EQ(annule.IndexMontre, -1);
    EXPECT_TRUE(Noms(album).isEmpty());
    EXPECT_EQ(Noms(env.Source).size(), 4);
    EXPECT_EQ(Listes().size(), 4);
}

// A failure leaves the source list, the undo record and the disk as they were, and says why.
TEST_F(SessionTest, UnEchecNeChangeRien) {
    ASSERT_TRUE(QDir(album).removeRecursively());
    Source().IndexAffiche = 0;
    Source().IndexDemande = 0;
    const TResultatClassement echec = session.Classe(*destination, false, std::nullopt);
    EXPECT_TRUE(echec.Classes.isEmpty());
    ASSERT_EQ(echec.Echecs.size(), 1);
    EXPECT_TRUE(echec.Echecs[0].contains(QStringLiteral("a.jpg")));
    EXPECT_FALSE(echec.CouranteRetiree);
    EXPECT_FALSE(Source().CouranteRetiree);
    EXPECT_EQ(Source().IndexDemande, 0);
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Noms(env.Source).size(), 4);
    EXPECT_TRUE(Journal().EstVide());
    EXPECT_TRUE(destination->ATraiter.isEmpty());
    EXPECT_FALSE(session.Annule().Annulee);

    // In a selection, the file gone meanwhile fails and stays listed; the others are filed.
    ASSERT_TRUE(QDir().mkpath(album));
    ASSERT_TRUE(QFile::remove(QFile::decodeName(S("c.jpg"))));
    const TResultatClassement partiel = session.Classe(*destination, false, QList<int>{1, 2});
    ASSERT_EQ(partiel.Classes.size(), 1);
    EXPECT_EQ(partiel.Classes[0].Source, S("b.jpg"));
    ASSERT_EQ(partiel.Echecs.size(), 1);
    EXPECT_TRUE(partiel.Echecs[0].contains(QStringLiteral("c.jpg")));
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Journal().Nombre(), 1);
}

} // namespace

// A session without data files and undoes nothing; its data are made once, the levels wired to
// the configuration; the busy counter starts at rest.
TEST(Session, DonneesFaitesUneFois) {
    TSession session;
    EXPECT_EQ(session.Occupe.load(), 0);
    EXPECT_EQ(session.ListeSource(), nullptr);
    EXPECT_EQ(session.ListeGroupe(), nullptr);
    EXPECT_EQ(session.Classe(*std::make_shared<TDestination>(), false, std::nullopt).Classes.size(), 0);
    EXPECT_FALSE(session.Annule().Annulee);
    session.CreeDonnees();
    TSourceListe* const liste = session.ListeSource();
    Tconfiguration* const configuration = session.Configuration();
    ASSERT_NE(liste, nullptr);
    ASSERT_NE(configuration, nullptr);
    ASSERT_NE(session.ListeGroupe(), nullptr);
    EXPECT_EQ(configuration->ListeGroupe, session.ListeGroupe());
    EXPECT_EQ(session.ListeGroupe()->Destinations, &configuration->Destinations);
    session.CreeDonnees();
    EXPECT_EQ(session.ListeSource(), liste);
    EXPECT_EQ(session.Configuration(), configuration);
}

// Undo holds the search off and asks it to stop, with no window to decide it; waiting for the end
// of the search is the session's too.
TEST(Session, LaRechercheCedeLaPlace) {
    TSession session;
    session.CreeDonnees();
    auto* tache = new TRechercheSimulee(session.Occupe);
    tache->Libre = false;
    session.TacheRecherche = tache;
    tache->start();
    ASSERT_TRUE(AttendQue([&] { return session.Occupe.load() == 1; }, 5000));
    EXPECT_FALSE(session.Annule().Annulee);
    EXPECT_TRUE(tache->isInterruptionRequested());
    // The session's own count is given back; the task still holds its own until it ends.
    EXPECT_EQ(session.Occupe.load(), 1);
    tache->Libre = true;
    session.AttendFinRecherche();
    EXPECT_TRUE(tache->isFinished());
    EXPECT_EQ(session.Occupe.load(), 0);
    delete tache;
    EXPECT_TRUE(session.TacheRecherche.isNull());
}

namespace {

// A comparison kept at its start until it is asked to stop, then run as the real one: it then
// reads its partners and where it resumes.
class TComparaisonTenue : public TTacheComparaison {
public:
    using TTacheComparaison::TTacheComparaison;
    std::atomic<bool> Entree{false};

protected:
    void Travaille() override {
        Entree = true;
        while (!isInterruptionRequested())
            QThread::msleep(1);
        TTacheComparaison::Travaille();
    }
};

} // namespace

// The session's end stops a comparison still running and waits for it before anything it reads
// goes: the partners it alone holds are let go only then.
TEST(Session, SaFinAttendLaComparaisonEnCours) {
    auto session = std::make_unique<TSession>();
    session->CreeDonnees();
    auto partenaire = std::make_shared<TDestination>();
    const std::weak_ptr<TDestination> suivi = partenaire;
    auto* tache = new TComparaisonTenue(std::make_shared<TDestination>(), {std::move(partenaire)},
                                        QStringLiteral("a-moitie.jpg"), 1,
                                        session->Configuration()->Sensibilite, session->Occupe);
    const QPointer<TTacheMini> suivie(tache);
    session->TacheRecherche = tache;
    tache->start();
    ASSERT_TRUE(AttendQue([&] { return tache->Entree.load(); }, 5000));
    EXPECT_FALSE(suivi.expired());
    session.reset();
    EXPECT_TRUE(suivie.isNull());
    EXPECT_TRUE(suivi.expired());
}

// A comparison deleted while it runs, by whatever holds it, waits for its thread before the
// partners and the resume point it reads go.
TEST(Session, UneComparaisonDetruiteAttendSonFil) {
    const std::atomic<int32_t> sensibilite{100};
    std::atomic<int32_t> occupe{0};
    auto partenaire = std::make_shared<TDestination>();
    const std::weak_ptr<TDestination> suivi = partenaire;
    auto* tache = new TComparaisonTenue(std::make_shared<TDestination>(), {std::move(partenaire)},
                                        QStringLiteral("a-moitie.jpg"), 1, sensibilite, occupe);
    tache->start();
    ASSERT_TRUE(AttendQue([&] { return tache->Entree.load(); }, 5000));
    delete tache;
    EXPECT_TRUE(suivi.expired());
    EXPECT_EQ(occupe.load(), 0);
}
