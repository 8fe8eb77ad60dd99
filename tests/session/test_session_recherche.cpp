#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/magasin.h"
#include "core/session/session.h"
#include "environnement.h"
#include "photo.h"
#include "questionstest.h"
#include "recherchesimulee.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPointer>
#include <QScopeGuard>

#include <gtest/gtest.h>

// The duplicate search as the session schedules it, the near copies of the current image, and the
// commands of the "Images en double" menu, with no window: what each returns and tells, and what
// the destinations, the store and the search's counter hold after it.
namespace {

void EcritJpeg(const QString& chemin, const QImage& image, int qualite = 90) {
    QImageWriter ecrivain(chemin, "jpeg");
    ecrivain.setQuality(qualite);
    ASSERT_TRUE(ecrivain.write(image)) << chemin.toStdString();
}

class RechercheSessionTest : public testing::Test {
protected:
    void SetUp() override {
        session.CreeDonnees();
        session.Questions = &utilisateur;
        session.DecodeursEnPlus = 1;
        env.Dossier(QStringLiteral("programme/Signatures"));
        env.Dossier(QStringLiteral("programme/Corbeille"));
        Tconfiguration& configuration = *session.Configuration();
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        configuration.ContexteDestinations.Questions = &utilisateur;
        configuration.Sensibilite = 150000;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        configuration.ChangeSource(env.Source);
    }
    ~RechercheSessionTest() override {
        session.Configuration()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }

