// The signature of a 12-megapixel photo of each format the program reads, against the format's own
// command-line decoder writing the whole picture out, in the same run. Prints figures; asserts
// nothing.
//
//   bench_formats [runs, default 5]
//
// Each file is made from the same synthetic photo, with the format's command-line encoder (HEIC,
// AVIF, WebP, JPEG XL), Qt's writers (PNG, JPEG) or libtiff (TIFF; a DNG holding a full-size JPEG
// preview and a small raw image). Each time is the median of the runs; a command-line decoder is
// tried with each output it offers that costs no disk (/dev/null, or a file in /dev/shm) and its
// fastest is kept; its time includes its process start-up. The RAW tools copy the preview's JPEG
// out without decoding it. A format whose encoder or decoder is not installed is skipped with a
// line saying so (scripts/outils-banc.sh installs them); a format the program's reader does not
// read yet is said so, and its tool still timed.

#include "core/source/decodage.h"
#include "photo.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Largeur = 4000, Hauteur = 3000;

double Mediane(std::vector<double> valeurs) {
    if (valeurs.empty()) return -1;
    std::sort(valeurs.begin(), valeurs.end());
    return valeurs[valeurs.size() / 2];
}

// Runs a program to its end, its output thrown away; true when it exited with 0.
bool Lance(const QString& programme, const QStringList& arguments, int delaiMs = 600000) {
    QProcess processus;
    processus.setStandardOutputFile(QProcess::nullDevice());
    processus.setStandardErrorFile(QProcess::nullDevice());
    processus.start(programme, arguments);
    if (!processus.waitForFinished(delaiMs)) {
        processus.kill();
        processus.waitForFinished();
        return false;
    }
    return processus.exitStatus() == QProcess::NormalExit && processus.exitCode() == 0;
}

QString Outil(const char* nom) {
    return QStandardPaths::findExecutable(QString::fromLatin1(nom));
}

// One way of running a decoder: its program and arguments, shown as given.
struct TCommande {
    QString programme;
    QStringList arguments;
    QString produit; // when given, the file it must have written (removed before each run)
    QString Texte() const { return QFileInfo(programme).fileName() + u' ' + arguments.join(u' '); }
};

// The median time of a command, in milliseconds; -1 when it failed.
double TempsCommande(const TCommande& commande, int fois) {
    std::vector<double> temps;
    for (int k = 0; k < fois; ++k) {
        if (!commande.produit.isEmpty()) QFile::remove(commande.produit);
        QElapsedTimer chrono;
        chrono.start();
        if (!Lance(commande.programme, commande.arguments)) return -1;
        temps.push_back(static_cast<double>(chrono.nsecsElapsed()) / 1e6);
        if (!commande.produit.isEmpty() && QFileInfo(commande.produit).size() == 0) return -1;
    }
    return Mediane(temps);
}

// A TIFF as a scanner writes it: 8-bit RGB, LZW with the horizontal predictor, in strips.
bool EcritTiff(const QString& chemin, const QImage& photo) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(chemin).constData(), "w");
    if (!tiff) return false;
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB888);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, rgb.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, rgb.height());
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 16);
    bool reussi = true;
    for (int y = 0; y < rgb.height() && reussi; ++y)
        reussi =
            TIFFWriteScanline(tiff, const_cast<uchar*>(rgb.constScanLine(y)), static_cast<uint32_t>(y)) == 1;
    TIFFClose(tiff);
    return reussi;
}

