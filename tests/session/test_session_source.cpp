#include "config/fenetresimulee.h"
#include "core/app/chemins.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/corbeille.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/miniature.h"
#include "core/duplicates/revue.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "enregistrement.h"
#include "environnement.h"
#include "questionstest.h"
#include "recherchesimulee.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// Changing the source, renaming a destination's files, emptying the trash, deleting from the
// duplicate review and opening or saving a configuration, as operations of the session with no
// window: what each returns, and what it leaves on the disk, in the lists, the levels and the undo
// record.
namespace {

class SessionSourceTest : public testing::Test {
protected:
    void SetUp() override {
        session.CreeDonnees();
        session.DossierProgramme = env.Programme;
        session.Questions = &utilisateur;
        env.Dossier(QStringLiteral("programme/Signatures"));
        corbeille = env.Dossier(QStringLiteral("programme/Corbeille"));
        album = env.Dossier(QStringLiteral("album"));
        for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
            EcritImage(env.Source + u'/' + QLatin1String(nom));
        Tconfiguration& configuration = Config();
        configuration.Questions = &utilisateur;
        configuration.ContexteDestinations.Questions = &utilisateur;
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        destination = Ouvre(album, QStringLiteral("Album"));
        configuration.ChangeSource(env.Source);
        Source().Trie(TriNom);
    }
    ~SessionSourceTest() override {
        if (session.Configuration())
            Config().ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }

