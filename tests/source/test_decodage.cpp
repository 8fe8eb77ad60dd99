#include "core/source/decodage.h"
#include "core/source/orientation.h"
#include "decodagetest.h"
#include "environnement.h"
#include "photo.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <atomic>
#include <limits>

#include <gif_lib.h>
#include <gtest/gtest.h>

namespace {

// A picture with detail, so that the encoders do not reduce it to almost nothing.
QImage Motif(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x + y) * 3) & 255));
    return image;
}

// A GIF of 4 colours written by the library itself: version, interlace and transparency chosen.
QByteArray Gif(const QString& chemin, int largeur, int hauteur, bool interlace, bool version89,
               int transparent = -1) {
    int erreur = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(chemin).constData(), false, &erreur);
    EXPECT_NE(gif, nullptr);
    GifColorType couleurs[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    ColorMapObject* palette = GifMakeMapObject(4, couleurs);
    EGifSetGifVersion(gif, version89);
    EGifPutScreenDesc(gif, largeur, hauteur, 2, 0, palette);
    if (transparent >= 0) {
        GraphicsControlBlock bloc{};
        bloc.TransparentColor = transparent;
        GifByteType extension[4];
        const size_t longueur = EGifGCBToExtension(&bloc, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(longueur), extension);
    }
    EGifPutImageDesc(gif, 0, 0, largeur, hauteur, interlace, nullptr);
    // Row y holds colour y % 4, whatever the order in which the rows are written.
    std::vector<GifPixelType> ligne(static_cast<size_t>(largeur));
    auto ecrit = [&](int y) {
        std::fill(ligne.begin(), ligne.end(), static_cast<GifPixelType>(y % 4));
        EGifPutLine(gif, ligne.data(), largeur);
    };
    if (interlace) {
        const int debut[] = {0, 4, 2, 1}, pas[] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int y = debut[p]; y < hauteur; y += pas[p])
                ecrit(y);
    } else {
        for (int y = 0; y < hauteur; ++y)
            ecrit(y);
    }
    EGifCloseFile(gif, &erreur);
    GifFreeMapObject(palette);
    QFile fichier(chemin);
    fichier.open(QIODevice::ReadOnly);
    const QByteArray octets = fichier.readAll();
    GardeCommeGraine(QFile::encodeName(chemin), octets);
    return octets;
}

} // namespace

class DecodageTest : public DossierDecodageTest {};

TEST_F(DecodageTest, ExtensionChoisitLeDecodeur) {
    EXPECT_EQ(DecodeurDuNom("/a/b.JPG"), Decodeur::Jpeg);
    EXPECT_EQ(DecodeurDuNom("/a/b.jpeg"), Decodeur::Jpeg);
    EXPECT_EQ(DecodeurDuNom("/a/b.Jpe"), Decodeur::Jpeg);
    EXPECT_EQ(DecodeurDuNom("/a/b.GIF"), Decodeur::Gif);
    EXPECT_EQ(DecodeurDuNom("/a/b.bmp"), Decodeur::Bmp);
    EXPECT_EQ(DecodeurDuNom("/a/b.png"), Decodeur::Png);
    EXPECT_EQ(DecodeurDuNom("/a/b.txt"), Decodeur::Aucun);
    EXPECT_EQ(DecodeurDuNom("/a.jpg/sans"), Decodeur::Aucun);
}

TEST_F(DecodageTest, EchelleJpegSelonLEcran) {
    // 4000 x 3000 fitted into 1920 x 1080 is 1440 x 1080: 3/8 gives 1500 x 1125.
    EXPECT_EQ(EchelleJpeg({4000, 3000}, {1920, 1080}), 3);
    // A picture that fits is decoded whole; so is one that no reduction can cover.
    EXPECT_EQ(EchelleJpeg({1024, 768}, {1920, 1080}), 8);
    EXPECT_EQ(EchelleJpeg({2000, 1000}, {1920, 1080}), 8);
    EXPECT_EQ(EchelleJpeg({8000, 6000}, {1000, 1000}), 1);
    EXPECT_EQ(EchelleJpeg({4000, 3000}, QSize()), 8);
}

