#include "environnement.h"
#include "source/positionsource.h"
#include "source/sourceliste.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Contenu(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

} // namespace

// Any name's bytes come back as they were written, and the file stays text: one line a key, an
// ordinary name readable as it stands.
TEST(PositionSource, EcriteEtRelueOctetPourOctet) {
    EnvironnementTest env;
    const QString fichier = env.Programme + QStringLiteral("/Mirasolve.ini.position");
    EXPECT_EQ(PositionSource::FichierPres(env.Programme + QStringLiteral("/Mirasolve.ini")), fichier);
    for (const QByteArray& nom :
         {QByteArray("IMG 0001.jpg"), QByteArray("\xC3\x89t\xC3\xA9 100%.jpg"),
          QByteArray("\xE9t\xE9 1990.jpg"), QByteArray("a\r\nb\x7F.jpg"), QByteArray()}) {
        const TPositionSource ecrite{QByteArray("/photos/\xE9t\xE9"), nom};
        ASSERT_TRUE(PositionSource::Ecrit(fichier, ecrite));
        const std::optional<TPositionSource> lue = PositionSource::Lit(fichier);
        ASSERT_TRUE(lue.has_value()) << Contenu(fichier).constData();
        EXPECT_EQ(lue->Dossier, ecrite.Dossier);
        EXPECT_EQ(lue->Fichier, nom);
        EXPECT_EQ(Contenu(fichier).count("\r\n"), 2);
        EXPECT_FALSE(Contenu(fichier).contains('\xE9'));
    }
    ASSERT_TRUE(PositionSource::Ecrit(fichier, {"/photos", "IMG 0001.jpg"}));
    EXPECT_EQ(Contenu(fichier), QByteArray("Dossier=/photos\r\nFichier=IMG 0001.jpg\r\n"));

    // Larger than any position: not read.
    EcritFichier(QFile::encodeName(fichier), "Dossier=/photos\r\nFichier=" + QByteArray(70000, 'a') + "\r\n");
    EXPECT_FALSE(PositionSource::Lit(fichier).has_value());
    EXPECT_FALSE(PositionSource::Lit(env.Programme + QStringLiteral("/absent.position")).has_value());
    // A file that cannot be replaced: said so.
    const QString dossier = env.Dossier(QStringLiteral("programme/bloque.position"));
    EXPECT_FALSE(PositionSource::Ecrit(dossier, {"/photos", "a.jpg"}));
}

// The list goes to the named file only in the same folder and while it holds it, whatever order it
// is sorted in; otherwise it is left as it was.
TEST(PositionSource, PlaceeParSonNomDansLeMemeDossier) {
    EnvironnementTest env;
    for (const char* nom : {"c.jpg", "A.gif", "b.bmp"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    TListeDestinations aucune;
    TSourceListe liste;
    liste.ChargeDossier(env.Source, aucune);
    liste.Trie(TriNom);
    liste.IndexAffiche = 2;
    liste.IndexDemande = 2;
    const TPositionSource position = PositionSource::Releve(liste);
    EXPECT_EQ(position.Dossier, QFile::encodeName(env.Source));
    EXPECT_EQ(position.Fichier, QByteArray("c.jpg"));

    // Scanned again and sorted by size (A.gif, c.jpg, b.bmp): the name is found, not the index.
    liste.ChargeDossier(env.Source, aucune);
    liste.Trie(TriTaille);
    liste.CouranteRetiree = true;
    ASSERT_TRUE(PositionSource::Place(liste, position));
    EXPECT_EQ(liste.IndexAffiche, 1);
    EXPECT_EQ(liste.Fichiers.Element(liste.IndexAffiche)->Nom, QByteArray("c.jpg"));
    EXPECT_EQ(liste.IndexDemande, liste.IndexAffiche);
    EXPECT_FALSE(liste.CouranteRetiree);

    // Another folder, a file gone, no file: nothing moves.
    liste.IndexAffiche = liste.IndexDemande = 1;
    for (const TPositionSource& ailleurs :
         {TPositionSource{"/ailleurs", "c.jpg"}, TPositionSource{position.Dossier, "parti.jpg"},
          TPositionSource{position.Dossier, ""}}) {
        EXPECT_FALSE(PositionSource::Place(liste, ailleurs));
        EXPECT_EQ(liste.IndexAffiche, 1);
        EXPECT_EQ(liste.IndexDemande, 1);
    }

    // One past the end after a filing: the last file; an empty list: no file.
    liste.IndexAffiche = liste.Fichiers.Count();
    EXPECT_EQ(PositionSource::Releve(liste).Fichier, liste.Fichiers.Element(liste.Fichiers.Count() - 1)->Nom);
    TSourceListe vide;
    vide.ChargeDossier(env.Dossier(QStringLiteral("vide")), aucune);
    EXPECT_TRUE(PositionSource::Releve(vide).Fichier.isEmpty());
}

struct CasPositionAbimee {
    const char* fixture;
};

void PrintTo(const CasPositionAbimee& cas, std::ostream* flux) {
    *flux << cas.fixture;
}

class PositionAbimeeTest : public testing::TestWithParam<CasPositionAbimee> {};

// A damaged position file is not read: the source starts as it would without one.
TEST_P(PositionAbimeeTest, Ignoree) {
    const QString fixture =
        QStringLiteral(MIRASOLVE_FIXTURES_DIR "/position/") + QLatin1String(GetParam().fixture);
    ASSERT_TRUE(QFile::exists(fixture));
    EXPECT_FALSE(PositionSource::Lit(fixture).has_value());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PositionAbimeeTest,
                         testing::Values(CasPositionAbimee{"position-without-file-line.position"},
                                         CasPositionAbimee{"position-without-folder-line.position"},
                                         CasPositionAbimee{"position-folder-empty.position"},
                                         CasPositionAbimee{"position-key-twice.position"},
                                         CasPositionAbimee{"position-unknown-line.position"},
                                         CasPositionAbimee{"position-escape-cut.position"},
                                         CasPositionAbimee{"position-escape-not-hex.position"},
                                         CasPositionAbimee{"position-raw-control-byte.position"},
                                         CasPositionAbimee{"position-name-with-folder.position"},
                                         CasPositionAbimee{"position-name-with-escaped-separator.position"},
                                         CasPositionAbimee{"position-utf-16.position"},
                                         CasPositionAbimee{"position-random-bytes.position"}));
