#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "decodagetest.h"
#include "environnement.h"
#include "photo.h"
#include "phototiff.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

#include <atomic>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

class DecodageTiffTest : public DossierDecodageTest {};

// A photo whose stored top-left corner is pure red, to see where it is turned to.
QImage PhotoAuCoinRouge(int graine, int largeur, int hauteur) {
    QImage image = PhotoSynthetique(graine, largeur, hauteur);
    QPainter(&image).fillRect(0, 0, largeur / 8, hauteur / 8, Qt::red);
    return image;
}

// The grey levels the writer stores.
QImage EnGris(const QImage& image) {
    QImage gris = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < gris.height(); ++y)
        for (int x = 0; x < gris.width(); ++x) {
            const int g = qGray(gris.pixel(x, y));
            gris.setPixel(x, y, qRgb(g, g, g));
        }
    return gris;
}

Tminiature Signature(const QByteArray& chemin) {
    Tminiature m;
    EXPECT_EQ(m.CalculeOctets(chemin), ResultatCalcul::Calculee) << chemin.constData();
    return m;
}

} // namespace

TEST_F(DecodageTiffTest, CouleursEtCompressions) {
    using C = TOptionsTiff::Couleurs;
    const QImage photo = PhotoSynthetique(1, 160, 120);
    struct Cas {
        const char* nom;
        TOptionsTiff options;
        QImage attendue;
        double ecartMaximal;
    };
    const Cas cas[] = {
        {"rgb.tif", {}, photo, 0},
        {"lzw.tif", {.compression = 5, .lignesParBande = 7}, photo, 0},
        {"deflate.tiff", {.compression = 8}, photo, 0},
        {"jpeg.tif", {.compression = 7, .lignesParBande = 16}, photo, 8},
        {"tuiles.tif", {.tuile = 64}, photo, 0},
        {"rgb16.tif", {.couleurs = C::Rgb16}, photo, 0},
        {"cmjn.tif", {.couleurs = C::Cmyk}, photo, 0},
        {"palette.tif",
         {.couleurs = C::Palette},
         photo.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither),
         0},
        {"gris.tif", {.couleurs = C::Gris}, EnGris(photo), 0},
    };
    for (const Cas& c : cas) {
        const QByteArray chemin = Ecrit(QString::fromLatin1(c.nom), Tiff(photo, c.options));
        const TImageDecodee image = DecodeImage(chemin, {1920, 1080});
        ASSERT_TRUE(image.Lisible) << c.nom;
        EXPECT_EQ(image.Naturelle, QSize(160, 120)) << c.nom;
        EXPECT_EQ(image.Image.format(), QImage::Format_RGB32) << c.nom;
        EXPECT_LE(EcartMoyen(image.Image, c.attendue), c.ecartMaximal) << c.nom;
    }
}

// Shown turned as the file says, signed as stored; the first page of several.
TEST_F(DecodageTiffTest, OrientationEtPremierePage) {
    const QImage photo = PhotoAuCoinRouge(2, 200, 100);
    const QByteArray chemin =
        Ecrit(QStringLiteral("o6.tif"),
              Tiff(photo, {.orientation = 6, .secondePage = PhotoSynthetique(3, 50, 50)}));
    const TImageDecodee vue = DecodeImage(chemin, {1920, 1080});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Orientation, 6);
    EXPECT_EQ(vue.Naturelle, QSize(100, 200));
    EXPECT_EQ(vue.Image.pixel(95, 2), qRgb(255, 0, 0)); // the stored top-left, turned a quarter right
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Naturelle, QSize(200, 100));
    EXPECT_EQ(signature.Image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(DecodageTiffTest, TransparenceMontreeIgnoreeParLaSignature) {
    QImage photo = PhotoSynthetique(4, 64, 64).convertToFormat(QImage::Format_ARGB32);
    QPainter peintre(&photo);
    peintre.setCompositionMode(QPainter::CompositionMode_Source);
    peintre.fillRect(0, 0, 32, 64, QColor(0, 0, 255, 0));
    peintre.fillRect(32, 0, 32, 64, QColor(0, 255, 0, 255));
    peintre.end();
    const QByteArray chemin = Ecrit(QStringLiteral("alpha.tif"), Tiff(photo, {.alpha = true}));
    const TImageDecodee vue = DecodeImage(chemin, {1920, 1080});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(vue.Image.pixel(5, 5)), 0);
    EXPECT_EQ(vue.Image.pixel(40, 5), qRgba(0, 255, 0, 255));
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_FALSE(signature.Image.hasAlphaChannel());
}