TEST_F(DecodageTest, JpegReduitGardeSaTailleNaturelle) {
    const QByteArray chemin = Ecrit(QStringLiteral("grande.jpg"), Jpeg(Motif(1600, 1200)));
    const TImageDecodee image = DecodeImage(chemin, QSize(400, 300));
    ASSERT_TRUE(image.Lisible);
    EXPECT_EQ(image.Naturelle, QSize(1600, 1200));
    EXPECT_EQ(image.Image.size(), QSize(400, 300));
    const TImageDecodee entiere = DecodeImage(chemin, QSize(4000, 4000));
    EXPECT_EQ(entiere.Image.size(), QSize(1600, 1200));
    // The reduced picture is the full one, smaller.
    const QImage reduite = entiere.Image.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRgb a = image.Image.pixel(200, 150), b = reduite.pixel(200, 150);
    EXPECT_NEAR(qRed(a), qRed(b), 40);
    EXPECT_NEAR(qGreen(a), qGreen(b), 40);
}

TEST_F(DecodageTest, JpegProgressifGrisEtJpe) {
    EXPECT_TRUE(DecodeImage(Ecrit(QStringLiteral("p.jpg"), Jpeg(Motif(300, 200), true)), {100, 100}).Lisible);
    const TImageDecodee gris = DecodeImage(
        Ecrit(QStringLiteral("g.jpe"), Jpeg(Motif(64, 48).convertToFormat(QImage::Format_Grayscale8))),
        {1000, 1000});
    ASSERT_TRUE(gris.Lisible);
    EXPECT_EQ(qRed(gris.Image.pixel(10, 10)), qGreen(gris.Image.pixel(10, 10)));
}

TEST_F(DecodageTest, JpegEndommageApresLEnTete) {
    const QByteArray complet = Jpeg(Motif(640, 480));
    const TImageDecodee moitie =
        DecodeImage(Ecrit(QStringLiteral("coupe.jpg"), complet.left(complet.size() / 2)), {2000, 2000});
    ASSERT_TRUE(moitie.Lisible);
    EXPECT_EQ(moitie.Naturelle, QSize(640, 480));
    // The top was decoded; the missing bottom is grey.
    EXPECT_NE(moitie.Image.pixel(100, 2), qRgb(128, 128, 128));
    EXPECT_EQ(moitie.Image.pixel(600, 478), qRgb(128, 128, 128));

    QByteArray brouille = complet;
    for (qsizetype i = complet.size() / 3; i < complet.size() - 2; i += 97)
        brouille[i] = static_cast<char>(0xFF);
    EXPECT_TRUE(DecodeImage(Ecrit(QStringLiteral("brouille.jpg"), brouille), {2000, 2000}).Lisible);
}

TEST_F(DecodageTest, FichiersQuiNeSeDecodentPas) {
    const QByteArray jpeg = Jpeg(Motif(64, 48));
    // The header cut before its end, zero bytes, text, a missing file.
    const std::pair<const char*, QByteArray> cas[] = {
        {"entete-coupe.jpg", jpeg.left(40)},
        {"vide.jpg", QByteArray()},
        {"texte.jpg", "ceci n'est pas une image\n"},
        {"texte.bmp", "BM pas vraiment"},
        {"texte.gif", "GIF89a"},
    };
    for (const auto& [nom, contenu] : cas) {
        const TImageDecodee image = DecodeImage(Ecrit(QString::fromLatin1(nom), contenu), {800, 600});
        EXPECT_FALSE(image.Lisible) << nom;
        EXPECT_TRUE(image.Image.isNull()) << nom;
    }
    EXPECT_FALSE(
        DecodeImage(QFile::encodeName(env.Racine() + QStringLiteral("/absent.jpg")), {800, 600}).Lisible);
}

