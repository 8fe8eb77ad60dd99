#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "environnement.h"
#include "photo.h"
#include "photoheif.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <atomic>
#include <cstdlib>
#include <utility>

#include <gtest/gtest.h>

namespace {

// The default duplicate threshold.
constexpr int32_t SeuilParDefaut = 150000;

class DecodageHeifTest : public testing::Test {
protected:
    QByteArray Ecrit(const QString& nom, const QByteArray& contenu) {
        EXPECT_FALSE(contenu.isEmpty()) << qPrintable(nom);
        const QByteArray chemin = QFile::encodeName(env.Racine() + u'/' + nom);
        EcritFichier(chemin, contenu);
        return chemin;
    }
    EnvironnementTest env;
};

// The signature of the whole picture as the display decodes it.
Tminiature SignatureEntiere(const QByteArray& chemin) {
    Tminiature miniature;
    const TImageDecodee image = DecodeImage(chemin, QSize());
    EXPECT_TRUE(image.Lisible) << chemin.constData();
    if (image.Lisible) {
        miniature.CalculeGrille(image.Image, image.Naturelle);
        miniature.Proportion = static_cast<double>(image.Naturelle.width()) / image.Naturelle.height();
    }
    return miniature;
}

Tminiature Signature(const QByteArray& chemin) {
    Tminiature miniature;
    EXPECT_EQ(miniature.CalculeOctets(chemin), ResultatCalcul::Calculee) << chemin.constData();
    return miniature;
}

} // namespace

// HEVC and AV1 files, and 10-bit HEVC, are read whole at their size, as 8-bit RGB32 close to what
// was written, and the
// display of a reduced screen still gets a picture covering it; a HEIC named .jpg is read by its
// content.
TEST_F(DecodageHeifTest, HeicEtAvifLusASaTaille) {
    const QImage photo = PhotoSynthetique(3, 320, 240);
    for (const auto& [av1, bits] : {std::pair{false, 8}, std::pair{true, 8}, std::pair{false, 10}}) {
        TOptionsHeif options;
        options.Av1 = av1;
        options.Bits = bits;
        options.Qualite = 90;
        const QByteArray octets = OctetsHeif(photo, options);
        for (const QString& nom :
             {QStringLiteral("photo.heic"), QStringLiteral("photo.avif"), QStringLiteral("renommee.jpg")}) {
            const QByteArray chemin = Ecrit(nom, octets);
            const TImageDecodee image = DecodeImage(chemin, QSize());
            ASSERT_TRUE(image.Lisible) << av1 << bits << qPrintable(nom);
            EXPECT_EQ(image.Naturelle, QSize(320, 240));
            EXPECT_EQ(image.Image.format(), QImage::Format_RGB32);
            EXPECT_EQ(image.Orientation, 1);
            EXPECT_LT(EcartMoyen(image.Image, photo), 8.0) << av1;

            const TImageDecodee reduite = DecodeImage(chemin, {160, 100});
            ASSERT_TRUE(reduite.Lisible);
            EXPECT_EQ(reduite.Naturelle, QSize(320, 240));
            EXPECT_GE(reduite.Image.width(), 134);
            EXPECT_GE(reduite.Image.height(), 100);
        }
    }
}

// The signature of a HEIC with a stored thumbnail is taken from the thumbnail, stays as close to
// the whole picture's as the JPEG reduced decode does, pairs the HEIC with a JPEG of the same
// photo at the default threshold, and not with another photo.
TEST_F(DecodageHeifTest, SignatureParLaVignette) {
    const QImage photo = PhotoSynthetique(11, 1600, 1200);
    TOptionsHeif avecVignette;
    avecVignette.Vignette = 320;
    const QByteArray heic = Ecrit(QStringLiteral("photo.heic"), OctetsHeif(photo, avecVignette));
    const QByteArray jpeg = Ecrit(QStringLiteral("photo.jpg"), Jpeg(photo));
    const QByteArray autre =
        Ecrit(QStringLiteral("autre.heic"), OctetsHeif(PhotoSynthetique(12, 1600, 1200), avecVignette));

    const TImageDecodee pourSignature = DecodeImagePourSignature(heic);
    ASSERT_TRUE(pourSignature.Lisible);
    EXPECT_EQ(pourSignature.Naturelle, QSize(1600, 1200));
    EXPECT_LE(pourSignature.Image.width(), 320);
    EXPECT_GE(pourSignature.Image.height(), 100);
    EXPECT_EQ(pourSignature.Image.format(), QImage::Format_RGB32);

    // The thumbnail's grid departs from the whole picture's by about one grey level a cell (the
    // JPEG reduced decode by half of one), a thousandth of the threshold: far under what separates
    // two photos.
    const int32_t ecartVignette = Ecart(Signature(heic), SignatureEntiere(heic));
    const int32_t ecartJpegReduit = Ecart(Signature(jpeg), SignatureEntiere(jpeg));
    EXPECT_LT(ecartVignette, SeuilParDefaut / 1000);
    EXPECT_LT(ecartJpegReduit, SeuilParDefaut / 1000);
    EXPECT_LT(100 * ecartVignette, Ecart(Signature(autre), Signature(heic)));

    EXPECT_TRUE(EstDoublon(Dissemblance(Signature(heic), Signature(jpeg)), SeuilParDefaut));
    EXPECT_FALSE(EstDoublon(Dissemblance(Signature(autre), Signature(jpeg)), SeuilParDefaut));
}