// A large picture is decoded reduced for a small screen and for the signature, which stays as close
// to the whole picture's as a reduced JPEG decode's; a reduced copy in the file is used instead.
TEST_F(DecodageTiffTest, DecodagesReduits) {
    const QImage photo = PhotoSynthetique(5, 1600, 1200);
    const QByteArray chemin = Ecrit(QStringLiteral("grande.tif"), Tiff(photo, {.compression = 5}));
    const TImageDecodee vue = DecodeImage(chemin, {400, 400});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Naturelle, QSize(1600, 1200));
    EXPECT_EQ(vue.Image.size(), QSize(400, 300));
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Image.size(), QSize(200, 150));
    Tminiature pleine;
    pleine.CalculeGrille(photo);
    pleine.Proportion = 4.0 / 3;
    EXPECT_LT(Dissemblance(Signature(chemin), pleine), 1500);

    // Marked, to tell it from the picture reduced by the decode.
    QImage reduite = photo.scaled(200, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter(&reduite).fillRect(0, 0, 10, 10, Qt::white);
    const QByteArray avecReduite = Ecrit(QStringLiteral("reduite.tif"), Tiff(photo, {.reduite = reduite}));
    const TImageDecodee rapide = DecodeImagePourSignature(avecReduite);
    ASSERT_TRUE(rapide.Lisible);
    EXPECT_EQ(rapide.Naturelle, QSize(1600, 1200));
    EXPECT_EQ(rapide.Image.size(), QSize(200, 150));
    EXPECT_EQ(rapide.Image.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_LT(EcartMoyen(rapide.Image, reduite), 0.01);
    EXPECT_EQ(DecodeImage(avecReduite, {1920, 1080}).Image.size(), QSize(1600, 1200));
}

TEST_F(DecodageTiffTest, ArreteAbandonne) {
    const std::atomic<bool> arret{true};
    const QByteArray tiff = Ecrit(QStringLiteral("a.tif"), Tiff(PhotoSynthetique(6, 300, 200)));
    const QByteArray dng = Ecrit(QStringLiteral("a.dng"), Dng(PhotoSynthetique(6, 300, 200), {96, 64}));
    for (const QByteArray& chemin : {tiff, dng}) {
        const TImageDecodee image = DecodeImagePourSignature(chemin, &arret);
        EXPECT_TRUE(image.Abandonne) << chemin.constData();
        EXPECT_FALSE(image.Lisible) << chemin.constData();
    }
}

// A camera's file shows its preview upright, with the photo's size, and signs as a JPEG of the
// same picture does.
TEST_F(DecodageTiffTest, ApercuDUnDng) {
    const QImage photo = PhotoAuCoinRouge(7, 480, 320);
    const QByteArray chemin = Ecrit(QStringLiteral("photo.dng"), Dng(photo, {96, 64}, 6));
    const TImageDecodee vue = DecodeImage(chemin, {1920, 1080});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.size(), QSize(320, 480));
    EXPECT_EQ(vue.Naturelle, QSize(64, 96));
    EXPECT_EQ(vue.Orientation, 6);
    const QRgb coin = vue.Image.pixel(315, 4);
    EXPECT_GT(qRed(coin), 200);
    EXPECT_LT(qGreen(coin), 60);
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Naturelle, QSize(96, 64));

    QByteArray jpeg;
    QBuffer tampon(&jpeg);
    tampon.open(QIODevice::WriteOnly);
    photo.save(&tampon, "JPEG", 85);
    QByteArray autre;
    QBuffer tamponAutre(&autre);
    tamponAutre.open(QIODevice::WriteOnly);
    PhotoSynthetique(8, 480, 320).save(&tamponAutre, "JPEG", 85);
    const Tminiature dng = Signature(chemin);
    EXPECT_LT(Dissemblance(dng, Signature(Ecrit(QStringLiteral("photo.jpg"), jpeg))), 150000);
    EXPECT_GE(Dissemblance(dng, Signature(Ecrit(QStringLiteral("autre.jpg"), autre))), 150000);
}

// A TIFF under a camera's extension is still shown as the picture it is.
TEST_F(DecodageTiffTest, TiffSousUneExtensionRaw) {
    const QByteArray tiff = Tiff(PhotoSynthetique(9, 120, 90), {.orientation = 3});
    for (const char* nom : {"scan.dng", "scan.nef"}) {
        const TImageDecodee image = DecodeImage(Ecrit(QString::fromLatin1(nom), tiff), {1920, 1080});
        EXPECT_TRUE(image.Lisible) << nom;
        EXPECT_EQ(image.Naturelle, QSize(120, 90)) << nom;
        EXPECT_EQ(image.Orientation, 3) << nom;
    }
}
