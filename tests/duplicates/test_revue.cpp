#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "core/duplicates/revue.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(Revue, PourcentagesDeSimilitude) {
    EXPECT_EQ(PourcentageSimilitude(0), QStringLiteral("100.00 %"));
    EXPECT_EQ(PourcentageSimilitude(150000), QStringLiteral(" 50.00 %"));
    EXPECT_EQ(PourcentageSimilitude(300000), QStringLiteral("  0.00 %"));
    EXPECT_EQ(PourcentageSimilitude(450000), QStringLiteral("  0.00 %"));
    const TPaire paire = LitPaire(QStringLiteral("0000001234*/a/b.jpg*/c/d.jpg*"));
    EXPECT_EQ(paire.Dissemblance, 1234);
    EXPECT_EQ(paire.Image1, QStringLiteral("/a/b.jpg"));
    EXPECT_EQ(paire.Image2, QStringLiteral("/c/d.jpg"));
}

TEST(Revue, LaCorbeilleGardeLesAnciensSousUnNumero) {
    EnvironnementTest env;
    const QString corbeille = env.Dossier(QStringLiteral("Corbeille"));
    const QString photos = env.Dossier(QStringLiteral("Photos"));
    EcritFichier(QFile::encodeName(corbeille + QStringLiteral("/photo.jpg")), "ancienne");
    EcritFichier(QFile::encodeName(corbeille + QStringLiteral("/photo.jpg1")), "plus ancienne");
    EcritFichier(QFile::encodeName(photos + QStringLiteral("/photo.jpg")), "effacee");
    ASSERT_TRUE(MetALaCorbeille(photos + QStringLiteral("/photo.jpg"), corbeille).Reussi);
    EXPECT_FALSE(QFile::exists(photos + QStringLiteral("/photo.jpg")));
    auto contenu = [&](const QString& nom) {
        QFile f(corbeille + u'/' + nom);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(contenu(QStringLiteral("photo.jpg")), "effacee");
    EXPECT_EQ(contenu(QStringLiteral("photo.jpg1")), "plus ancienne");
    EXPECT_EQ(contenu(QStringLiteral("photo.jpg2")), "ancienne");

    // No trash folder: the move fails and the image stays.
    EcritFichier(QFile::encodeName(photos + QStringLiteral("/reste.jpg")), "x");
    const Fichiers::Resultat echec =
        MetALaCorbeille(photos + QStringLiteral("/reste.jpg"), env.Racine() + "/absente");
    EXPECT_FALSE(echec.Reussi);
    EXPECT_FALSE(echec.Raison.isEmpty());
    EXPECT_TRUE(QFile::exists(photos + QStringLiteral("/reste.jpg")));
}

// A deleted image leaves every destination: its signatures and every line that names it, and only
// those (a path that merely begins like it stays).
TEST(Revue, UneImageEffaceeQuitteChaqueDestination) {
    TListeDestinations destinations;
    destinations.Ajoute(TitreCorbeille, std::make_shared<TDestination>());
    auto signature = [](const QString& fichier) {
        auto s = std::make_shared<Tminiature>();
        s->Fichier = fichier;
        return s;
    };
    for (const QString& dossier : {QStringLiteral("/p"), QStringLiteral("/q")}) {
        auto d = std::make_shared<TDestination>();
        d->Chemin = dossier;
        destinations.Ajoute(dossier, d);
    }
    TDestination& p = *destinations.Element(1);
    TDestination& q = *destinations.Element(2);
    p.AjouteSignature(signature(QStringLiteral("/p/b.jpg")),
                      {QStringLiteral("0000000001*/p/b.jpg*/p/a.jpg*"),
                       QStringLiteral("0000000002*/p/c.jpg*/p/b.jpg*"),
                       QStringLiteral("0000000003*/p/c.jpg*/p/b.jpg1*")});
    p.AjouteSignature(signature(QStringLiteral("/p/b.jpg1")), {});
    q.AjouteSignature(signature(QStringLiteral("/q/d.jpg")),
                      {QStringLiteral("0000000004*/q/d.jpg*/p/b.jpg*")});
    OublieImages(destinations, {QStringLiteral("/p/b.jpg")});
    EXPECT_EQ(p.CopieDoublons(), QStringList{QStringLiteral("0000000003*/p/c.jpg*/p/b.jpg1*")});
    EXPECT_EQ(p.Comptes().Signatures, 1);
    EXPECT_EQ(p.CopieSignatures().front()->Fichier, QStringLiteral("/p/b.jpg1"));
    EXPECT_TRUE(q.CopieDoublons().isEmpty());
    EXPECT_EQ(q.Comptes().Signatures, 1);
}

TEST(Revue, InventaireDuMagasin) {
    EnvironnementTest env;
    const QString dossier = env.Dossier(QStringLiteral("Signatures"));
    TMagasinSignatures magasin(dossier);
    EXPECT_TRUE(magasin.Inventaire().isEmpty());
    TListeDoublons plein(QStringLiteral("/photos/plein"));
    for (int i = 0; i < 3; ++i) {
        auto s = std::make_shared<Tminiature>();
        s->Fichier = QStringLiteral("/photos/plein/%1.jpg").arg(i);
        plein.Miniatures.push_back(s);
    }
    plein.Intraitables << QStringLiteral("/photos/plein/x.jpg");
    ASSERT_TRUE(
        magasin.Sauve(plein, {QStringLiteral("0000000001*/photos/plein/1.jpg*/photos/plein/0.jpg*"),
                              QStringLiteral("0000000002*/photos/plein/2.jpg*/photos/plein/0.jpg*")}));
    // Nothing to keep: no files, but the folder stays in the index.
    TListeDoublons vide(QStringLiteral("/photos/vide"));
    ASSERT_TRUE(magasin.Sauve(vide, {}));
    const QList<TDossierStocke> dossiers = magasin.Inventaire();
    ASSERT_EQ(dossiers.size(), 2);
    EXPECT_EQ(dossiers[0].Dossier, QStringLiteral("/photos/plein"));
    EXPECT_EQ(dossiers[0].Signatures, 3);
    EXPECT_EQ(dossiers[0].Intraitables, 1);
    EXPECT_EQ(dossiers[0].Doublons, 2);
    EXPECT_EQ(dossiers[0].Date,
              QFileInfo(dossier + u'/' + magasin.NomDeBase(QStringLiteral("/photos/plein")) + ".txt")
                  .lastModified());
    EXPECT_EQ(dossiers[1].Dossier, QStringLiteral("/photos/vide"));
    EXPECT_EQ(dossiers[1].Signatures + dossiers[1].Intraitables + dossiers[1].Doublons, 0);
    EXPECT_FALSE(dossiers[1].Date.isValid());
}