TEST_F(DecodageTest, EntetesAbsurdesRefusesSansAllouer) {
    // A BMP announcing 100000 x 100000 pixels.
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    auto ecrit32 = [&bmp](int position, qint32 valeur) {
        for (int k = 0; k < 4; ++k)
            bmp[position + k] = static_cast<char>((valeur >> (8 * k)) & 0xFF);
    };
    ecrit32(2, 54);
    ecrit32(10, 54);
    ecrit32(14, 40);
    ecrit32(18, 100000);
    ecrit32(22, 100000);
    bmp[26] = 1;
    bmp[28] = 24;
    EXPECT_FALSE(DecodeImage(Ecrit(QStringLiteral("enorme.bmp"), bmp), {800, 600}).Lisible);

    // A GIF screen of 65535 x 65535.
    QByteArray gif("GIF89a");
    gif += QByteArray("\xff\xff\xff\xff\x00\x00\x00", 7);
    gif += QByteArray("\x2c\x00\x00\x00\x00\xff\xff\xff\xff\x00\x02\x02\x44\x01\x00\x3b", 16);
    EXPECT_FALSE(DecodeImage(Ecrit(QStringLiteral("enorme.gif"), gif), {800, 600}).Lisible);

    // A JPEG header announcing 65000 x 65000 with no data: refused or decoded grey, never more
    // than the limit allocated; here the progressive reading asks for far too much memory.
    QByteArray jpeg = Jpeg(Motif(16, 16), true);
    const qsizetype sof = jpeg.indexOf(QByteArray("\xff\xc2", 2));
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = static_cast<char>(0xFD);
    jpeg[sof + 6] = static_cast<char>(0xE8);
    jpeg[sof + 7] = static_cast<char>(0xFD);
    jpeg[sof + 8] = static_cast<char>(0xE8);
    const TImageDecodee grand = DecodeImage(Ecrit(QStringLiteral("enorme.jpg"), jpeg), {64000, 64000});
    EXPECT_FALSE(grand.Lisible);
}

TEST_F(DecodageTest, GifPremiereImageEntrelaceeEtTransparence) {
    for (const bool interlace : {false, true}) {
        for (const bool version89 : {false, true}) {
            const QString chemin = env.Racine() + QStringLiteral("/g%1%2.gif").arg(interlace).arg(version89);
            Gif(chemin, 20, 16, interlace, version89);
            const TImageDecodee image = DecodeImage(QFile::encodeName(chemin), {800, 600});
            ASSERT_TRUE(image.Lisible) << interlace << version89;
            EXPECT_EQ(image.Naturelle, QSize(20, 16));
            // Rows come back in their places whatever the order they were stored in.
            EXPECT_EQ(image.Image.pixel(3, 0), qRgb(255, 0, 0));
            EXPECT_EQ(image.Image.pixel(3, 1), qRgb(0, 255, 0));
            EXPECT_EQ(image.Image.pixel(3, 6), qRgb(0, 0, 255));
            EXPECT_EQ(image.Image.pixel(3, 15), qRgb(255, 255, 255));
        }
    }
    const QString transparent = env.Racine() + QStringLiteral("/t.gif");
    Gif(transparent, 8, 8, false, true, 1);
    const TImageDecodee image = DecodeImage(QFile::encodeName(transparent), {800, 600});
    ASSERT_TRUE(image.Lisible);
    EXPECT_EQ(qAlpha(image.Image.pixel(0, 1)), 0);
    EXPECT_EQ(qAlpha(image.Image.pixel(0, 0)), 255);
    // For a signature the transparent index has its palette colour: the picture reads as the
    // same GIF without transparency does.
    const QString opaque = env.Racine() + QStringLiteral("/o.gif");
    Gif(opaque, 8, 8, false, true);
    const TImageDecodee pourSignature = DecodeImagePourSignature(QFile::encodeName(transparent));
    EXPECT_EQ(pourSignature.Image.pixel(0, 1), qRgb(0, 255, 0));
    EXPECT_EQ(
        pourSignature.Image.convertToFormat(QImage::Format_RGB32),
        DecodeImagePourSignature(QFile::encodeName(opaque)).Image.convertToFormat(QImage::Format_RGB32));
}

namespace {

// A JPEG with an Exif block put right after its start: the TIFF bytes given.
QByteArray AvecExif(const QByteArray& jpeg, const QByteArray& tiff) {
    QByteArray bloc = QByteArray("Exif\0\0", 6) + tiff;
    const int longueur = static_cast<int>(bloc.size()) + 2;
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + char(longueur >> 8) + char(longueur & 0xFF) + bloc +
           jpeg.mid(2);
}

// Little-endian TIFF with a first directory of one entry: tag, type, count and value given; the
// directory at that offset, and that many entries announced.
QByteArray Tiff(quint16 valeur, quint32 repertoire = 8, quint16 entrees = 1, quint16 type = 3) {
    QByteArray t("II\x2A\0", 4);
    auto mot = [&](quint16 v) {
        t += char(v & 0xFF);
        t += char(v >> 8);
    };
    auto long_ = [&](quint32 v) {
        mot(quint16(v & 0xFFFF));
        mot(quint16(v >> 16));
    };
    long_(repertoire);
    mot(entrees);
    mot(0x0112);
    mot(type);
    long_(1);
    mot(valeur);
    mot(0);
    long_(8); // a next directory pointing back at the first: never followed
    return t;
}

} // namespace