    Tconfiguration& Config() { return *session.Configuration(); }
    TSourceListe& Source() { return *session.ListeSource(); }
    const TJournalAnnulation& Journal() { return Config().Annulations; }
    std::shared_ptr<TDestination> Ouvre(const QString& dossier, const QString& titre) {
        auto d = std::make_shared<TDestination>(&Config().ContexteDestinations);
        d->Charge(dossier, titre);
        Config().Destinations.Ajoute(d->Titre, d);
        session.ListeGroupe()->Ajoute(*d);
        return d;
    }
    QStringList Listes() {
        QStringList noms;
        for (int i = 0; i < Source().Fichiers.Count(); ++i)
            noms << QFile::decodeName(Source().Fichiers.Element(i)->Nom);
        return noms;
    }
    QStringList Titres() {
        QStringList titres;
        for (int i = 0; i < Config().Destinations.Count(); ++i)
            titres << Config().Destinations.Element(i)->Titre;
        return titres;
    }
    static QStringList Noms(const QString& dossier) {
        return QDir(dossier).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    QString A(const char* nom) const { return album + u'/' + QLatin1String(nom); }
    // A search task that runs until asked to stop (and, unless libre, let go), counted in the busy
    // counter.
    TRechercheSimulee* LanceRecherche(bool libre) {
        auto* tache = new TRechercheSimulee(session.Occupe);
        tache->Libre = libre;
        session.TacheRecherche = tache;
        tache->start();
        EXPECT_TRUE(AttendQue([&] { return session.Occupe.load() == 1; }, 5000));
        return tache;
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TSession session;
    QString corbeille, album;
    std::shared_ptr<TDestination> destination;
};

TEST_F(SessionSourceTest, SourceTrieeRafraichieOuPriseDUneDestination) {
    const QString photos = env.Dossier(QStringLiteral("photos"));
    for (const char* nom : {"z.jpg", "m.gif", "a.bmp"})
        EcritImage(photos + u'/' + QLatin1String(nom));
    TRechercheSimulee* tache = LanceRecherche(false);
    // One final separator is dropped; the files in name order, the first current.
    const TResultatSource nouvelle = session.ChangeSource(photos + u'/');
    EXPECT_TRUE(tache->isInterruptionRequested());
    tache->Libre = true;
    EXPECT_TRUE(tache->wait(5000));
    delete tache;
    EXPECT_TRUE(nouvelle.Chargee);
    EXPECT_EQ(nouvelle.Dossier, photos);
    EXPECT_EQ(nouvelle.Nombre, 3);
    EXPECT_EQ(nouvelle.IndexAffiche, 0);
    EXPECT_FALSE(nouvelle.Gardee);
    EXPECT_EQ(Listes(), (QStringList{"a.bmp", "m.gif", "z.jpg"}));

    // Scanned again: the files added since are listed, the current one stays current.
    Source().IndexAffiche = Source().IndexDemande = 1;
    EcritImage(photos + QStringLiteral("/0.jpg"));
    EcritImage(photos + QStringLiteral("/b.jpg"));
    TResultatSource rafraichie = session.Rafraichit();
    EXPECT_TRUE(rafraichie.Gardee);
    EXPECT_EQ(rafraichie.Nombre, 5);
    EXPECT_EQ(rafraichie.IndexAffiche, 3);
    EXPECT_EQ(Listes(), (QStringList{"0.jpg", "a.bmp", "b.jpg", "m.gif", "z.jpg"}));
    // Gone since: the first file.
    ASSERT_TRUE(QFile::remove(photos + QStringLiteral("/m.gif")));
    rafraichie = session.Rafraichit();
    EXPECT_FALSE(rafraichie.Gardee);
    EXPECT_EQ(rafraichie.IndexAffiche, 0);
    EXPECT_EQ(rafraichie.Nombre, 4);

    // A destination's folder as the source: it receives nothing while it is.
    EcritImage(A("x.jpg"));
    const TResultatSource prise = session.DestinationCommeSource(1);
    EXPECT_TRUE(prise.Chargee);
    EXPECT_EQ(prise.Dossier, album);
    EXPECT_EQ(Listes(), QStringList{"x.jpg"});
    EXPECT_FALSE(destination->Active);
    for (const int index : {-1, 2})
        EXPECT_FALSE(session.DestinationCommeSource(index).Chargee);
    EXPECT_EQ(Config().SourcePath, album);
    session.ChangeSource(photos);
    EXPECT_TRUE(destination->Active);

    // The chooser opens on the source, or on the default folder once the source has gone.
    EXPECT_EQ(session.SourceAProposer(), photos);
    ASSERT_TRUE(QDir(photos).removeRecursively());
    EXPECT_EQ(session.SourceAProposer(), Chemins::DossierParDefaut());
    EXPECT_EQ(Config().SourcePath, Chemins::DossierParDefaut());
}

TEST_F(SessionSourceTest, RenommerSuitLeJournalEtGardeLesNomsQuiEchouent) {
    // Two files filed as one command: the undo record names them in the album.
    ASSERT_EQ(session.Classe(*destination, false, QList<int>{0, 1}).Classes.size(), 2);
    ASSERT_EQ(Noms(album), (QStringList{"a.jpg", "b.jpg"}));
    TRechercheSimulee* tache = LanceRecherche(true);
    QStringList questions;
    const auto oui = [&](const QString& question) {
        questions << question;
        return true;
    };
    const TRenommageDestination renomme = session.RenommeDestination(1, QStringLiteral("Ete"), oui);
    // The search had ended before the names were asked about.
    EXPECT_TRUE(tache->isFinished());
    delete tache;
    EXPECT_TRUE(renomme.Fait);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("Ete0.jpg … Ete1.jpg, 2 fichiers")));
    EXPECT_TRUE(renomme.Detail.Echecs.isEmpty() && renomme.Message.isEmpty());
    EXPECT_EQ(Noms(album), (QStringList{"Ete0.jpg", "Ete1.jpg"}));

    // "Annuler": nothing moves.
    EXPECT_FALSE(
        session.RenommeDestination(1, QStringLiteral("Non"), [](const QString&) { return false; }).Fait);
    EXPECT_EQ(Noms(album), (QStringList{"Ete0.jpg", "Ete1.jpg"}));

