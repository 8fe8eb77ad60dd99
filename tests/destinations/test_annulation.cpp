#include "core/config/configuration.h"
#include "core/destinations/classement.h"
#include "core/destinations/corbeille.h"
#include "core/duplicates/revue.h"
#include "environnement.h"

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

// A source folder, a destination A and the trash; each image written has a size of its own.
class AnnulationTest : public testing::Test {
protected:
    void Ouvre(std::initializer_list<const char*> dansLaSource, std::initializer_list<const char*> dansA) {
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        env.Dossier(QStringLiteral("programme/Signatures"));
        env.Dossier(QStringLiteral("programme/Corbeille"));
        env.Dossier(QStringLiteral("A"));
        int taille = 8;
        for (const char* nom : dansLaSource)
            EcritImage(S(nom), taille++);
        for (const char* nom : dansA)
            EcritImage(A(nom), taille++);
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        a = std::make_shared<TDestination>(&configuration.ContexteDestinations);
        a->Charge(A(""), QStringLiteral("A"));
        configuration.Destinations.Ajoute(a->Titre, a);
        configuration.ChangeSource(env.Source);
        source.Trie(TriNom);
    }
    ~AnnulationTest() override {
        configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }
    QString S(const char* nom) const { return env.Source + u'/' + QLatin1String(nom); }
    QString A(const char* nom) const { return env.Racine() + QStringLiteral("/A/") + QLatin1String(nom); }
    QString C(const char* nom) const {
        return env.Programme + QStringLiteral("/Corbeille/") + QLatin1String(nom);
    }
    TDestination& Corbeille() { return *configuration.Destinations.Element(0); }
    bool Classe(const char* nom, TDestination& d, bool copie = false) {
        for (int i = 0; i < source.Fichiers.Count(); ++i)
            if (source.Fichiers.Element(i)->Nom == nom)
                return ClasseFichier(source, i, d, copie, configuration.Annulations).Classe;
        return false;
    }
    QString Annule() { return AnnuleDerniereCommande(configuration.Annulations, source).Echec; }

    EnvironnementTest env;
    TSourceListe source;
    Tconfiguration configuration{source};
    std::shared_ptr<TDestination> a;
};

// The source's IMG_0001.jpg (a cup) goes to the trash; the review of A then sends A's own
// IMG_0001.jpg (a cat) and b.jpg, filed there earlier, to the trash, where the cup steps aside as
// IMG_0001.jpg1. Undo brings back the cup, then b.jpg; the cat stays in the trash.
TEST_F(AnnulationTest, LesEtapesSuiventLesFichiersMisALaCorbeille) {
    Ouvre({"IMG_0001.jpg", "b.jpg"}, {"IMG_0001.jpg"});
    const QByteArray tasse = Contenu(S("IMG_0001.jpg")), chat = Contenu(A("IMG_0001.jpg")),
                     b = Contenu(S("b.jpg"));
    ASSERT_TRUE(Classe("b.jpg", *a) && Classe("IMG_0001.jpg", Corbeille()));
    for (const char* nom : {"IMG_0001.jpg", "b.jpg"})
        ASSERT_TRUE(MetALaCorbeille(A(nom), C(""), &configuration.Annulations).Reussi);
    ASSERT_EQ(Contenu(C("IMG_0001.jpg1")), tasse);

    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Contenu(S("IMG_0001.jpg")), tasse);
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Contenu(S("b.jpg")), b);
    EXPECT_EQ(Contenu(C("IMG_0001.jpg")), chat);
    EXPECT_EQ(QDir(C("")).entryList(QDir::Files), QStringList{"IMG_0001.jpg"});
}

// A filed file that is gone, was changed, or whose name another file took is neither moved back
// nor deleted; each undo says what became of it, and the step leaves the record.
TEST_F(AnnulationTest, UnAutreFichierNEstNiDeplaceNiEfface) {
    Ouvre({"a.jpg", "b.jpg", "c.jpg"}, {});
    ASSERT_TRUE(Classe("a.jpg", *a) && Classe("b.jpg", *a, true) && Classe("c.jpg", *a));
    ASSERT_TRUE(QFile::remove(A("c.jpg")));
    // Another file takes b.jpg's name: written beside it, then renamed over it.
    EcritFichier(QFile::encodeName(A("b.neuf")), "autre");
    ASSERT_EQ(
        std::rename(QFile::encodeName(A("b.neuf")).constData(), QFile::encodeName(A("b.jpg")).constData()),
        0);
    QFile retouche(A("a.jpg"));
    ASSERT_TRUE(retouche.open(QIODevice::Append) && retouche.write("retouche") > 0);
    retouche.close();

    EXPECT_TRUE(Annule().contains(QStringLiteral("n'existe plus")));
    EXPECT_TRUE(Annule().contains(QStringLiteral("un autre fichier porte maintenant ce nom")));
    EXPECT_EQ(Contenu(A("b.jpg")), QByteArray("autre"));
    EXPECT_TRUE(Annule().contains(QStringLiteral("a été modifié")));
    EXPECT_TRUE(Contenu(A("a.jpg")).endsWith("retouche"));
    EXPECT_FALSE(QFile::exists(S("a.jpg")));
    EXPECT_TRUE(configuration.Annulations.EstVide());
}