// A photo turned as its Exif orientation says, for the display only: where each corner of a
// picture of four coloured quarters ends up, and the turned size.
TEST_F(DecodageTest, OrientationExifDesHuitValeurs) {
    QImage quarts(64, 32, QImage::Format_RGB32);
    QPainter peintre(&quarts);
    peintre.fillRect(0, 0, 32, 16, Qt::red);
    peintre.fillRect(32, 0, 32, 16, Qt::green);
    peintre.fillRect(0, 16, 32, 16, Qt::blue);
    peintre.fillRect(32, 16, 32, 16, Qt::white);
    peintre.end();
    const QByteArray jpeg = Jpeg(quarts);
    // Per orientation: the quarters seen at the top left, top right and bottom left.
    const QList<QList<QColor>> attendus{{Qt::red, Qt::green, Qt::blue},   {Qt::green, Qt::red, Qt::white},
                                        {Qt::white, Qt::blue, Qt::green}, {Qt::blue, Qt::white, Qt::red},
                                        {Qt::red, Qt::blue, Qt::green},   {Qt::blue, Qt::red, Qt::white},
                                        {Qt::white, Qt::green, Qt::blue}, {Qt::green, Qt::white, Qt::red}};
    auto proche = [](QRgb a, const QColor& b) {
        return std::abs(qRed(a) - b.red()) < 40 && std::abs(qGreen(a) - b.green()) < 40 &&
               std::abs(qBlue(a) - b.blue()) < 40;
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QByteArray chemin =
            Ecrit(QStringLiteral("o%1.jpg").arg(orientation), AvecExif(jpeg, Tiff(orientation)));
        EXPECT_EQ(OrientationDuFichier(chemin), orientation);
        const TImageDecodee image = DecodeImage(chemin, {800, 600});
        ASSERT_TRUE(image.Lisible);
        const QSize attendue = orientation >= 5 ? QSize(32, 64) : QSize(64, 32);
        EXPECT_EQ(image.Naturelle, attendue) << orientation;
        ASSERT_EQ(image.Image.size(), attendue) << orientation;
        const int d = attendue.width() - 4, b = attendue.height() - 4;
        const QList<QColor>& coins = attendus[orientation - 1];
        EXPECT_TRUE(proche(image.Image.pixel(3, 3), coins[0])) << orientation;
        EXPECT_TRUE(proche(image.Image.pixel(d, 3), coins[1])) << orientation;
        EXPECT_TRUE(proche(image.Image.pixel(3, b), coins[2])) << orientation;
        // The signature stays on the stored pixels.
        EXPECT_EQ(DecodeImagePourSignature(chemin).Naturelle, QSize(64, 32));
    }
}

// Orientation blocks that cannot be read leave the photo as it is stored.
TEST_F(DecodageTest, BlocsDOrientationHostiles) {
    const QByteArray jpeg = Jpeg(PhotoSynthetique(1, 40, 20));
    QByteArray tronque = AvecExif(jpeg, Tiff(6));
    tronque.truncate(20);
    const struct {
        const char* nom;
        QByteArray octets;
    } cas[] = {
        {"exif-repertoire-hors-du-bloc.jpg", AvecExif(jpeg, Tiff(6, 4000))},
        {"exif-nombre-d-entrees-enorme.jpg", AvecExif(jpeg, Tiff(6, 8, 65535).left(14))},
        {"exif-orientation-9.jpg", AvecExif(jpeg, Tiff(9))},
        {"exif-mauvais-type.jpg", AvecExif(jpeg, Tiff(6, 8, 1, 4))},
        {"exif-ordre-inconnu.jpg", AvecExif(jpeg, QByteArray("XX") + Tiff(6).mid(2))},
        {"exif-segment-tronque.jpg", tronque},
    };
    for (const auto& c : cas) {
        const QByteArray chemin = Ecrit(QString::fromLatin1(c.nom), c.octets);
        EXPECT_EQ(OrientationDuFichier(chemin), 1) << c.nom;
        const TImageDecodee image = DecodeImage(chemin, {800, 600});
        if (image.Lisible) {
            EXPECT_EQ(image.Naturelle, QSize(40, 20)) << c.nom;
        }
    }
}

