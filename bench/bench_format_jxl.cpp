// JPEG XL figures: the signature decode and the display's whole decode of 12-megapixel files (lossy
// as the usual encoder writes it, lossy progressive, and a JPEG recompressed without loss), against
// `djxl` writing the whole picture as PPM into /dev/null (its fastest full output), all in the same
// run; and the cost of a thread pool made for each decode. Prints figures.
//
//   bench_format_jxl [repetitions]

#include "core/source/decodage.h"
#include "photo.h"
#include "photojxl.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <jxl/resizable_parallel_runner.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

double MedianeMs(int repetitions, const std::function<void()>& travail) {
    std::vector<double> durees;
    for (int k = 0; k < repetitions; ++k) {
        QElapsedTimer chrono;
        chrono.start();
        travail();
        durees.push_back(static_cast<double>(chrono.nsecsElapsed()) / 1e6);
    }
    std::sort(durees.begin(), durees.end());
    return durees[durees.size() / 2];
}

// Milliseconds of one djxl run writing the whole picture to /dev/null (through a .ppm name, which
// picks its output format), its process start-up measured apart and removed; -1 without djxl.
double MsDjxl(const QString& djxl, const QString& fichier, const QString& sortie, int repetitions) {
    if (djxl.isEmpty()) return -1;
    auto lance = [&djxl](const QStringList& arguments) {
        QProcess processus;
        processus.setStandardOutputFile(QProcess::nullDevice());
        processus.setStandardErrorFile(QProcess::nullDevice());
        processus.start(djxl, arguments);
        processus.waitForFinished(-1);
    };
    const double demarrage = MedianeMs(repetitions, [&] { lance({QStringLiteral("--version")}); });
    return MedianeMs(repetitions, [&] { lance({fichier, sortie, QStringLiteral("--quiet")}); }) - demarrage;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dossier;
    const QString djxl = QStandardPaths::findExecutable(QStringLiteral("djxl"));
    const QString nul = dossier.path() + QStringLiteral("/nul.ppm");
    QFile::link(QStringLiteral("/dev/null"), nul);

    const QImage photo = PhotoSynthetique(1, 4000, 3000, 200);
    const struct {
        const char* nom;
        QByteArray octets;
    } fichiers[] = {
        {"lossy d1 effort 7", JxlPhoto(photo, {.Effort = 7})},
        {"lossy progressive", JxlPhoto(photo, {.Progressif = true, .Effort = 7})},
        {"JPEG recompressed", JxlDeJpeg(Jpeg(photo))},
    };
    std::printf("12-megapixel JPEG XL, median of %d, %u hardware threads\n", repetitions,
                std::thread::hardware_concurrency());
    for (const auto& f : fichiers) {
        const QString chemin = dossier.path() + QStringLiteral("/photo.jxl");
        QFile sortie(chemin);
        if (f.octets.isEmpty() || !sortie.open(QIODevice::WriteOnly) ||
            sortie.write(f.octets) != f.octets.size())
            return 1;
        sortie.close();
        const QByteArray octets = QFile::encodeName(chemin);
        const TImageDecodee essai = DecodeImagePourSignature(octets);
        const double signature = MedianeMs(repetitions, [&] { DecodeImagePourSignature(octets); });
        const double plein = MedianeMs(repetitions, [&] { DecodeImage(octets, QSize(1 << 20, 1 << 20)); });
        const double reference = MsDjxl(djxl, chemin, nul, repetitions);
        std::printf(
            "%-20s %6.0f KiB | signature %7.1f ms (%dx%d) | whole decode %7.1f ms | djxl to PPM %7.1f ms"
            " | signature / djxl %.2f\n",
            f.nom, static_cast<double>(f.octets.size()) / 1024, signature, essai.Image.width(),
            essai.Image.height(), plein, reference, reference > 0 ? signature / reference : 0.0);
    }

    // A pool of the decoder's threads made and ended for each decode.
    const double pool = MedianeMs(repetitions, [] {
        for (int k = 0; k < 100; ++k) {
            void* runner = JxlResizableParallelRunnerCreate(nullptr);
            JxlResizableParallelRunnerSetThreads(runner, std::max(1u, std::thread::hardware_concurrency()));
            JxlResizableParallelRunnerDestroy(runner);
        }
    });
    std::printf("thread pool made and ended for one decode: %.3f ms\n", pool / 100);
    return 0;
}
