#include "config/configuration.h"
#include "destinations/annulation.h"
#include "destinations/classement.h"
#include "destinations/corbeille.h"
#include "destinations/destination.h"
#include "duplicates/revue.h"
#include "environnement.h"
#include "tools/renommage.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>

// Undo on the data alone: the steps follow the files the program moves, and undo never touches a
// file other than the one that was filed.
namespace {

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("absent");
}

// A source folder, a destination A and the trash, as the program sets them up.
class AnnulationTest : public testing::Test {
protected:
    AnnulationTest() {
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        env.Dossier(QStringLiteral("programme/Signatures"));
        corbeille = env.Dossier(QStringLiteral("programme/Corbeille"));
        album = env.Dossier(QStringLiteral("A"));
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
    }
    ~AnnulationTest() override { configuration.ContexteDestinations.ReponseMemorisee = 9; }
    // Opens A and reads the source folder, once the test's files are written.
    void Ouvre() {
        a = std::make_shared<TDestination>(&configuration.ContexteDestinations);
        a->Charge(album, QStringLiteral("A"));
        configuration.Destinations.Ajoute(a->Titre, a);
        configuration.ChangeSource(env.Source);
        source.Trie(TriNom);
    }
    TDestination& Corbeille() { return *configuration.Destinations.Element(0); }
    TJournalAnnulation& Journal() { return configuration.Annulations; }
    bool Classe(const char* nom, TDestination& d, bool copie = false) {
        for (int i = 0; i < source.Fichiers.Count(); ++i)
            if (source.Fichiers.Element(i)->Nom == nom)
                return ClasseFichier(source, i, d, copie, Journal()).Classe;
        return false;
    }
    QString Annule() { return AnnuleDernierClassement(Journal(), source).Echec; }

    EnvironnementTest env;
    TSourceListe source;
    Tconfiguration configuration{source};
    QString corbeille, album;
    std::shared_ptr<TDestination> a;
};

// The source's IMG_0001.jpg (a cup) goes to the trash; the review of A then sends A's own
// IMG_0001.jpg (a cat) and b.jpg, filed there earlier, to the trash: the cup steps aside as
// IMG_0001.jpg1. Undo brings the cup back, then b.jpg; the cat stays in the trash.
TEST_F(AnnulationTest, LesEtapesSuiventLesFichiersMisALaCorbeille) {
    EcritImage(env.Source + QStringLiteral("/IMG_0001.jpg"), 40, 30);
    EcritImage(env.Source + QStringLiteral("/b.jpg"), 20, 10);
    EcritImage(album + QStringLiteral("/IMG_0001.jpg"));
    Ouvre();
    const QByteArray tasse = Contenu(env.Source + QStringLiteral("/IMG_0001.jpg"));
    const QByteArray chat = Contenu(album + QStringLiteral("/IMG_0001.jpg"));
    const QByteArray b = Contenu(env.Source + QStringLiteral("/b.jpg"));
    ASSERT_NE(tasse, chat);
    ASSERT_TRUE(Classe("b.jpg", *a));
    ASSERT_TRUE(Classe("IMG_0001.jpg", Corbeille()));
    for (const char* nom : {"IMG_0001.jpg", "b.jpg"})
        ASSERT_TRUE(MetALaCorbeille(album + u'/' + QLatin1String(nom), corbeille, &Journal()).Reussi);
    ASSERT_EQ(Contenu(corbeille + QStringLiteral("/IMG_0001.jpg1")), tasse);

    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Contenu(env.Source + QStringLiteral("/IMG_0001.jpg")), tasse);
    EXPECT_EQ(Contenu(corbeille + QStringLiteral("/IMG_0001.jpg")), chat);
    EXPECT_FALSE(QFile::exists(corbeille + QStringLiteral("/IMG_0001.jpg1")));
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Contenu(env.Source + QStringLiteral("/b.jpg")), b);
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files), QStringList{"IMG_0001.jpg"});
    EXPECT_EQ(source.Fichiers.Count(), 2);
}