TEST_F(DecodageTest, UnDecodageDeSignatureArreteAbandonne) {
    const QByteArray chemin = Ecrit(QStringLiteral("grand.jpg"), Jpeg(PhotoSynthetique(3, 1600, 1200)));
    const std::atomic<bool> arret{true};
    const TImageDecodee abandonnee = DecodeImagePourSignature(chemin, &arret);
    EXPECT_TRUE(abandonnee.Abandonne);
    EXPECT_FALSE(abandonnee.Lisible);
    const std::atomic<bool> libre{false};
    const TImageDecodee entiere = DecodeImagePourSignature(chemin, &libre);
    EXPECT_FALSE(entiere.Abandonne);
    EXPECT_TRUE(entiere.Lisible);
}

// A stop asked before or while decoding: GIF and BMP give up as JPEG does, for the display and for a
// signature alike; left alone, the same files decode.
TEST_F(DecodageTest, GifEtBmpArretesAbandonnent) {
    const QString gif = env.Racine() + QStringLiteral("/grand.gif"),
                  bmp = env.Racine() + QStringLiteral("/grand.bmp");
    const QImage photo = PhotoSynthetique(6, 1200, 900);
    EcritGifPhoto(gif, photo);
    ASSERT_TRUE(photo.save(bmp, "BMP"));
    const std::atomic<bool> arret{true}, libre{false};
    for (const QString& fichier : {gif, bmp}) {
        SCOPED_TRACE(fichier.toStdString());
        const QByteArray chemin = QFile::encodeName(fichier);
        for (const TImageDecodee& abandonnee :
             {DecodeImagePourSignature(chemin, &arret), DecodeImage(chemin, {800, 600}, &arret)}) {
            EXPECT_TRUE(abandonnee.Abandonne);
            EXPECT_FALSE(abandonnee.Lisible);
            EXPECT_FALSE(abandonnee.Inaccessible);
        }
        const TImageDecodee entiere = DecodeImagePourSignature(chemin, &libre);
        EXPECT_TRUE(entiere.Lisible);
        EXPECT_FALSE(entiere.Abandonne);
    }
}

// A file that cannot be opened is told from one whose bytes are no picture: it may open another
// time. A folder that bears a picture's name is no picture at all.
TEST_F(DecodageTest, UnFichierQuOnNePeutOuvrirNEstPasIllisible) {
    QDir().mkpath(env.Racine() + QStringLiteral("/dossier.jpg"));
    const struct {
        const char* nom;
        const char* contenu; // nullptr: no such file
        bool inaccessible;
    } cas[] = {
        {"absent.jpg", nullptr, true},
        {"absent.gif", nullptr, true},
        {"absent.bmp", nullptr, true},
        {"dossier.jpg", nullptr, false},
        {"casse.jpg", "pas une image", false},
        {"casse.gif", "GIF89a", false},
        {"casse.bmp", "BM", false},
    };
    for (const auto& c : cas) {
        const QByteArray chemin = c.contenu
                                      ? Ecrit(QString::fromLatin1(c.nom), c.contenu)
                                      : QFile::encodeName(env.Racine() + u'/' + QString::fromLatin1(c.nom));
        for (const TImageDecodee& image :
             {DecodeImagePourSignature(chemin), DecodeImage(chemin, {800, 600})}) {
            EXPECT_EQ(image.Inaccessible, c.inaccessible) << c.nom;
            EXPECT_FALSE(image.Lisible) << c.nom;
        }
    }
}

TEST_F(DecodageTest, UnJpegProgressifDonneDAbordUneEbauche) {
    const QImage photo = PhotoSynthetique(5, 640, 480);
    const QByteArray progressif = Ecrit(QStringLiteral("prog.jpg"), Jpeg(photo, true));
    QList<TImageDecodee> ebauches;
    const TEbauche note = [&ebauches](const TImageDecodee& e) { ebauches << e; };
    const TImageDecodee entiere = DecodeImage(progressif, {2000, 2000}, nullptr, note);
    ASSERT_EQ(ebauches.size(), 1);
    EXPECT_EQ(ebauches[0].Naturelle, QSize(640, 480));
    EXPECT_EQ(ebauches[0].Image.size(), QSize(640, 480));
    // The whole picture is the one decoded without a first picture, not the first picture.
    const TImageDecodee directe = DecodeImage(progressif, {2000, 2000});
    EXPECT_EQ(entiere.Image, directe.Image);
    EXPECT_NE(ebauches[0].Image, directe.Image);
    // A baseline file has no early picture; an interrupted decode gives up between the two.
    DecodeImage(Ecrit(QStringLiteral("base.jpg"), Jpeg(photo)), {2000, 2000}, nullptr, note);
    EXPECT_EQ(ebauches.size(), 1);
    std::atomic<bool> arret{false};
    const TImageDecodee abandonnee =
        DecodeImage(progressif, {2000, 2000}, &arret, [&arret](const TImageDecodee&) { arret = true; });
    EXPECT_TRUE(abandonnee.Abandonne);
}