    // A new name taken by a file the album does not know: that file keeps its name, said once.
    EcritImage(A("X1.jpg"));
    const TRenommageDestination echec = session.RenommeDestination(1, QStringLiteral("X"), oui);
    ASSERT_EQ(echec.Detail.Echecs.size(), 1);
    EXPECT_TRUE(echec.Message.startsWith(QStringLiteral("Ces fichiers ont gardé leur nom :\n")));
    EXPECT_TRUE(echec.Message.contains(A("Ete1.jpg")));
    EXPECT_EQ(Noms(album), (QStringList{"Ete1.jpg", "X0.jpg", "X1.jpg"}));
    QStringList connus = destination->FichiersConnus();
    connus.sort();
    EXPECT_EQ(connus, (QStringList{A("Ete1.jpg"), A("X0.jpg")}));

    // Undo finds both, the renamed one and the one that kept its name.
    const TResultatAnnulation annule = session.Annule();
    EXPECT_TRUE(annule.Detail.Echec.isEmpty()) << annule.Detail.Echec.toStdString();
    EXPECT_EQ(Noms(album), QStringList{"X1.jpg"});
    EXPECT_EQ(Listes(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_TRUE(Journal().EstVide());
}

TEST_F(SessionSourceTest, ViderLaCorbeillePerdLesEtapesDeSesFichiers) {
    Source().IndexAffiche = 0;
    ASSERT_EQ(session.Classe(*Config().Destinations.Element(0), false, std::nullopt).Classes.size(), 1);
    EcritImage(corbeille + QStringLiteral("/vieux.jpg"));
    const QString protege = corbeille + QStringLiteral("/protege.jpg");
    EcritImage(protege);
    ASSERT_TRUE(QFile::setPermissions(protege, QFile::ReadOwner | QFile::ReadUser));
    ASSERT_TRUE(QDir().mkpath(corbeille + QStringLiteral("/dossier")));
    QStringList questions;
    utilisateur.OuiNonTout = [&](const QString& question) {
        questions << question;
        return ReponseOuiNonTout::Non;
    };
    const TResultatCorbeille videe = session.VideCorbeille();
    // The read-only file is asked about, and stays on "&Non"; the folder stays.
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(protege));
    EXPECT_TRUE(videe.Echecs.isEmpty());
    EXPECT_EQ(Noms(corbeille), (QStringList{"dossier", "protege.jpg"}));
    // The step of the file filed into the trash went with it, and is told.
    EXPECT_EQ(videe.EtapesPerdues, 1);
    EXPECT_EQ(videe.Message, MessageEtapesPerdues(1));
    EXPECT_TRUE(Journal().EstVide());
    EXPECT_FALSE(session.Annule().Annulee);
    EXPECT_EQ(Listes(), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));