// Emptying the trash takes the steps of the files it deleted, one pushed aside by the trash's
// naming rule included; a read-only file kept at the user's word keeps its step.
TEST_F(AnnulationTest, ViderLaCorbeilleEmporteLesEtapes) {
    Ouvre({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"a.jpg"});
    ASSERT_TRUE(Classe("a.jpg", Corbeille()) && Classe("b.jpg", Corbeille()) &&
                Classe("c.jpg", Corbeille()) && Classe("d.jpg", *a));
    ASSERT_TRUE(MetALaCorbeille(A("a.jpg"), C(""), &configuration.Annulations).Reussi);
    ASSERT_EQ(::chmod(QFile::encodeName(C("c.jpg")).constData(), 0444), 0);

    const TVidageCorbeille vidage = VideCorbeille(
        C(""), nullptr, [](const QString&) { return ReponseLectureSeule::Non; }, &configuration.Annulations);
    EXPECT_EQ(vidage.EtapesPerdues, 2);
    EXPECT_EQ(QDir(C("")).entryList(QDir::Files), QStringList{"c.jpg"});
    EXPECT_TRUE(MessageEtapesPerdues(2).contains(QStringLiteral("2 fichiers")));
    // What is left undoes cleanly: d.jpg, then c.jpg from the trash.
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(Annule(), QString());
    EXPECT_EQ(source.Fichiers.Count(), 2);
}

} // namespace

// Three files filed by one command, one gone since; e.jpg filed before, by a command of its own.
// One undo brings back the two others, says what became of the third, and leaves e.jpg's step.
TEST_F(AnnulationTest, UneCommandeSAnnuleEnUneFois) {
    Ouvre({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}, {});
    ASSERT_TRUE(Classe("e.jpg", *a));
    {
        const TCommandeAnnulation commande(configuration.Annulations);
        for (const char* nom : {"d.jpg", "b.jpg", "a.jpg"})
            ASSERT_TRUE(Classe(nom, *a));
    }
    ASSERT_TRUE(QFile::remove(A("d.jpg")));
    const QString echec = Annule();
    EXPECT_TRUE(echec.contains(QStringLiteral("« d.jpg »")) &&
                echec.contains(QStringLiteral("n'existe plus")));
    EXPECT_FALSE(echec.contains(QStringLiteral("a.jpg")) || echec.contains(QStringLiteral("b.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 3);
    EXPECT_EQ(configuration.Annulations.Nombre(), 1);
}

// The review sends A's x.jpg to the trash; A is then closed and its folder opened again (as a new
// folder chosen for a destination, or a configuration opened, does). Undo puts x.jpg back, and the
// destination open on the folder now queues it; never the source list.
TEST_F(AnnulationTest, UnEffacementAnnuleRevientALaDestinationOuverteMaintenant) {
    Ouvre({}, {"x.jpg"});
    ASSERT_TRUE(
        EffaceDeLaRevue(A("x.jpg"), C(""), &configuration.Destinations, &configuration.Annulations).Reussi);
    configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    configuration.Destinations.Retire(1)->Ferme();
    auto rouverte = std::make_shared<TDestination>(&configuration.ContexteDestinations);
    rouverte->Charge(A(""), QStringLiteral("A"));
    configuration.Destinations.Ajoute(rouverte->Titre, rouverte);
    ASSERT_TRUE(rouverte->ATraiter.isEmpty());

    EXPECT_EQ(AnnuleDerniereCommande(configuration.Annulations, source, &configuration.Destinations).Echec,
              QString());
    EXPECT_TRUE(QFile::exists(A("x.jpg")));
    EXPECT_EQ(rouverte->ATraiter, QStringList{A("x.jpg")});
    EXPECT_EQ(source.Fichiers.Count(), 0);
}