// A filed file that is gone, was changed, or whose name another file took is neither moved back
// nor deleted; each undo says what became of it, and the step leaves the record.
TEST_F(AnnulationTest, UnAutreFichierNEstNiDeplaceNiEfface) {
    for (const char* nom : {"a.jpg", "b.jpg", "c.jpg"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    Ouvre();
    ASSERT_TRUE(Classe("a.jpg", *a));
    ASSERT_TRUE(Classe("b.jpg", *a, true));
    ASSERT_TRUE(Classe("c.jpg", *a));
    const QString ca = album + QStringLiteral("/a.jpg"), cb = album + QStringLiteral("/b.jpg");
    ASSERT_TRUE(QFile::remove(album + QStringLiteral("/c.jpg")));
    // Another file takes b.jpg's name: written beside it, then renamed over it.
    EcritFichier(QFile::encodeName(cb + QStringLiteral(".neuf")), "autre");
    ASSERT_EQ(std::rename(QFile::encodeName(cb + QStringLiteral(".neuf")).constData(),
                          QFile::encodeName(cb).constData()),
              0);
    // a.jpg is changed where it is.
    QFile modifie(ca);
    ASSERT_TRUE(modifie.open(QIODevice::Append));
    modifie.write("retouche");
    modifie.close();
    const QByteArray retouche = Contenu(ca);

    EXPECT_TRUE(Annule().contains(QStringLiteral("n'existe plus")));
    const QString copie = Annule();
    EXPECT_TRUE(copie.contains(QStringLiteral("un autre fichier porte maintenant ce nom")))
        << copie.toStdString();
    EXPECT_EQ(Contenu(cb), QByteArray("autre"));
    const QString deplace = Annule();
    EXPECT_TRUE(deplace.contains(QStringLiteral("a été modifié"))) << deplace.toStdString();
    EXPECT_EQ(Contenu(ca), retouche);
    EXPECT_FALSE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 1);
    EXPECT_TRUE(Journal().EstVide());
}

// Renaming a destination's files takes the steps along: undo brings each file back under the
// name it had in the source.
TEST_F(AnnulationTest, RenommerPuisAnnuler) {
    for (const char* nom : {"a.jpg", "b.jpg"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    EcritImage(album + QStringLiteral("/x.jpg"));
    Ouvre();
    const QByteArray contenuA = Contenu(env.Source + QStringLiteral("/a.jpg"));
    ASSERT_TRUE(Classe("a.jpg", *a));
    ASSERT_TRUE(Classe("b.jpg", *a));
    const TResultatRenommage renomme =
        RenommeFichiers(*a, QStringLiteral("Ete"), configuration.Destinations, nullptr,
                        env.Programme + QStringLiteral("/Renommage.txt"));
    ASSERT_TRUE(renomme.Echecs.isEmpty());
    ASSERT_FALSE(QFile::exists(album + QStringLiteral("/a.jpg")));
    Journal().SuitRenommages(renomme.Renommages);

    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Contenu(env.Source + QStringLiteral("/a.jpg")), contenuA);
    EXPECT_TRUE(QFile::exists(env.Source + QStringLiteral("/b.jpg")));
    EXPECT_EQ(QDir(album).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(a->FichiersConnus().size(), 1);
}

// Emptying the trash takes the steps of the files it deleted, those pushed aside by the trash's
// naming rule included; a read-only file kept at the user's word keeps its step.
TEST_F(AnnulationTest, ViderLaCorbeilleEmporteLesEtapes) {
    for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    EcritImage(album + QStringLiteral("/a.jpg"));
    Ouvre();
    for (const char* nom : {"a.jpg", "b.jpg", "c.jpg"})
        ASSERT_TRUE(Classe(nom, Corbeille()));
    ASSERT_TRUE(Classe("d.jpg", *a));
    ASSERT_TRUE(MetALaCorbeille(album + QStringLiteral("/a.jpg"), corbeille, &Journal()).Reussi);
    ASSERT_TRUE(QFile::exists(corbeille + QStringLiteral("/a.jpg1")));
    ASSERT_EQ(::chmod(QFile::encodeName(corbeille + QStringLiteral("/c.jpg")).constData(), 0444), 0);

    const TVidageCorbeille vidage = VideCorbeille(
        corbeille, nullptr, [](const QString&) { return ReponseLectureSeule::Non; }, &Journal());
    EXPECT_TRUE(vidage.Echecs.isEmpty());
    EXPECT_EQ(vidage.EtapesPerdues, 2);
    ASSERT_EQ(Journal().Nombre(), 2);
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files), QStringList{"c.jpg"});
    EXPECT_TRUE(MessageEtapesPerdues(2).contains(QStringLiteral("2 classements")));
    // What is left undoes cleanly: d.jpg, then c.jpg from the trash.
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(source.Fichiers.Count(), 2);
}

} // namespace
