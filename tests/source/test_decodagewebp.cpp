#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "core/source/orientation.h"
#include "decodagetest.h"
#include "environnement.h"
#include "photo.h"
#include "photowebp.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A photo with a red square in its top-left corner, so that a turn is seen.
QImage PhotoMarquee(int graine, int largeur, int hauteur) {
    QImage image = PhotoSynthetique(graine, largeur, hauteur, 20);
    QPainter(&image).fillRect(0, 0, largeur / 5, hauteur / 5, Qt::red);
    return image;
}

bool Rouge(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

Tminiature Signature(const QByteArray& chemin) {
    Tminiature m;
    EXPECT_EQ(m.CalculeOctets(chemin), ResultatCalcul::Calculee) << chemin.constData();
    return m;
}

// The default duplicate threshold.
constexpr int32_t Sensibilite = 150000;

} // namespace

class DecodageWebpTest : public DossierDecodageTest {};

TEST(OrientationBlocExif, AvecOuSansEnTeteEtBlocsAbimes) {
    for (const bool prefixe : {false, true}) {
        const QByteArray bloc = BlocExif(6, prefixe);
        const auto* o = reinterpret_cast<const uchar*>(bloc.constData());
        EXPECT_EQ(OrientationBlocExif(o, bloc.size()), 6);
        // Cut inside its one entry: nothing is read past the end.
        EXPECT_EQ(OrientationBlocExif(o, bloc.size() - 8), 1);
    }
    EXPECT_EQ(OrientationBlocExif(nullptr, 0), 1);
    const QByteArray faux("Exif\0\0XX\0*\0\0\0\x08", 14);
    EXPECT_EQ(OrientationBlocExif(reinterpret_cast<const uchar*>(faux.constData()), faux.size()), 1);
}

// Lossy and lossless files: natural size, a display decoded at the screen's size and the same
// picture as the whole decode, alpha shown for the display and left out of the signature.
TEST_F(DecodageWebpTest, WebpAvecEtSansPerteReduitEtTransparent) {
    const QImage photo = PhotoMarquee(1, 1600, 1200);
    for (const bool sansPerte : {false, true}) {
        SCOPED_TRACE(sansPerte);
        const QByteArray chemin = Ecrit(sansPerte ? QStringLiteral("l.webp") : QStringLiteral("p.webp"),
                                        WebpPhoto(photo, sansPerte, 90));
        const TImageDecodee vue = DecodeImage(chemin, QSize(400, 300));
        ASSERT_TRUE(vue.Lisible);
        EXPECT_EQ(vue.Naturelle, QSize(1600, 1200));
        EXPECT_EQ(vue.Image.size(), QSize(400, 300));
        EXPECT_EQ(vue.Image.format(), QImage::Format_RGB32);
        const TImageDecodee entiere = DecodeImage(chemin, QSize(4000, 4000));
        ASSERT_EQ(entiere.Image.size(), QSize(1600, 1200));
        const QImage reduite =
            entiere.Image.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (const QPoint p : {QPoint(20, 20), QPoint(200, 150), QPoint(390, 290)}) {
            EXPECT_NEAR(qRed(vue.Image.pixel(p)), qRed(reduite.pixel(p)), 30);
            EXPECT_NEAR(qGreen(vue.Image.pixel(p)), qGreen(reduite.pixel(p)), 30);
        }
        EXPECT_TRUE(Rouge(vue.Image.pixel(20, 20)));
        const TImageDecodee signature = DecodeImagePourSignature(chemin);
        ASSERT_TRUE(signature.Lisible);
        EXPECT_EQ(signature.Naturelle, QSize(1600, 1200));
        EXPECT_EQ(signature.Image.height(), 100);
        EXPECT_GE(signature.Image.width(), 133);
        EXPECT_LE(signature.Image.width(), 134);
    }

    QImage transparente = PhotoMarquee(2, 120, 80).convertToFormat(QImage::Format_ARGB32);
    for (int x = 60; x < 120; ++x)
        for (int y = 40; y < 80; ++y)
            transparente.setPixel(x, y, qRgba(0, 0, 255, 0));
    for (const bool sansPerte : {false, true}) {
        SCOPED_TRACE(sansPerte);
        const QByteArray chemin =
            Ecrit(QStringLiteral("alpha%1.webp").arg(sansPerte), WebpPhoto(transparente, sansPerte));
        const TImageDecodee vue = DecodeImage(chemin, QSize(1000, 1000));
        ASSERT_TRUE(vue.Lisible);
        EXPECT_EQ(vue.Image.format(), QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(vue.Image.pixel(100, 70)), 0);
        EXPECT_EQ(qAlpha(vue.Image.pixel(10, 10)), 255);
        const TImageDecodee signature = DecodeImagePourSignature(chemin);
        ASSERT_TRUE(signature.Lisible);
        EXPECT_EQ(signature.Image.format(), QImage::Format_RGB32);
        EXPECT_EQ(qAlpha(signature.Image.pixel(100, 70)), 255);
    }
}