    // "&Tout": deleted; nothing lost, nothing to tell.
    utilisateur.OuiNonTout = [](const QString&) { return ReponseOuiNonTout::Tout; };
    const TResultatCorbeille encore = session.VideCorbeille();
    EXPECT_EQ(encore.EtapesPerdues, 0);
    EXPECT_TRUE(encore.Message.isEmpty());
    EXPECT_EQ(Noms(corbeille), QStringList{"dossier"});
}

TEST_F(SessionSourceTest, EffacerDeLaRevue) {
    for (const char* nom : {"p1.jpg", "p2.jpg", "p3.jpg"})
        EcritImage(A(nom));
    const QString autre = env.Dossier(QStringLiteral("autre")), q = autre + QStringLiteral("/q.jpg");
    EcritImage(q);
    const std::shared_ptr<TDestination> ailleurs = Ouvre(autre, QStringLiteral("Autre"));
    const auto ligne = [](int d, const QString& a, const QString& b) {
        return QStringLiteral("%1*%2*%3*").arg(d, 10, 10, QChar(u'0')).arg(a, b);
    };
    const QString l12 = ligne(1, A("p1.jpg"), A("p2.jpg")), l13 = ligne(2, A("p1.jpg"), A("p3.jpg"));
    const QString l23 = ligne(3, A("p2.jpg"), A("p3.jpg")), lq = ligne(4, q, A("p2.jpg"));
    const auto signe = [](TDestination& d, const QString& fichier, const QStringList& lignes) {
        auto signature = std::make_shared<Tminiature>();
        signature->Fichier = fichier;
        d.AjouteSignature(signature, lignes);
    };
    signe(*destination, A("p1.jpg"), {l12, l13, l23});
    signe(*destination, A("p2.jpg"), {});
    signe(*destination, A("p3.jpg"), {});
    signe(*ailleurs, q, {lq});
    ASSERT_EQ(destination->CopieDoublons(), (QStringList{l12, l13, l23}));

    // No trash folder: the image stays with its pairs and its signature, said once; nothing recorded.
    ASSERT_TRUE(QDir(corbeille).removeRecursively());
    const TResultatEffacement echec = session.EffaceDeLaRevue({LitPaire(l12)}, false, true);
    EXPECT_TRUE(echec.Effacees.isEmpty());
    ASSERT_EQ(echec.Echecs.size(), 1);
    EXPECT_TRUE(echec.Message.startsWith(
        QStringLiteral("Ces images n'ont pas pu être mises dans la corbeille :\n« %1 » : ")
            .arg(A("p2.jpg"))));
    EXPECT_EQ(Noms(album), (QStringList{"p1.jpg", "p2.jpg", "p3.jpg"}));
    EXPECT_EQ(destination->CopieDoublons(), (QStringList{l12, l13, l23}));
    EXPECT_EQ(ailleurs->CopieDoublons(), QStringList{lq});
    EXPECT_EQ(destination->Comptes().Signatures, 3);
    EXPECT_TRUE(Journal().EstVide());

    // Image 2 of two rows: the second row lost its pair with the first deletion, so its image 2
    // stays. Every destination forgets the image; one command of the undo record takes it back.
    ASSERT_TRUE(QDir().mkpath(corbeille));
    const TResultatEffacement deux = session.EffaceDeLaRevue({LitPaire(l12), LitPaire(l23)}, false, true);
    EXPECT_EQ(deux.Effacees, QStringList{A("p2.jpg")});
    EXPECT_TRUE(deux.Echecs.isEmpty() && deux.Message.isEmpty());
    EXPECT_EQ(Noms(album), (QStringList{"p1.jpg", "p3.jpg"}));
    EXPECT_EQ(Noms(corbeille), QStringList{"p2.jpg"});
    EXPECT_EQ(destination->CopieDoublons(), QStringList{l13});
    EXPECT_EQ(destination->Comptes().Signatures, 2);
    EXPECT_TRUE(ailleurs->CopieDoublons().isEmpty());
    EXPECT_EQ(Journal().Nombre(), 1);
    EXPECT_EQ(session.Occupe.load(), 0);
    EXPECT_TRUE(session.Annule().Annulee);
    EXPECT_EQ(Noms(album), (QStringList{"p1.jpg", "p2.jpg", "p3.jpg"}));
    EXPECT_TRUE(Noms(corbeille).isEmpty());
    EXPECT_TRUE(destination->FichiersConnus().contains(A("p2.jpg")));
}

TEST_F(SessionSourceTest, OuvrirEtSauverUneConfiguration) {
    FenetreSimulee fenetre;
    fenetre.normales = QRect(10, 20, 800, 600);
    const QString dossier = env.Dossier(QStringLiteral("configurations"));
    // The default file's name is refused, in any folder; another name is written, with the
    // window's bounds.
    const TResultatConfiguration refus =
        session.SauveConfiguration(dossier + QStringLiteral("/Mirasolve.ini"), fenetre);
    EXPECT_TRUE(refus.Refusee);
    EXPECT_FALSE(refus.Fait);
    EXPECT_EQ(refus.Message, QStringLiteral("Ce nom de fichier correspond au fichier de configuration par "
                                            "défaut. Changez le pour pouvoir sauvegarder."));
    EXPECT_FALSE(QFile::exists(dossier + QStringLiteral("/Mirasolve.ini")));
    const QString sauve = dossier + QStringLiteral("/album.ini");
    const TResultatConfiguration sauvee = session.SauveConfiguration(sauve, fenetre);
    EXPECT_TRUE(sauvee.Fait);
    EXPECT_TRUE(sauvee.Message.isEmpty());
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(sauve, lignes));
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowWidth=800")));
    EXPECT_TRUE(lignes.contains(album));
    const QString absent = env.Racine() + QStringLiteral("/absent/x.ini");
    const TResultatConfiguration impossible = session.SauveConfiguration(absent, fenetre);
    EXPECT_FALSE(impossible.Fait);
    EXPECT_EQ(impossible.Message,
              QStringLiteral("Impossible d'écrire le fichier de configuration « %1 ».").arg(absent));

