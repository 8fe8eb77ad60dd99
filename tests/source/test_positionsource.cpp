#include "core/source/positionsource.h"
#include "environnement.h"

#include <QFile>

#include <gtest/gtest.h>

// Any name's bytes come back as they were written: UTF-8 or not, with "%" or line breaks, or none.
TEST(PositionSource, RelueOctetPourOctet) {
    EnvironnementTest env;
    const QString fichier = PositionSource::FichierPres(env.Programme + QStringLiteral("/Mirasolve.ini"));
    for (const QByteArray& nom :
         {QByteArray("\xC3\x89t\xC3\xA9 100%.jpg"), QByteArray("\xE9t\xE9\r\n.jpg"), QByteArray()}) {
        ASSERT_TRUE(PositionSource::Ecrit(fichier, {"/photos/\xE9t\xE9", nom}));
        const std::optional<TPositionSource> lue = PositionSource::Lit(fichier);
        ASSERT_TRUE(lue.has_value());
        EXPECT_EQ(lue->Dossier, QByteArray("/photos/\xE9t\xE9"));
        EXPECT_EQ(lue->Fichier, nom);
    }
}

class PositionAbimeeTest : public testing::TestWithParam<const char*> {};

// A damaged position file is not read: the source starts as it would without one.
TEST_P(PositionAbimeeTest, Ignoree) {
    const QString fixture = QStringLiteral(MIRASOLVE_FIXTURES_DIR "/position/") + QLatin1String(GetParam());
    ASSERT_TRUE(QFile::exists(fixture));
    EXPECT_FALSE(PositionSource::Lit(fixture).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PositionAbimeeTest,
    testing::Values("position-without-file-line.position", "position-without-folder-line.position",
                    "position-folder-empty.position", "position-key-twice.position",
                    "position-unknown-line.position", "position-escape-cut.position",
                    "position-escape-not-hex.position", "position-raw-control-byte.position",
                    "position-name-with-folder.position", "position-name-with-escaped-separator.position",
                    "position-utf-16.position", "position-random-bytes.position"));