// A DNG as a camera writes it: the first directory the full-size JPEG preview, one strip holding
// the whole JPEG stream, and a sub-directory with a small uncompressed Bayer raw image.
bool EcritDng(const QString& chemin, const QImage& photo) {
    QByteArray jpeg;
    QBuffer tampon(&jpeg);
    tampon.open(QIODevice::WriteOnly);
    if (!photo.save(&tampon, "JPEG", 90)) return false;
    TIFF* tiff = TIFFOpen(QFile::encodeName(chemin).constData(), "w");
    if (!tiff) return false;
    static const uint8_t versionDng[4] = {1, 4, 0, 0};
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, photo.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, photo.height());
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, photo.height());
    TIFFSetField(tiff, TIFFTAG_MAKE, "Banc");
    TIFFSetField(tiff, TIFFTAG_MODEL, "Banc DNG");
    TIFFSetField(tiff, TIFFTAG_UNIQUECAMERAMODEL, "Banc DNG");
    TIFFSetField(tiff, TIFFTAG_DNGVERSION, versionDng);
    TIFFSetField(tiff, TIFFTAG_DNGBACKWARDVERSION, versionDng);
    uint64_t sousRepertoire = 0;
    TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, &sousRepertoire);
    bool reussi = TIFFWriteRawStrip(tiff, 0, jpeg.data(), jpeg.size()) == jpeg.size();
    reussi = reussi && TIFFWriteDirectory(tiff);

    constexpr int Cote = 64;
    static const uint16_t dimensionsMotif[2] = {2, 2};
    static const uint8_t motif[4] = {0, 1, 1, 2}; // red, green / green, blue
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, Cote);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, Cote);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, 32803); // colour filter array
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, Cote);
    TIFFSetField(tiff, TIFFTAG_CFAREPEATPATTERNDIM, dimensionsMotif);
    TIFFSetField(tiff, TIFFTAG_CFAPATTERN, 4, motif);
    std::vector<uint16_t> brut(Cote * Cote, 1024);
    reussi =
        reussi && TIFFWriteEncodedStrip(tiff, 0, brut.data(), static_cast<tmsize_t>(brut.size() * 2)) >= 0;
    reussi = reussi && TIFFWriteDirectory(tiff);
    TIFFClose(tiff);
    return reussi;
}