// An Exif block with orientation 6: shown upright, reduced to a screen the turned picture fits,
// signed as stored.
TEST_F(DecodageWebpTest, WebpTourneSelonSonBlocExif) {
    const QByteArray chemin = Ecrit(QStringLiteral("tournee.webp"),
                                    WebpAvecExif(WebpPhoto(PhotoMarquee(3, 300, 200), false, 90), 6));
    const TImageDecodee vue = DecodeImage(chemin, QSize(1000, 1000));
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Orientation, 6);
    EXPECT_EQ(vue.Naturelle, QSize(200, 300));
    ASSERT_EQ(vue.Image.size(), QSize(200, 300));
    // The stored top-left corner comes to the top right.
    EXPECT_TRUE(Rouge(vue.Image.pixel(190, 10)));
    EXPECT_FALSE(Rouge(vue.Image.pixel(10, 10)));
    const TImageDecodee reduite = DecodeImage(chemin, QSize(100, 150));
    EXPECT_EQ(reduite.Image.size(), QSize(100, 150));
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Naturelle, QSize(300, 200));
    EXPECT_EQ(signature.Orientation, 1);
    EXPECT_TRUE(Rouge(signature.Image.pixel(5, 5)));
}

// An animation shows its first frame: over the whole canvas, or placed in it at an offset.
TEST_F(DecodageWebpTest, WebpAnimeeDonneSonPremierCadre) {
    QImage rouge(64, 48, QImage::Format_RGB32), bleu(64, 48, QImage::Format_RGB32);
    rouge.fill(Qt::red);
    bleu.fill(Qt::blue);
    const QByteArray deux =
        WebpAnime({{WebpPhoto(rouge, true), 0, 0}, {WebpPhoto(bleu, true), 0, 0}}, 64, 48);
    const TImageDecodee vue = DecodeImage(Ecrit(QStringLiteral("anime.webp"), deux), QSize(1000, 1000));
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Naturelle, QSize(64, 48));
    EXPECT_TRUE(Rouge(vue.Image.pixel(32, 24)));

    QImage petit(20, 10, QImage::Format_RGB32);
    petit.fill(Qt::red);
    const QByteArray place =
        WebpAnime({{WebpPhoto(petit, true), 10, 20}, {WebpPhoto(bleu, true), 0, 0}}, 64, 48);
    const QByteArray chemin = Ecrit(QStringLiteral("place.webp"), place);
    const TImageDecodee decalee = DecodeImage(chemin, QSize(1000, 1000));
    ASSERT_TRUE(decalee.Lisible);
    EXPECT_EQ(decalee.Naturelle, QSize(64, 48));
    EXPECT_TRUE(Rouge(decalee.Image.pixel(15, 25)));
    EXPECT_EQ(qAlpha(decalee.Image.pixel(2, 2)), 0);
    EXPECT_EQ(DecodeImagePourSignature(chemin).Naturelle, QSize(64, 48));
}

// The reduced decode of a signature stays as close to the whole decode's as the JPEG path's does
// (below 1500 for 95 photos in 100), and a WebP or PNG pairs with a JPEG copy at the default
// threshold while different photos do not.
TEST_F(DecodageWebpTest, SignaturesProchesDuDecodageEntierEtDUneCopieJpeg) {
    std::vector<int32_t> ecarts;
    std::vector<Tminiature> webps, jpegs;
    for (int i = 0; i < 20; ++i) {
        const int largeur = 600 + 97 * (i % 7), hauteur = 400 + 61 * (i % 5);
        const QImage photo = PhotoSynthetique(100 + i, i % 2 ? largeur : hauteur, i % 2 ? hauteur : largeur);
        const QByteArray webp = Ecrit(QStringLiteral("w%1.webp").arg(i), WebpPhoto(photo, i % 4 == 3, 80));
        webps.push_back(Signature(webp));
        ecarts.push_back(Dissemblance(webps.back(), SignaturePleine(webp)));
        jpegs.push_back(Signature(Ecrit(QStringLiteral("w%1.jpg").arg(i), Jpeg(photo))));
        EXPECT_TRUE(EstDoublon(Dissemblance(webps.back(), jpegs.back()), Sensibilite)) << i;
        if (i % 5 == 0) {
            const Tminiature png = Signature(Ecrit(QStringLiteral("p%1.png").arg(i), PngPhoto(photo)));
            EXPECT_TRUE(EstDoublon(Dissemblance(png, jpegs.back()), Sensibilite)) << i;
        }
    }
    for (size_t i = 1; i < webps.size(); ++i)
        EXPECT_FALSE(EstDoublon(Dissemblance(webps[i], jpegs[i - 1]), Sensibilite)) << i;
    const auto sous1500 = std::count_if(ecarts.begin(), ecarts.end(), [](int32_t d) { return d < 1500; });
    EXPECT_GE(sous1500 * 100, 95 * static_cast<qsizetype>(ecarts.size()));
}