    TListeDestinations& Destinations() { return session.Configuration()->Destinations; }
    QString Signatures() { return session.Configuration()->ContexteDestinations.DossierSignatures(); }
    // A folder opened as a LOCAL destination: its images queued for their signatures.
    std::shared_ptr<TDestination> Ouvre(const QString& dossier) {
        auto d = std::make_shared<TDestination>(&session.Configuration()->ContexteDestinations);
        d->Charge(dossier, QFileInfo(dossier).fileName());
        d->RechercheLocale = true;
        Destinations().Ajoute(d->Titre, d);
        return d;
    }
    // The decision made, then its tasks run until none is left to start.
    bool Cherche() {
        session.FinTache();
        return AttendQue(
            [&] {
                return session.TacheRecherche.isNull() && session.Occupe.load() == 0 &&
                       BilanRecherche(Destinations(), true, 0).ADemarrer < 0;
            },
            60000);
    }
    // The signatures the store holds for a folder; -1 when it names none.
    qsizetype Stockees(const QString& dossier) {
        for (const TDossierStocke& d : TMagasinSignatures(Signatures()).Inventaire())
            if (d.Dossier == dossier) return d.Signatures;
        return -1;
    }
    // The store's folder made unwritable (a file in its place), or put back.
    void MagasinBloque(bool bloque) {
        ASSERT_TRUE(QDir(Signatures()).removeRecursively());
        if (bloque)
            EcritFichier(QFile::encodeName(Signatures()), "pas un dossier");
        else
            ASSERT_TRUE(QFile::remove(Signatures()) && QDir().mkpath(Signatures()));
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TSession session;
};

} // namespace

// Nothing starts while a command holds the search or once the program closes; otherwise the
// decision starts the first destination due, and the end of each task writes its store when more
// than ten signatures came, tells the tile and the totals, and starts the next with no tick.
TEST_F(RechercheSessionTest, LaDecisionDemarreEtLaFinEnchaine) {
    const QString lotDossier = env.Dossier(QStringLiteral("Lot"));
    for (int i = 0; i < 11; ++i)
        EcritJpeg(lotDossier + QStringLiteral("/%1.jpg").arg(i), PhotoSynthetique(60 + i, 320, 240));
    const QString paireDossier = env.Dossier(QStringLiteral("Paire"));
    const QImage photo = PhotoSynthetique(80, 320, 240);
    EcritJpeg(paireDossier + QStringLiteral("/original.jpg"), photo);
    EcritJpeg(paireDossier + QStringLiteral("/copie.jpg"), photo, 50);
    const auto lot = Ouvre(lotDossier);
    const auto paire = Ouvre(paireDossier);
    QList<TBilanRecherche> fins;
    QHash<TDestination*, int> avancees;
    QObject::connect(&session, &TSession::TacheTerminee,
                     [&](const TBilanRecherche& bilan) { fins << bilan; });
    QObject::connect(&session, &TSession::DestinationAvancee, [&](TDestination* d) { ++avancees[d]; });

    {
        const TOccupation occupation(session.Occupe);
        const TBilanRecherche tenue = session.FinTache();
        EXPECT_EQ(tenue.ADemarrer, -1);
        EXPECT_EQ(tenue.AFaire, 13);
    }
    session.RechercheAutorisee = false;
    EXPECT_EQ(session.FinTache().ADemarrer, -1);
    EXPECT_TRUE(session.TacheRecherche.isNull());
    EXPECT_FALSE(lot->EnTraitement);
    EXPECT_EQ(session.Occupe.load(), 0);

    session.RechercheAutorisee = true;
    const TBilanRecherche bilan = session.FinTache();
    EXPECT_EQ(bilan.ADemarrer, 1);
    EXPECT_FALSE(bilan.Comparaison);
    EXPECT_TRUE(lot->EnTraitement);
    ASSERT_FALSE(session.TacheRecherche.isNull());
    EXPECT_EQ(session.TacheRecherche->DestinationTraitee, lot);
    ASSERT_TRUE(AttendQue([&] { return fins.size() == 2 && session.TacheRecherche.isNull(); }, 60000));
    EXPECT_EQ(fins[0].ADemarrer, 2);
    EXPECT_EQ(fins[1].ADemarrer, -1);
    EXPECT_EQ(fins[1].Signatures, 13);
    EXPECT_EQ(fins[1].AFaire, 0);
    EXPECT_EQ(fins[1].Doublons, 1);
    EXPECT_EQ(session.Occupe.load(), 0);
    EXPECT_FALSE(lot->EnTraitement);
    EXPECT_FALSE(paire->EnTraitement);
    // The tenth signature and each end redraw the tile.
    EXPECT_EQ(avancees.value(lot.get()), 2);
    EXPECT_EQ(avancees.value(paire.get()), 1);
    EXPECT_EQ(lot->NbSauvees, 11);
    EXPECT_EQ(Stockees(lotDossier), 11);
    EXPECT_EQ(paire->NbSauvees, 0);
    EXPECT_EQ(Stockees(paireDossier), -1);

    // Closing while a task runs: its end starts nothing more.
    EcritJpeg(lotDossier + QStringLiteral("/nouvelle.jpg"), PhotoSynthetique(90, 320, 240));
    EcritJpeg(paireDossier + QStringLiteral("/nouvelle.jpg"), PhotoSynthetique(91, 320, 240));
    lot->AjouteATraiter(lotDossier + QStringLiteral("/nouvelle.jpg"));
    paire->AjouteATraiter(paireDossier + QStringLiteral("/nouvelle.jpg"));
    EXPECT_EQ(session.FinTache().ADemarrer, 1);
    session.RechercheAutorisee = false;
    ASSERT_TRUE(AttendQue([&] { return fins.size() == 3 && session.TacheRecherche.isNull(); }, 60000));
    EXPECT_EQ(fins[2].ADemarrer, -1);
    EXPECT_EQ(fins[2].AFaire, 1);
    EXPECT_EQ(paire->Comptes().ATraiter, 1);
}

// The search modes of every destination but the trash, the running task stopped first; entering
// GENERAL makes the comparison of a destination's signatures the next task, whose end drops the
// mark; a mark the store's folder cannot keep names the folder.
TEST_F(RechercheSessionTest, LesModesPourToutesSaufLaCorbeille) {
    const auto signee = Ouvre(env.Dossier(QStringLiteral("Signee")));
    signee->AjouteSignature(std::make_shared<Tminiature>(), {});
    const auto vide = Ouvre(env.Dossier(QStringLiteral("Vide")));
    const TDestination& corbeille = *Destinations().Element(0);
    const bool corbeilleLocale = corbeille.RechercheLocale, corbeilleGenerale = corbeille.RechercheGenerale;
    const auto modes = [&] {
        QStringList liste;
        for (int i = 1; i < Destinations().Count(); ++i)
            liste << QStringLiteral("%1%2")
                         .arg(Destinations().Element(i)->RechercheLocale)
                         .arg(Destinations().Element(i)->RechercheGenerale);
        return liste;
    };

    auto* tache = new TRechercheSimulee(session.Occupe);
    session.TacheRecherche = tache;
    tache->start();
    EXPECT_TRUE(session.ChangeModeRecherche(true, true).isEmpty());
    EXPECT_TRUE(tache->wait(5000));
    delete tache;
    EXPECT_EQ(modes(), (QStringList{"11", "11"}));
    EXPECT_TRUE(signee->ComparaisonEnAttente);
    EXPECT_TRUE(QFile::exists(FichierComparaison(*signee)));
    EXPECT_FALSE(vide->ComparaisonEnAttente);
    const TBilanRecherche comparaison = session.FinTache();
    EXPECT_EQ(comparaison.ADemarrer, 1);
    EXPECT_TRUE(comparaison.Comparaison);
    ASSERT_TRUE(Cherche());
    EXPECT_FALSE(signee->ComparaisonEnAttente);
    EXPECT_FALSE(signee->EnTraitement);
    EXPECT_FALSE(QFile::exists(FichierComparaison(*signee)));

    EXPECT_TRUE(session.ChangeModeRecherche(true, false).isEmpty());
    EXPECT_EQ(modes(), (QStringList{"10", "10"}));
    EXPECT_TRUE(session.ChangeModeRecherche(false, false).isEmpty());
    EXPECT_EQ(modes(), (QStringList{"00", "00"}));
    EXPECT_EQ(corbeille.RechercheLocale, corbeilleLocale);
    EXPECT_EQ(corbeille.RechercheGenerale, corbeilleGenerale);

    MagasinBloque(true);
    EXPECT_EQ(session.ChangeModeRecherche(true, true), QStringList{signee->Chemin});
    EXPECT_EQ(modes(), (QStringList{"11", "11"}));
    // The comparison still happens in this run.
    EXPECT_TRUE(signee->ComparaisonEnAttente);
    MagasinBloque(false);
}

// The review holds the search while it is open, without the pairs whose files are gone; the
// signature manager opens once the search has ended and the stores are written, a store that
// cannot be written told once before it; a duplicate list is erased only once confirmed.
TEST_F(RechercheSessionTest, RevoirGererEtEffacerLesDoublons) {
    const QString dossier = env.Dossier(QStringLiteral("Photos"));
    const QImage photo = PhotoSynthetique(11, 640, 480);
    EcritJpeg(dossier + QStringLiteral("/original.jpg"), photo);
    EcritJpeg(dossier + QStringLiteral("/copie.jpg"), photo, 50);
    EcritJpeg(dossier + QStringLiteral("/petite.jpg"), photo.scaled(320, 240));
    const auto d = Ouvre(dossier);
    const auto sans = Ouvre(env.Dossier(QStringLiteral("Sans")));
    ASSERT_TRUE(Cherche());
    ASSERT_EQ(d->Comptes().Doublons, 3);
    // Three signatures: not yet written at the task's end.
    ASSERT_EQ(Stockees(dossier), -1);
    ASSERT_TRUE(QFile::remove(dossier + QStringLiteral("/petite.jpg")));

    auto* tache = new TRechercheSimulee(session.Occupe);
    tache->Libre = false;
    // Whatever the outcome, the stand-in may end before the session waits for it.
    const auto libere = qScopeGuard([suivie = QPointer<TRechercheSimulee>(tache)] {
        if (suivie) suivie->Libre = true;
    });
    session.TacheRecherche = tache;
    tache->start();
    ASSERT_TRUE(AttendQue([&] { return session.Occupe.load() == 1; }, 5000));
    std::shared_ptr<TDestination> tenue;
    QStringList montrees;
    int occupeRevue = -1;
    EXPECT_TRUE(session.RevoitDoublons(*d, [&](const std::shared_ptr<TDestination>& revue) {
        tenue = revue;
        montrees = revue->CopieDoublons();
        occupeRevue = session.Occupe.load();
    }));
    EXPECT_EQ(tenue, d);
    ASSERT_EQ(montrees.size(), 1);
    EXPECT_FALSE(montrees[0].contains(QStringLiteral("petite")));
    EXPECT_EQ(occupeRevue, 2);
    EXPECT_TRUE(tache->isInterruptionRequested());
    EXPECT_EQ(session.Occupe.load(), 1);
    bool ouverte = false;
    EXPECT_FALSE(
        session.RevoitDoublons(*sans, [&](const std::shared_ptr<TDestination>&) { ouverte = true; }));
    EXPECT_FALSE(ouverte);

    tache->Libre = true;
    EXPECT_TRUE(tache->wait(5000));
    delete tache;

    // A task that has not been asked to stop yet: the manager waits for its end.
    auto* enCours = new TRechercheSimulee(session.Occupe);
    session.TacheRecherche = enCours;
    enCours->start();
    ASSERT_TRUE(AttendQue([&] { return session.Occupe.load() == 1; }, 5000));
    int occupeGestion = -1;
    bool rechercheFinie = false;
    EXPECT_TRUE(session
                    .GereSignatures([&] {
                        occupeGestion = session.Occupe.load();
                        rechercheFinie = enCours->isFinished();
                    })
                    .isEmpty());
    delete enCours;
    EXPECT_EQ(occupeGestion, 1);
    EXPECT_TRUE(rechercheFinie);
    EXPECT_EQ(session.Occupe.load(), 0);
    const qsizetype signatures = d->Comptes().Signatures;
    EXPECT_EQ(Stockees(dossier), signatures);
    EXPECT_EQ(d->NbSauvees, signatures);
    EXPECT_TRUE(utilisateur.Erreurs.isEmpty());
    MagasinBloque(true);
    qsizetype erreursDedans = -1;
    EXPECT_TRUE(
        session.GereSignatures([&] { erreursDedans = utilisateur.Erreurs.size(); }).contains(d->Chemin));
    EXPECT_EQ(erreursDedans, 1);
    ASSERT_EQ(utilisateur.Erreurs.size(), 1);
    EXPECT_TRUE(utilisateur.Erreurs[0].contains(d->Chemin));
    MagasinBloque(false);

    QStringList questions;
    bool accord = false;
    utilisateur.OkAnnuler = [&](const QString& question) {
        questions << question;
        return accord;
    };
    EXPECT_FALSE(session.EffaceDoublons(1));
    EXPECT_EQ(d->Comptes().Doublons, 1);
    EXPECT_FALSE(session.EffaceDoublons(Destinations().Count()));
    accord = true;
    EXPECT_TRUE(session.EffaceDoublons(1));
    EXPECT_EQ(d->Comptes().Doublons, 0);
    EXPECT_EQ(d->Comptes().Signatures, signatures);
    EXPECT_EQ(questions,
              (QStringList(2, QStringLiteral("Etes-vous sur de vouloir effacer la liste des images "
                                             "en double de la destination 'Photos'"))));
}

// A copy of the image shown, signed in a destination, is found and named; a lower threshold or the
// destination made the source folder, seen by the check the tick makes, leaves none; nothing shown,
// none at once.
TEST_F(RechercheSessionTest, LesCopiesDeLaCourante) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QImage photo = PhotoSynthetique(31, 800, 600);
    EcritJpeg(vacances + QStringLiteral("/plage.jpg"), photo);
    const QString ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    EcritJpeg(ailleurs + QStringLiteral("/autre.jpg"), PhotoSynthetique(32, 800, 600));
    const QString courante = env.Source + QStringLiteral("/a-moitie.jpg");
    EcritJpeg(courante, photo.scaled(400, 300));
    const auto d = Ouvre(vacances);
    Ouvre(ailleurs);
    ASSERT_TRUE(Cherche());
    int reponses = 0;
    QObject::connect(&session, &TSession::CopiesTrouvees, [&] { ++reponses; });
    const auto copies = [&] {
        QStringList liste;
        for (const TCopieConnue& copie : session.CopiesDeLaCourante)
            liste << copie.Destination->Titre + u':' + QFileInfo(copie.Fichier).fileName();
        return liste;
    };