// One format of the bench: how its file is made, and the decoders it is compared with.
struct TFormatBanc {
    const char* nom;
    const char* extension;
    // Makes the file from the source picture (source.png, source.jpg beside it); an empty text
    // when done, otherwise why not.
    std::function<QString(const QString& fichier)> fabrique;
    // The command-line decoder's ways of writing the whole picture; none when it is missing.
    std::function<std::vector<TCommande>(const QString& fichier)> decodeurs;
    const char* outils; // the programs it needs, for the line of a skipped format
};

} // namespace

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int fois = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5);
    // In memory, so that no disk time enters either side, and the decoders' outputs go there too.
    const QString base =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dossier(base + QStringLiteral("/bench_formats-XXXXXX"));
    const QString d = dossier.path();
    const QString png = d + QStringLiteral("/source.png"), jpg = d + QStringLiteral("/source.jpg");
    const QImage photo = PhotoSynthetique(7, Largeur, Hauteur, 200);
    if (!photo.save(png, "PNG") || !photo.save(jpg, "JPEG", 90)) {
        std::printf("cannot write the source pictures in %s\n", qPrintable(d));
        return 1;
    }
    const QString sortie = d + QStringLiteral("/sortie");

    // Makes a file with an encoder; an empty text when done.
    auto encode = [](const char* programme, const QStringList& arguments, const QString& fichier) -> QString {
        const QString chemin = Outil(programme);
        if (chemin.isEmpty()) return QStringLiteral("%1 is not installed").arg(QLatin1String(programme));
        if (!Lance(chemin, arguments) || !QFileInfo(fichier).size())
            return QStringLiteral("%1 failed").arg(QLatin1String(programme));
        return {};
    };
    auto commandes = [](const char* programme, const std::vector<QStringList>& variantes,
                        const QString& produit = {}) {
        std::vector<TCommande> liste;
        const QString chemin = Outil(programme);
        if (!chemin.isEmpty())
            for (const QStringList& arguments : variantes)
                liste.push_back({chemin, arguments, produit});
        return liste;
    };
    // The RAW tools write the preview beside the file (in memory here), without decoding it:
    // both are tried, and the preview must come out.
    auto apercuRaw = [&](const QString& f) {
        const QString apercu = f + QStringLiteral(".thumb.jpg");
        std::vector<TCommande> liste = commandes("dcraw_emu", {{QStringLiteral("-e"), f}}, apercu);
        for (TCommande& c : commandes("simple_dcraw", {{QStringLiteral("-e"), f}}, apercu))
            liste.push_back(std::move(c));
        return liste;
    };

    const std::vector<TFormatBanc> formats{
        {"JPEG (reference)", "jpg",
         [&](const QString& f) { return QFile::copy(jpg, f) ? QString() : QStringLiteral("copy failed"); },
         [&](const QString& f) {
             return commandes("djpeg", {{QStringLiteral("-outfile"), QStringLiteral("/dev/null"), f},
                                        {QStringLiteral("-bmp"), QStringLiteral("-outfile"),
                                         QStringLiteral("/dev/null"), f}});
         },
         "djpeg"},
        {"HEIC", "heic",
         [&](const QString& f) {
             return encode("heif-enc",
                           {QStringLiteral("-q"), QStringLiteral("80"), png, QStringLiteral("-o"), f}, f);
         },
         [&](const QString& f) {
             return commandes("heif-convert",
                              {{QStringLiteral("--quiet"), f, sortie + QStringLiteral(".y4m")},
                               {QStringLiteral("--quiet"), f, sortie + QStringLiteral(".png")},
                               {QStringLiteral("--quiet"), QStringLiteral("-q"), QStringLiteral("10"), f,
                                sortie + QStringLiteral(".jpg")}});
         },
         "heif-enc, heif-convert"},
        {"AVIF", "avif",
         [&](const QString& f) {
             if (!Outil("avifenc").isEmpty())
                 return encode("avifenc",
                               {QStringLiteral("-s"), QStringLiteral("8"), QStringLiteral("-y"),
                                QStringLiteral("420"), QStringLiteral("--min"), QStringLiteral("15"),
                                QStringLiteral("--max"), QStringLiteral("30"), png, f},
                               f);
             return encode("heif-enc",
                           {QStringLiteral("-A"), QStringLiteral("-q"), QStringLiteral("70"), png,
                            QStringLiteral("-o"), f},
                           f);
         },
         [&](const QString& f) {
             return commandes("heif-convert",
                              {{QStringLiteral("--quiet"), f, sortie + QStringLiteral(".y4m")},
                               {QStringLiteral("--quiet"), f, sortie + QStringLiteral(".png")}});
         },
         "avifenc or heif-enc, heif-convert"},
        {"WebP", "webp",
         [&](const QString& f) {
             return encode("cwebp",
                           {QStringLiteral("-quiet"), QStringLiteral("-q"), QStringLiteral("80"), png,
                            QStringLiteral("-o"), f},
                           f);
         },
         [&](const QString& f) {
             return commandes("dwebp", {{f, QStringLiteral("-quiet"), QStringLiteral("-ppm"),
                                         QStringLiteral("-o"), QStringLiteral("/dev/null")},
                                        {f, QStringLiteral("-quiet"), QStringLiteral("-yuv"),
                                         QStringLiteral("-o"), QStringLiteral("/dev/null")},
                                        {f, QStringLiteral("-quiet"), QStringLiteral("-bmp"),
                                         QStringLiteral("-o"), QStringLiteral("/dev/null")}});
         },
         "cwebp, dwebp"},
        {"PNG", "png",
         [&](const QString& f) { return QFile::copy(png, f) ? QString() : QStringLiteral("copy failed"); },
         [&](const QString& f) {
             // libpng's own examples are not packaged: netpbm's reader, on libpng, writes the
             // whole picture out.
             std::vector<TCommande> liste = commandes("pngtopnm", {{f}});
             for (TCommande& c : commandes("pngtopam", {{f}}))
                 liste.push_back(std::move(c));
             return liste;
         },
         "pngtopnm or pngtopam"},
        {"TIFF", "tif",
         [&](const QString& f) { return EcritTiff(f, photo) ? QString() : QStringLiteral("libtiff failed"); },
         [&](const QString& f) {
             return commandes(
                 "tiffcp",
                 {{QStringLiteral("-c"), QStringLiteral("none"), f, sortie + QStringLiteral(".tif")},
                  {QStringLiteral("-c"), QStringLiteral("none"), f, QStringLiteral("/dev/null")}});
         },
         "tiffcp"},
        {"JPEG XL", "jxl",
         [&](const QString& f) {
             return encode("cjxl",
                           {png, f, QStringLiteral("--quiet"), QStringLiteral("-d"), QStringLiteral("1")}, f);
         },
         [&](const QString& f) {
             return commandes("djxl", {{f, sortie + QStringLiteral(".ppm"), QStringLiteral("--quiet")},
                                       {f, sortie + QStringLiteral(".ppm"), QStringLiteral("--quiet"),
                                        QStringLiteral("--num_threads=1")}});
         },
         "cjxl, djxl"},
        {"DNG (JPEG preview)", "dng",
         [&](const QString& f) { return EcritDng(f, photo) ? QString() : QStringLiteral("libtiff failed"); },
         apercuRaw, "dcraw_emu or simple_dcraw"},
    };

    std::printf("12-megapixel (%dx%d) files, median of %d runs; in %s\n", Largeur, Hauteur, fois,
                qPrintable(d));
    std::printf("%-20s %10s %14s %9s  %s\n", "format", "size KiB", "signature ms", "tool ms",
                "ratio  (fastest tool command)");
    for (const TFormatBanc& format : formats) {
        const QString fichier = d + QStringLiteral("/photo.") + QLatin1String(format.extension);
        const QString probleme = format.fabrique(fichier);
        if (!probleme.isEmpty()) {
            std::printf("%-20s skipped: %s (needs %s)\n", format.nom, qPrintable(probleme), format.outils);
            continue;
        }
        // The signature's decode.
        const QByteArray octets = QFile::encodeName(fichier);
        std::vector<double> temps;
        TImageDecodee image;
        for (int k = 0; k < fois; ++k) {
            QElapsedTimer chrono;
            chrono.start();
            image = DecodeImagePourSignature(octets);
            temps.push_back(static_cast<double>(chrono.nsecsElapsed()) / 1e6);
            if (!image.Lisible) break;
        }
        const double signature = image.Lisible ? Mediane(temps) : -1;

        // The command-line decoder, its fastest way kept.
        double outil = -1;
        QString meilleure;
        const std::vector<TCommande> decodeurs = format.decodeurs(fichier);
        for (const TCommande& commande : decodeurs) {
            const double t = TempsCommande(commande, fois);
            if (t >= 0 && (outil < 0 || t < outil)) {
                outil = t;
                meilleure = commande.Texte();
            }
        }
        std::printf("%-20s %10lld ", format.nom, static_cast<long long>(QFileInfo(fichier).size() / 1024));
        if (image.Lisible)
            std::printf("%14.1f ", signature);
        else
            std::printf("%14s ", "UNREADABLE");
        if (decodeurs.empty())
            std::printf("%9s  skipped: %s not installed", "-", format.outils);
        else if (outil < 0)
            std::printf("%9s  every command failed (%s)", "failed", qPrintable(decodeurs.front().Texte()));
        else
            std::printf("%9.1f  ", outil);
        if (image.Lisible && outil > 0) std::printf("%5.2f", signature / outil);
        if (outil >= 0) std::printf("  (%s)", qPrintable(meilleure));
        if (image.Lisible)
            std::printf("  decoded %dx%d of %dx%d", image.Image.width(), image.Image.height(),
                        image.Naturelle.width(), image.Naturelle.height());
        else
            std::printf("  the program's reader does not read this file yet");
        std::printf("\n");
    }
    return 0;
}