TEST_F(DecodageTest, GifAuLzwEndommage) {
    const QString chemin = env.Racine() + QStringLiteral("/lzw.gif");
    QByteArray octets = Gif(chemin, 64, 64, false, true);
    // The image data starts after the 13-byte header, the 12-byte palette, the 10-byte image
    // descriptor and the code size byte; garbage there breaks the codes.
    for (qsizetype i = 37; i < octets.size() - 1; ++i)
        octets[i] = static_cast<char>(0xFF);
    EXPECT_FALSE(DecodeImage(Ecrit(QStringLiteral("lzw-casse.gif"), octets), {800, 600}).Lisible);
}

TEST_F(DecodageTest, Bmp) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    ASSERT_TRUE(Motif(30, 20).save(&tampon, "BMP"));
    const TImageDecodee image = DecodeImage(Ecrit(QStringLiteral("b.bmp"), octets), {800, 600});
    ASSERT_TRUE(image.Lisible);
    EXPECT_EQ(image.Naturelle, QSize(30, 20));
    EXPECT_EQ(image.Image.pixel(5, 3), Motif(30, 20).pixel(5, 3));
}

namespace {

void Ajoute32(QByteArray& octets, quint32 valeur) {
    for (int k = 0; k < 4; ++k)
        octets += static_cast<char>((valeur >> (8 * k)) & 0xFF);
}

// A BMP file with a 40-byte information header: its palette and its pixel data as given, the
// pixel data starting right after the palette unless told otherwise.
QByteArray Bmp(qint32 largeur, qint32 hauteur, int bits, const QList<QRgb>& palette,
               const QByteArray& donnees, quint32 compression = 0, qint64 decalage = -1) {
    const quint32 debut = 14 + 40 + 4 * static_cast<quint32>(palette.size());
    QByteArray octets("BM");
    Ajoute32(octets, debut + static_cast<quint32>(donnees.size()));
    Ajoute32(octets, 0);
    Ajoute32(octets, decalage < 0 ? debut : static_cast<quint32>(decalage));
    Ajoute32(octets, 40);
    Ajoute32(octets, static_cast<quint32>(largeur));
    Ajoute32(octets, static_cast<quint32>(hauteur));
    octets += QByteArray("\x01\x00", 2);
    octets += static_cast<char>(bits);
    octets += '\0';
    Ajoute32(octets, compression);
    Ajoute32(octets, static_cast<quint32>(donnees.size()));
    Ajoute32(octets, 2835); // pixels per metre, across and down
    Ajoute32(octets, 2835);
    Ajoute32(octets, static_cast<quint32>(palette.size())); // colours used
    Ajoute32(octets, 0);
    for (const QRgb couleur : palette)
        Ajoute32(octets, couleur & 0xFFFFFF);
    return octets + donnees;
}

// 24-bit rows in the order the file stores them, each of one colour, padded to 4 bytes.
QByteArray Lignes24(int largeur, const QList<QRgb>& couleurs) {
    QByteArray donnees;
    for (const QRgb couleur : couleurs) {
        QByteArray ligne;
        for (int x = 0; x < largeur; ++x)
            for (const int composante : {qBlue(couleur), qGreen(couleur), qRed(couleur)})
                ligne += static_cast<char>(composante);
        donnees += ligne.leftJustified((ligne.size() + 3) / 4 * 4, '\0');
    }
    return donnees;
}

struct CasBmp {
    const char* nom;
    QByteArray octets;
    QSize taille; // empty when the file must not be read
    QList<std::pair<QPoint, QRgb>> pixels;
};

} // namespace

