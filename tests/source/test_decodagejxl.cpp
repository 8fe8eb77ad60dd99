#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "core/source/orientation.h"
#include "decodagetest.h"
#include "environnement.h"
#include "photo.h"
#include "photojxl.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The largest difference of one channel between two pictures of the same size.
int EcartMaximal(const QImage& a, const QImage& b) {
    int ecart = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            ecart = std::max({ecart, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return ecart;
}

// Each pas x pas block of the picture (fewer at the right and bottom edges) averaged, rounded.
QImage MoyennesDesBlocs(const QImage& image, int pas) {
    QImage moyennes((image.width() + pas - 1) / pas, (image.height() + pas - 1) / pas, QImage::Format_RGB32);
    for (int by = 0; by < moyennes.height(); ++by)
        for (int bx = 0; bx < moyennes.width(); ++bx) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int y = by * pas; y < std::min(image.height(), (by + 1) * pas); ++y)
                for (int x = bx * pas; x < std::min(image.width(), (bx + 1) * pas); ++x, ++n) {
                    r += qRed(image.pixel(x, y));
                    g += qGreen(image.pixel(x, y));
                    b += qBlue(image.pixel(x, y));
                }
            moyennes.setPixel(bx, by, qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
        }
    return moyennes;
}

} // namespace

class DecodageJxlTest : public testing::Test {
protected:
    QByteArray Ecrit(const QString& nom, const QByteArray& contenu) {
        EXPECT_FALSE(contenu.isEmpty()) << nom.toStdString();
        const QByteArray chemin = QFile::encodeName(env.Racine() + u'/' + nom);
        EcritFichier(chemin, contenu);
        return chemin;
    }
    EnvironnementTest env;
};

// Lossless files, so that every pixel can be checked: the display gets the whole picture turned
// as the file says, the signature the stored picture, as the averages of its blocks once the
// picture is large enough.
TEST_F(DecodageJxlTest, TaillesOrientationEtPixels) {
    const struct {
        const char* nom;
        QSize taille;
        int orientation;
        bool conteneur;
        int pas; // one pixel out of pas kept for the signature
    } cas[] = {
        {"un-pixel.jxl", {1, 1}, 1, false, 1},           {"impair.jxl", {7, 5}, 1, true, 1},
        {"tourne-6.jxl", {48, 32}, 6, false, 1},         {"tourne-3.jxl", {37, 21}, 3, true, 1},
        {"tourne-8-grand.jxl", {420, 310}, 8, false, 2},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const QImage stockee = PhotoSynthetique(c.taille.width(), c.taille.width(), c.taille.height(), 8);
        const QByteArray chemin = Ecrit(
            QString::fromLatin1(c.nom),
            JxlPhoto(stockee, {.Orientation = c.orientation, .SansPerte = true, .Conteneur = c.conteneur}));
        const TImageDecodee vue = DecodeImage(chemin, {1920, 1080});
        ASSERT_TRUE(vue.Lisible);
        EXPECT_EQ(vue.Orientation, c.orientation);
        const QImage droite = Oriente(stockee, c.orientation);
        EXPECT_EQ(vue.Naturelle, droite.size());
        EXPECT_EQ(vue.Image.format(), QImage::Format_RGB32);
        ASSERT_EQ(vue.Image.size(), droite.size());
        EXPECT_EQ(EcartMaximal(vue.Image, droite), 0);

        const TImageDecodee signature = DecodeImagePourSignature(chemin);
        ASSERT_TRUE(signature.Lisible);
        EXPECT_EQ(signature.Orientation, 1);
        EXPECT_EQ(signature.Naturelle, c.taille);
        const QSize reduite((c.taille.width() + c.pas - 1) / c.pas, (c.taille.height() + c.pas - 1) / c.pas);
        ASSERT_EQ(signature.Image.size(), reduite);
        EXPECT_EQ(EcartMaximal(signature.Image, MoyennesDesBlocs(stockee, c.pas)), 0);
    }
}

// Transparency is shown as the file gives it and ignored by the signature.
TEST_F(DecodageJxlTest, TransparenceAffichee) {
    QImage image = PhotoSynthetique(4, 64, 40, 8).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgba(10, 200, 30, x * 12));
    const QByteArray chemin = Ecrit(QStringLiteral("transparente.jxl"), JxlPhoto(image, {.SansPerte = true}));
    const TImageDecodee vue = DecodeImage(chemin, {800, 600});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(EcartMaximal(vue.Image, image), 0);
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Image.format(), QImage::Format_RGB32);
    EXPECT_EQ(qAlpha(signature.Image.pixel(0, 0)), 255);
}

// Only the first frame of an animation is shown and signed; 16-bit grey comes as RGB32 grey.
TEST_F(DecodageJxlTest, PremiereImageDUneAnimationEtGris16Bits) {
    const QImage premiere = PhotoSynthetique(11, 24, 18, 4), seconde = PhotoSynthetique(12, 24, 18, 4);
    const QByteArray animation =
        Ecrit(QStringLiteral("animation.jxl"), JxlPhoto(premiere, {.SansPerte = true, .Suivante = seconde}));
    for (const TImageDecodee& image :
         {DecodeImage(animation, {800, 600}), DecodeImagePourSignature(animation)}) {
        ASSERT_TRUE(image.Lisible);
        EXPECT_EQ(image.Naturelle, QSize(24, 18));
        EXPECT_EQ(EcartMaximal(image.Image, premiere), 0);
    }

    const QImage photo = PhotoSynthetique(13, 50, 20, 6);
    const QByteArray gris =
        Ecrit(QStringLiteral("gris16.jxl"), JxlPhoto(photo, {.SansPerte = true, .Gris16 = true}));
    const TImageDecodee vue = DecodeImage(gris, {800, 600});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.format(), QImage::Format_RGB32);
    EXPECT_EQ(vue.Image.size(), QSize(50, 20));
    const QRgb p = vue.Image.pixel(25, 10);
    EXPECT_EQ(qRed(p), qGray(photo.pixel(25, 10)));
    EXPECT_EQ(qGreen(p), qRed(p));
    EXPECT_EQ(qBlue(p), qRed(p));
}