// PNG: 16 bits a channel, a palette with a transparent entry, an Exif chunk, an animation's
// default picture.
TEST_F(DecodageWebpTest, PngSeizeBitsPaletteExifEtAnimation) {
    QImage seize(40, 30, QImage::Format_RGBX64);
    seize.fill(QColor::fromRgba64(qRgba64(65535, 32768, 0, 65535)));
    const TImageDecodee profond =
        DecodeImage(Ecrit(QStringLiteral("seize.png"), PngPhoto(seize)), {1000, 1000});
    ASSERT_TRUE(profond.Lisible);
    EXPECT_EQ(profond.Image.format(), QImage::Format_RGB32);
    EXPECT_EQ(qRed(profond.Image.pixel(5, 5)), 255);
    EXPECT_NEAR(qGreen(profond.Image.pixel(5, 5)), 128, 1);

    QImage palette(40, 30, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(0, 200, 0), qRgba(0, 0, 255, 0)});
    palette.fill(0);
    for (int x = 20; x < 40; ++x)
        palette.setPixel(x, 3, 1);
    const QByteArray chemin = Ecrit(QStringLiteral("palette.png"), PngPhoto(palette));
    const TImageDecodee vue = DecodeImage(chemin, {1000, 1000});
    ASSERT_TRUE(vue.Lisible);
    EXPECT_EQ(vue.Image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(vue.Image.pixel(25, 3)), 0);
    EXPECT_EQ(vue.Image.pixel(5, 5), qRgb(0, 200, 0));
    const TImageDecodee signature = DecodeImagePourSignature(chemin);
    ASSERT_TRUE(signature.Lisible);
    EXPECT_EQ(signature.Image.format(), QImage::Format_RGB32);
    EXPECT_EQ(signature.Image.pixel(25, 3), qRgb(0, 0, 255));

    const QByteArray tournee =
        Ecrit(QStringLiteral("tournee.png"), PngAvecExif(PngPhoto(PhotoMarquee(4, 300, 200)), 6));
    const TImageDecodee droite = DecodeImage(tournee, {1000, 1000});
    ASSERT_TRUE(droite.Lisible);
    EXPECT_EQ(droite.Orientation, 6);
    EXPECT_EQ(droite.Naturelle, QSize(200, 300));
    EXPECT_TRUE(Rouge(droite.Image.pixel(190, 10)));
    const TImageDecodee stockee = DecodeImagePourSignature(tournee);
    EXPECT_EQ(stockee.Naturelle, QSize(300, 200));
    EXPECT_TRUE(Rouge(stockee.Image.pixel(5, 5)));

    // An animated PNG: its control chunks before the picture data, a second frame after it.
    QImage rouge(32, 32, QImage::Format_RGB32);
    rouge.fill(Qt::red);
    const QByteArray png = PngPhoto(rouge);
    constexpr qsizetype FinEntete = 8 + 25;
    QByteArray actl, fctl(26, '\0'), fdat(40, '\x55');
    actl = QByteArray("\0\0\0\x02\0\0\0\0", 8);
    fctl[7] = 32, fctl[11] = 32;
    const qsizetype fin = png.size() - 12; // the end chunk
    const QByteArray apng = png.left(FinEntete) + ChunkPng("acTL", actl) + ChunkPng("fcTL", fctl) +
                            png.mid(FinEntete, fin - FinEntete) + ChunkPng("fcTL", fctl) +
                            ChunkPng("fdAT", fdat) + png.mid(fin);
    const TImageDecodee premier = DecodeImage(Ecrit(QStringLiteral("anime.png"), apng), {1000, 1000});
    ASSERT_TRUE(premier.Lisible);
    EXPECT_TRUE(Rouge(premier.Image.pixel(16, 16)));
}

// Read by content whatever the name says; a stop asked gives up.
TEST_F(DecodageWebpTest, LuParSonContenuEtArretable) {
    const QImage photo = PhotoSynthetique(5, 1200, 900);
    const QByteArray png = Ecrit(QStringLiteral("capture.jpg"), PngPhoto(photo));
    const QByteArray webp = Ecrit(QStringLiteral("web.png"), WebpPhoto(photo, false));
    const std::atomic<bool> arret{true}, libre{false};
    for (const QByteArray& chemin : {png, webp}) {
        SCOPED_TRACE(chemin.constData());
        const TImageDecodee image = DecodeImage(chemin, {2000, 2000}, &libre);
        ASSERT_TRUE(image.Lisible);
        EXPECT_EQ(image.Naturelle, QSize(1200, 900));
        for (const TImageDecodee& abandonnee :
             {DecodeImagePourSignature(chemin, &arret), DecodeImage(chemin, {800, 600}, &arret)}) {
            EXPECT_TRUE(abandonnee.Abandonne);
            EXPECT_FALSE(abandonnee.Lisible);
            EXPECT_FALSE(abandonnee.Inaccessible);
        }
    }
}