// Damaged and unusual BMPs: each decodes to the same picture every time, with every pixel that
// the file does not give in a known colour, or is refused.
TEST_F(DecodageTest, BmpInhabituelsOuEndommages) {
    const QRgb rouge = qRgb(255, 0, 0), vert = qRgb(0, 255, 0), bleu = qRgb(0, 0, 255),
               blanc = qRgb(255, 255, 255);
    const QRgb gris = qRgb(128, 128, 128), fond = qRgb(10, 20, 30);
    const QByteArray quatreBlanches = Lignes24(4, {blanc, blanc, blanc, blanc});
    const QByteArray complet = Bmp(4, 4, 24, {}, quatreBlanches);
    const QByteArray indexe = Bmp(4, 4, 8, {fond, blanc}, QByteArray(16, '\x01'));
    // A run of two white pixels, then the end of the picture: the rest is skipped.
    const QByteArray rle = Bmp(4, 2, 8, {fond, blanc}, QByteArray("\x02\x01\x00\x01", 4), 1);
    const CasBmp cas[] = {
        // Rows stored top-down, announced by a negative height.
        {"bmp-hauteur-negative.bmp",
         Bmp(4, -3, 24, {}, Lignes24(4, {rouge, vert, bleu})),
         {4, 3},
         {{{0, 0}, rouge}, {{3, 1}, vert}, {{0, 2}, bleu}}},
        // Cut after the two bottom rows.
        {"bmp-tronque.bmp", complet.left(complet.size() - 2 * 12), {4, 4}, {{{0, 3}, blanc}, {{3, 0}, gris}}},
        {"bmp-8-bits-tronque.bmp", indexe.left(indexe.size() - 8), {4, 4}, {{{0, 3}, blanc}, {{0, 0}, fond}}},
        {"bmp-rle-saute-des-pixels.bmp", rle, {4, 2}, {{{1, 1}, blanc}, {{2, 1}, fond}, {{0, 0}, fond}}},
        {"bmp-donnees-apres-la-fin.bmp", Bmp(4, 4, 24, {}, quatreBlanches, 0, 4000), {}, {}},
        {"bmp-hauteur-la-plus-negative.bmp",
         Bmp(4, std::numeric_limits<qint32>::min(), 24, {}, quatreBlanches),
         {},
         {}},
        {"bmp-largeur-negative.bmp", Bmp(-4, 4, 24, {}, quatreBlanches), {}, {}},
    };
    for (const CasBmp& c : cas) {
        const QByteArray chemin = Ecrit(QString::fromLatin1(c.nom), c.octets);
        const TImageDecodee image = DecodeImage(chemin, {800, 600});
        EXPECT_EQ(image.Lisible, !c.taille.isEmpty()) << c.nom;
        if (!image.Lisible) continue;
        EXPECT_EQ(image.Naturelle, c.taille) << c.nom;
        EXPECT_EQ(image.Image.size(), c.taille) << c.nom;
        for (const auto& [point, couleur] : c.pixels)
            EXPECT_EQ(image.Image.pixel(point), couleur) << c.nom << " " << point.x() << "," << point.y();
        EXPECT_EQ(DecodeImagePourSignature(chemin).Image, image.Image) << c.nom;
    }
}