// The display is handed the thumbnail first, at the picture's natural size, then the whole
// picture; without a thumbnail, only the whole one.
TEST_F(DecodageHeifTest, VignetteEbaucheDeLAffichage) {
    const QImage photo = PhotoSynthetique(5, 800, 600);
    TOptionsHeif avecVignette;
    avecVignette.Vignette = 160;
    for (const bool vignette : {true, false}) {
        const QByteArray chemin =
            Ecrit(QStringLiteral("photo.heic"), OctetsHeif(photo, vignette ? avecVignette : TOptionsHeif{}));
        std::vector<TImageDecodee> ebauches;
        const TImageDecodee image = DecodeImage(chemin, {1920, 1080}, nullptr,
                                                [&](const TImageDecodee& e) { ebauches.push_back(e); });
        ASSERT_TRUE(image.Lisible);
        EXPECT_EQ(image.Image.size(), QSize(800, 600));
        ASSERT_EQ(ebauches.size(), vignette ? 1u : 0u);
        if (vignette) {
            EXPECT_TRUE(ebauches[0].Lisible);
            EXPECT_EQ(ebauches[0].Naturelle, QSize(800, 600));
            EXPECT_EQ(ebauches[0].Image.size(), QSize(160, 120));
        }
    }
}

// The file's own rotation is part of the picture: shown upright, signed as shown, Orientation 1.
TEST_F(DecodageHeifTest, RotationDuFichierAppliquee) {
    // Stored: red on the left, blue on the right. Turned a quarter clockwise, red is on top.
    QImage stockee(256, 128, QImage::Format_RGB32);
    stockee.fill(Qt::blue);
    QPainter(&stockee).fillRect(0, 0, 128, 128, Qt::red);
    TOptionsHeif tournee;
    tournee.Orientation = 6;
    tournee.Qualite = 90;
    const QByteArray chemin = Ecrit(QStringLiteral("tournee.heic"), OctetsHeif(stockee, tournee));
    for (const TImageDecodee& image : {DecodeImage(chemin, QSize()), DecodeImagePourSignature(chemin)}) {
        ASSERT_TRUE(image.Lisible);
        EXPECT_EQ(image.Naturelle, QSize(128, 256));
        EXPECT_EQ(image.Image.size(), QSize(128, 256));
        EXPECT_EQ(image.Orientation, 1);
        EXPECT_GT(qRed(image.Image.pixel(64, 32)), 200);
        EXPECT_GT(qBlue(image.Image.pixel(64, 224)), 200);
    }
}

// A picture with alpha is shown with its transparency, and signed without it.
TEST_F(DecodageHeifTest, TransparenceEnArgb32) {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(qRgba(0, 160, 0, 255));
    {
        QPainter peintre(&image);
        peintre.setCompositionMode(QPainter::CompositionMode_Source);
        peintre.fillRect(0, 0, 64, 128, Qt::transparent);
    }
    TOptionsHeif alpha;
    alpha.Alpha = true;
    alpha.Qualite = 90;
    const QByteArray chemin = Ecrit(QStringLiteral("alpha.heic"), OctetsHeif(image, alpha));
    const TImageDecodee vue = DecodeImage(chemin, QSize());
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.format(), QImage::Format_ARGB32);
    EXPECT_LT(qAlpha(vue.Image.pixel(16, 64)), 30);
    EXPECT_GT(qAlpha(vue.Image.pixel(112, 64)), 225);
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Image.format(), QImage::Format_RGB32);
}

// A file whose colours are stored multiplied by their alpha shows them as they were painted.
TEST_F(DecodageHeifTest, TransparencePremultiplieeRendueASesCouleurs) {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(qRgba(40, 200, 120, 128));
    TOptionsHeif options;
    options.Alpha = true;
    options.Premultipliee = true;
    options.Qualite = 95;
    const TImageDecodee vue =
        DecodeImage(Ecrit(QStringLiteral("premultipliee.heic"), OctetsHeif(image, options)), QSize());
    ASSERT_TRUE(vue.Lisible);
    const QRgb pixel = vue.Image.pixel(64, 64);
    EXPECT_NEAR(qAlpha(pixel), 128, 6);
    EXPECT_NEAR(qRed(pixel), 40, 10);
    EXPECT_NEAR(qGreen(pixel), 200, 10);
    EXPECT_NEAR(qBlue(pixel), 120, 10);
}

// A decode asked to stop gives up, neither read nor unreadable, before it starts or once it has
// started; a file that is gone is inaccessible.
TEST_F(DecodageHeifTest, ArretEtFichierAbsent) {
    TOptionsHeif avecVignette;
    avecVignette.Vignette = 160;
    const QByteArray chemin =
        Ecrit(QStringLiteral("photo.heic"), OctetsHeif(PhotoSynthetique(2, 640, 480), avecVignette));
    std::atomic<bool> arret{true};
    for (const TImageDecodee& image :
         {DecodeImage(chemin, {800, 600}, &arret), DecodeImagePourSignature(chemin, &arret)}) {
        EXPECT_TRUE(image.Abandonne);
        EXPECT_FALSE(image.Lisible);
        EXPECT_TRUE(image.Image.isNull());
    }
    // A stop asked while the thumbnail is shown: the whole picture's data is not read.
    std::atomic<bool> arretEnCours{false};
    int ebauches = 0;
    const TImageDecodee arretee = DecodeImage(chemin, {800, 600}, &arretEnCours, [&](const TImageDecodee&) {
        ++ebauches;
        arretEnCours = true;
    });
    EXPECT_EQ(ebauches, 1);
    EXPECT_TRUE(arretee.Abandonne);
    EXPECT_FALSE(arretee.Lisible);

    const TImageDecodee absent =
        DecodeImage(QFile::encodeName(env.Racine() + QStringLiteral("/absente.heic")), QSize());
    EXPECT_TRUE(absent.Inaccessible);
    EXPECT_FALSE(absent.Lisible);
}