    const QByteArray chemin = QFile::encodeName(courante);
    const TImageDecodee image = DecodeImage(chemin, QSize(1024, 768));
    ASSERT_TRUE(image.Lisible);
    session.ChercheCopiesDeLaCourante(image, chemin);
    ASSERT_TRUE(AttendQue([&] { return reponses == 1; }, 10000));
    EXPECT_EQ(copies(), QStringList{"Vacances:plage.jpg"});
    ASSERT_FALSE(session.CopiesDeLaCourante.empty());
    EXPECT_EQ(session.CopiesDeLaCourante[0].Destination, d);

    session.Configuration()->Sensibilite = 0;
    session.VerifieCopiesDeLaCourante();
    ASSERT_TRUE(AttendQue([&] { return reponses == 2; }, 10000));
    EXPECT_TRUE(copies().isEmpty());
    session.Configuration()->Sensibilite = 150000;
    d->Active = false;
    session.VerifieCopiesDeLaCourante();
    ASSERT_TRUE(AttendQue([&] { return reponses == 3; }, 10000));
    EXPECT_TRUE(copies().isEmpty());
    d->Active = true;
    session.VerifieCopiesDeLaCourante();
    ASSERT_TRUE(AttendQue([&] { return reponses == 4; }, 10000));
    EXPECT_EQ(copies(), QStringList{"Vacances:plage.jpg"});

    session.ChercheCopiesDeLaCourante(TImageDecodee(), QByteArray());
    EXPECT_EQ(reponses, 5);
    EXPECT_TRUE(copies().isEmpty());
}