namespace {

// Files of tests/fixtures/images, each named after the fault it reproduces; an empty size when the
// file must be refused.
struct CasFixture {
    const char* nom;
    QSize taille;
};

const CasFixture CasDeFixtures[] = {
    // Width and height of 32 bits whose product overflowed the size check.
    {"bmp-size-product-overflows.bmp", {}},
    // 65000 x 65000 progressive: its coefficients alone are far beyond the cap.
    {"jpeg-progressive-coefficients-beyond-cap.jpg", {}},
    // 65344 x 8191 announced by 537 bytes, turned by its Exif block: decoded at 1/8, grey where
    // the data ends.
    {"jpeg-panorama-of-half-a-gigapixel-in-537-bytes.jpg", {8191, 65344}},

    // PNG and WebP.
    {"png-header-65535-by-65535.png", {}},
    // A few KiB of picture stream cannot fill the 8000 x 8000 its header announces.
    {"png-8000-by-8000-from-a-4-kib-zlib-bomb.png", {}},
    // The rows end long before the stream does: the picture is read, the rest never inflated.
    {"png-idat-inflating-far-beyond-its-rows.png", {64, 64}},
    {"png-iccp-inflating-to-4-mib.png", {32, 32}},
    {"png-ztxt-inflating-to-4-mib.png", {32, 32}},
    {"png-idat-cut-in-the-middle.png", {}},
    {"png-a-thousand-idat-chunks.png", {36, 40}},
    {"png-chunk-length-beyond-the-file.png", {}},
    {"png-animation-chunk-announcing-a-gigabyte.png", {}},
    {"webp-vp8l-header-16384-by-16384.webp", {}},
    {"webp-vp8l-size-lies-4000-by-3000.webp", {}},
    {"webp-riff-size-beyond-the-file.webp", {64, 48}},
    {"webp-lossy-cut-in-the-middle.webp", {}},
    {"webp-canvas-16777216-by-16777216.webp", {}},
    {"webp-animation-frame-outside-its-canvas.webp", {}},

    // TIFF and camera RAW files.
    {"tiff-strip-offset-beyond-end-of-file.tif", {}},
    {"tiff-65535-by-65535-header.tif", {}},
    {"tiff-million-strips-listed-beyond-end-of-file.tif", {}},
    // The first page of an endless chain.
    {"tiff-pages-chained-in-a-loop.tif", {16, 16}},
    // The preview refused before it is read; no strip to read as a TIFF either.
    {"dng-preview-length-beyond-end-of-file.dng", {}},
    {"cr3-boxes-that-send-the-raw-parser-round-for-ever.cr3", {}},

    // HEIF and AVIF.
    {"avif-of-65535-by-65535-announced.avif", {}},
    {"heic-cut-in-its-picture-data.heic", {}},
    {"heic-meta-box-longer-than-its-file.heic", {}},
    // Its header says 16 x 16, its picture is 64 x 64: the picture's own size is given.
    {"heic-ispe-smaller-than-its-picture.heic", {64, 64}},
    {"heic-grid-of-10000-tiles.heic", {}},
    {"heic-grid-of-2-by-2-tiles.heic", {128, 128}},
    // Announced 64 x 64, its grid's data asks for a 4096 x 4096 canvas: refused before the decoder
    // allocates it.
    {"heic-grid-canvas-far-larger-than-its-announced-size.heic", {}},
    // The same with the grid's data in the meta box, and for an overlay; as tiled pictures of their
    // announced size, both read.
    {"heic-grid-in-idat-canvas-far-larger-than-its-announced-size.heic", {}},
    {"heic-overlay-canvas-far-larger-than-its-announced-size.heic", {}},
    {"heic-grid-in-idat-of-2-by-2-tiles.heic", {128, 128}},
    {"heic-overlay-of-2-by-2-tiles.heic", {128, 128}},
    {"heic-grid-with-32-bit-sizes-of-2-by-2-tiles.heic", {128, 128}},
    // Announced 64 x 64, a canvas of 1.2 GB: refused before the decoder allocates it.
    {"heic-grid-canvas-of-20000-by-20000-in-a-few-hundred-bytes.heic", {}},

    // JPEG XL.
    // Codestream headers alone: 2^30 x 16, and 20000 x 20000, refused before any pixel.
    {"jxl-codestream-2-pow-30-wide.jxl", {}},
    {"jxl-codestream-header-of-400-megapixels.jxl", {}},
    // Cut halfway through its pixels.
    {"jxl-truncated-in-its-pixels.jxl", {}},
    // A container whose codestream box says it runs far past the end of the file, or ends inside
    // its own header; one with no codestream at all.
    {"jxl-codestream-box-larger-than-the-file.jxl", {64, 48}},
    {"jxl-codestream-box-smaller-than-its-header.jxl", {}},
    {"jxl-container-without-codestream.jxl", {}},
};

} // namespace

// Each damaged file gives the same outcome to the display and to the signature, without a
// sanitizer report.
TEST_F(DecodageTest, FixturesDImagesEndommagees) {
    for (const CasFixture& c : CasDeFixtures) {
        QFile fixture(QStringLiteral(MIRASOLVE_FIXTURES_DIR "/images/") + QLatin1String(c.nom));
        ASSERT_TRUE(fixture.open(QIODevice::ReadOnly)) << c.nom;
        const QByteArray chemin = Ecrit(QString::fromLatin1(c.nom), fixture.readAll());
        const TImageDecodee vue = DecodeImage(chemin, {1920, 1080});
        const TImageDecodee signature = DecodeImagePourSignature(chemin);
        EXPECT_EQ(vue.Lisible, !c.taille.isEmpty()) << c.nom;
        EXPECT_EQ(signature.Lisible, vue.Lisible) << c.nom;
        if (vue.Lisible) {
            EXPECT_EQ(vue.Naturelle, c.taille) << c.nom;
            // The signature reads the picture as stored, not turned.
            EXPECT_EQ(signature.Naturelle, TailleOrientee(c.taille, OrientationInverse(vue.Orientation)))
                << c.nom;
        }
    }
}