    // A file that cannot be read to its end, and the default file: nothing changes.
    const QString abime = dossier + QStringLiteral("/abime.ini");
    ASSERT_TRUE(TexteFichier::Ecrit(
        abime, {QStringLiteral("DestinationCount=1"), "X", env.Dossier("X"), "pas un nombre"}));
    const TListeGroupe* niveauxAvant = session.ListeGroupe();
    const TResultatConfiguration illisible = session.OuvreConfiguration(abime, fenetre);
    EXPECT_FALSE(illisible.Fait);
    EXPECT_TRUE(illisible.Erreur);
    EXPECT_TRUE(illisible.Message.contains(QStringLiteral("à la ligne 4. Rien n'a changé.")));
    const TResultatConfiguration defaut =
        session.OuvreConfiguration(env.Programme + QStringLiteral("/Mirasolve.ini"), fenetre);
    EXPECT_TRUE(defaut.Refusee);
    EXPECT_FALSE(defaut.Erreur);
    EXPECT_EQ(defaut.Message,
              QStringLiteral("Vous ne pouvez pas ouvrir le fichier de configuration par défaut."));
    EXPECT_EQ(Titres(), (QStringList{"Corbeille", "Album"}));
    EXPECT_EQ(session.ListeGroupe(), niveauxAvant);
    EXPECT_EQ(session.ListeGroupe()->Groupe(0)->NbTuiles, 2);

    // Another file: the album closes asking nothing, the file's destinations in new levels.
    const QString autre = dossier + QStringLiteral("/autre.ini");
    ASSERT_TRUE(TexteFichier::Ecrit(autre, QStringList{QStringLiteral("DestinationCount=2")}
                                               << Enregistrement("C", env.Dossier("C"))
                                               << Enregistrement("D", env.Dossier("D"))));
    QStringList questions;
    utilisateur.Confirmation = [&](const QString& question) {
        questions << question;
        return ReponseConfirmation::Non;
    };
    Source().IndexAffiche = Source().IndexDemande = 2;
    const TResultatConfiguration ouverte = session.OuvreConfiguration(autre, fenetre);
    EXPECT_TRUE(ouverte.Fait);
    EXPECT_TRUE(ouverte.Message.isEmpty());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(Titres(), (QStringList{"Corbeille", "C", "D"}));
    // The levels made anew, with the trash and the file's two destinations.
    EXPECT_NE(session.ListeGroupe(), niveauxAvant);
    EXPECT_EQ(Config().ListeGroupe, session.ListeGroupe());
    EXPECT_EQ(session.ListeGroupe()->Groupe(0)->NbTuiles, 3);
    EXPECT_EQ(Config().ContexteDestinations.ReponseMemorisee, ReponseConfirmation::Non);
    EXPECT_EQ(session.Occupe.load(), 0);
    // The source scanned again.
    EXPECT_TRUE(ouverte.Source.Chargee);
    EXPECT_EQ(ouverte.Source.Dossier, Config().SourcePath);
    EXPECT_EQ(ouverte.Source.Nombre, Source().Fichiers.Count());
}

} // namespace