// A JPEG recompressed without loss (what the usual converter does to a .jpg) decodes to the
// JPEG's pixels, and its signature pairs with the JPEG's.
TEST_F(DecodageJxlTest, JpegRecompresseSansPerte) {
    const QByteArray jpeg = Jpeg(PhotoSynthetique(7, 96, 64, 10));
    const QByteArray chemin = Ecrit(QStringLiteral("depuis-jpeg.jxl"), JxlDeJpeg(jpeg));
    const QByteArray cheminJpeg = Ecrit(QStringLiteral("original.jpg"), jpeg);
    const TImageDecodee vue = DecodeImage(chemin, {800, 600});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Naturelle, QSize(96, 64));
    const TImageDecodee reference = DecodeImage(cheminJpeg, {800, 600});
    EXPECT_LE(EcartMaximal(vue.Image, reference.Image), 12);
    Tminiature a, b;
    ASSERT_EQ(a.CalculeOctets(chemin), ResultatCalcul::Calculee);
    ASSERT_EQ(b.CalculeOctets(cheminJpeg), ResultatCalcul::Calculee);
    EXPECT_TRUE(EstDoublon(Dissemblance(a, b), 150000)) << Dissemblance(a, b);
}

// The signature of a large file comes from its 8 x 8 averages: as close to the whole picture's as
// the JPEG reduced path is to a JPEG's, and a JXL and a JPEG copy of a photo pair at the default
// threshold while two different photos do not.
TEST_F(DecodageJxlTest, SignatureProcheDuDecodagePleinEtDUneCopieJpeg) {
    std::vector<int32_t> ecartsJxl, ecartsJpeg;
    std::vector<Tminiature> signaturesJxl;
    for (int i = 0; i < 6; ++i) {
        const bool paysage = i % 2 == 0;
        const QImage photo = PhotoSynthetique(20 + i, paysage ? 1200 : 900, paysage ? 900 : 1200);
        const QByteArray jxl =
            Ecrit(QStringLiteral("photo%1.jxl").arg(i), JxlPhoto(photo, {.Progressif = i >= 4, .Effort = 1}));
        const QByteArray jpeg = Ecrit(QStringLiteral("photo%1.jpg").arg(i), Jpeg(photo));
        const TImageDecodee reduite = DecodeImagePourSignature(jxl);
        ASSERT_TRUE(reduite.Lisible);
        EXPECT_EQ(reduite.Image.size(), QSize((photo.width() + 7) / 8, (photo.height() + 7) / 8));
        Tminiature sJxl, sJpeg;
        ASSERT_EQ(sJxl.CalculeOctets(jxl), ResultatCalcul::Calculee);
        ASSERT_EQ(sJpeg.CalculeOctets(jpeg), ResultatCalcul::Calculee);
        ecartsJxl.push_back(Dissemblance(sJxl, SignaturePleine(jxl)));
        ecartsJpeg.push_back(Dissemblance(sJpeg, SignaturePleine(jpeg)));
        EXPECT_TRUE(EstDoublon(Dissemblance(sJxl, sJpeg), 150000)) << i << ": " << Dissemblance(sJxl, sJpeg);
        signaturesJxl.push_back(sJxl);
    }
    for (size_t i = 1; i < signaturesJxl.size(); ++i)
        EXPECT_FALSE(EstDoublon(Dissemblance(signaturesJxl[i - 1], signaturesJxl[i]), 150000)) << i;
    std::sort(ecartsJxl.begin(), ecartsJxl.end());
    std::sort(ecartsJpeg.begin(), ecartsJpeg.end());
    std::printf("reduced against full signature, 6 photos: JXL median %d max %d, JPEG 1/8 median %d max %d\n",
                ecartsJxl[3], ecartsJxl.back(), ecartsJpeg[3], ecartsJpeg.back());
    EXPECT_LE(ecartsJxl[3], ecartsJpeg[3]);
    EXPECT_LE(ecartsJxl.back(), ecartsJpeg.back());
}

// A stop asked gives up, for the display and for the signature; left alone, the file decodes.
TEST_F(DecodageJxlTest, ArretDemandeAbandonne) {
    const QByteArray chemin =
        Ecrit(QStringLiteral("grande.jxl"), JxlPhoto(PhotoSynthetique(9, 1000, 800), {.Effort = 1}));
    const std::atomic<bool> arret{true}, libre{false};
    for (const TImageDecodee& abandonnee :
         {DecodeImagePourSignature(chemin, &arret), DecodeImage(chemin, {800, 600}, &arret)}) {
        EXPECT_TRUE(abandonnee.Abandonne);
        EXPECT_FALSE(abandonnee.Lisible);
        EXPECT_FALSE(abandonnee.Inaccessible);
        EXPECT_TRUE(abandonnee.Image.isNull());
    }
    EXPECT_TRUE(DecodeImagePourSignature(chemin, &libre).Lisible);
    EXPECT_TRUE(DecodeImage(chemin, {800, 600}, &libre).Lisible);
}
