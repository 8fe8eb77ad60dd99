#include "core/source/decodage.h"
#include "environnement.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

// Qt's readers get our limit once, as the program starts, before any thread decodes (this file
// comes first in its program, so that no decode has run yet); a decode never sets it again.
TEST(LimiteDecodage, FixeeAuDemarragePasParUnDecodage) {
    EXPECT_EQ(QImageReader::allocationLimit(), TailleDecodeeMaximale >> 20);
    EnvironnementTest env;
    const QString chemin = env.Racine() + QStringLiteral("/a.bmp");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(chemin, "BMP"));
    QImageReader::setAllocationLimit(300);
    EXPECT_TRUE(DecodeImage(QFile::encodeName(chemin), {800, 600}).Lisible);
    EXPECT_EQ(QImageReader::allocationLimit(), 300);
    FixeLimiteDecodage();
    EXPECT_EQ(QImageReader::allocationLimit(), TailleDecodeeMaximale >> 20);
}
