// Signature figures of 12-megapixel TIFF (uncompressed and LZW) and DNG files (a full-size JPEG
// preview), against the command-line tools of their libraries in the same run: `tiffcp file
// /dev/null` and `tiff2rgba file /dev/null` for TIFF, `simple_dcraw -e` (the preview extracted)
// for DNG, alone and followed by `djpeg -dct fast -nosmooth -scale 1/8` on the preview (what the
// signature does with it), each tool's process start-up measured apart and removed. Prints figures and
// ratios.
//
//   bench_format_tiff [files per format, 3 by default]

#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "photo.h"
#include "phototiff.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void Ecrit(const QString& chemin, const QByteArray& contenu) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(contenu) != contenu.size())
        std::printf("cannot write %s\n", qPrintable(chemin));
}

double MsParFichier(const QElapsedTimer& chrono, qsizetype fichiers) {
    return static_cast<double>(chrono.nsecsElapsed()) / 1e6 / static_cast<double>(fichiers);
}

double MsSignature(const QStringList& fichiers) {
    QElapsedTimer chrono;
    chrono.start();
    for (const QString& f : fichiers) {
        Tminiature signature;
        if (signature.CalculeOctets(QFile::encodeName(f)) != ResultatCalcul::Calculee)
            std::printf("not signed: %s\n", qPrintable(f));
    }
    return MsParFichier(chrono, fichiers.size());
}

// Milliseconds per file of the tool run on each file with the arguments (%1: the file), less
// its start-up measured on a file of one pixel; -1 when the tool is not installed.
double MsOutil(const char* outil, const QStringList& arguments, const QStringList& fichiers,
               const QString& petit) {
    const QString programme = QStandardPaths::findExecutable(QLatin1String(outil));
    if (programme.isEmpty()) return -1;
    auto lance = [&](const QString& fichier) {
        QStringList liste;
        for (const QString& a : arguments)
            liste << (a == QLatin1String("%1") ? fichier : a);
        QProcess processus;
        processus.setStandardOutputFile(QProcess::nullDevice());
        processus.setStandardErrorFile(QProcess::nullDevice());
        processus.start(programme, liste);
        processus.waitForFinished(-1);
    };
    QElapsedTimer chrono;
    chrono.start();
    for (int k = 0; k < 10; ++k)
        lance(petit);
    const double demarrage = MsParFichier(chrono, 10);
    chrono.start();
    for (const QString& f : fichiers)
        lance(f);
    return MsParFichier(chrono, fichiers.size()) - demarrage;
}

void Affiche(const char* nom, double signature, const char* outil, double reference) {
    std::printf("%-24s signature %8.1f ms | %-24s %8.1f ms | ratio %.2f\n", nom, signature, outil, reference,
                reference > 0 ? signature / reference : 0.0);
}

} // namespace

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QGuiApplication application(argc, argv);
    const int nombre = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dossier;
    QStringList brut, lzw, dng, sortiesDng;
    for (int i = 0; i < nombre; ++i) {
        const QImage photo = PhotoSynthetique(i, 4000, 3000, 200);
        brut << dossier.filePath(QStringLiteral("brut%1.tif").arg(i));
        Ecrit(brut.back(), Tiff(photo, {.lignesParBande = 16}));
        lzw << dossier.filePath(QStringLiteral("lzw%1.tif").arg(i));
        Ecrit(lzw.back(), Tiff(photo, {.compression = 5, .lignesParBande = 16}));
        dng << dossier.filePath(QStringLiteral("photo%1.dng").arg(i));
        Ecrit(dng.back(), Dng(photo, {4000, 3000}, 1));
    }
    const QString petitTiff = dossier.filePath(QStringLiteral("petit.tif"));
    Ecrit(petitTiff, Tiff(PhotoSynthetique(0, 1, 1)));
    const QString petitDng = dossier.filePath(QStringLiteral("petit.dng"));
    Ecrit(petitDng, Dng(PhotoSynthetique(0, 48, 32), {48, 32}));

    const QStringList tiffcp = {QStringLiteral("%1"), QStringLiteral("/dev/null")};
    std::printf("12-megapixel files, %d of each, one thread\n", nombre);
    for (const auto& [nom, fichiers] : {std::pair{"TIFF uncompressed", brut}, std::pair{"TIFF LZW", lzw}}) {
        const double signature = MsSignature(fichiers);
        Affiche(nom, signature, "tiffcp file /dev/null", MsOutil("tiffcp", tiffcp, fichiers, petitTiff));
        Affiche(nom, signature, "tiff2rgba file /dev/null",
                MsOutil("tiff2rgba", tiffcp, fichiers, petitTiff));
    }
    const double signatureDng = MsSignature(dng);
    const double extraction =
        MsOutil("simple_dcraw", {QStringLiteral("-e"), QStringLiteral("%1")}, dng, petitDng);
    Affiche("DNG, full-size preview", signatureDng, "simple_dcraw -e", extraction);
    // The extracted previews (written beside the files) decoded as a JPEG signature decodes them.
    QStringList apercus;
    for (const QString& f : dng)
        apercus << f + QStringLiteral(".thumb.jpg");
    const double djpeg = MsOutil("djpeg",
                                 {QStringLiteral("-dct"), QStringLiteral("fast"), QStringLiteral("-nosmooth"),
                                  QStringLiteral("-scale"), QStringLiteral("1/8"), QStringLiteral("-outfile"),
                                  QStringLiteral("/dev/null"), QStringLiteral("%1")},
                                 apercus, petitDng + QStringLiteral(".thumb.jpg"));
    if (extraction > 0 && djpeg > 0)
        Affiche("DNG, full-size preview", signatureDng, "the same + djpeg 1/8", extraction + djpeg);
    return 0;
}
