// WebP and PNG figures: milliseconds per 12-megapixel file for a signature, a display decode at
// 1920 x 1080 and a whole decode, against the format's command-line decoder writing the whole
// picture to /dev/null (`dwebp -ppm`, `pngtopnm`, each process's start-up measured apart and
// removed) and, for PNG, Qt's own reader in this process. Prints figures.
//
//   bench_format_webp

#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "photo.h"
#include "photowebp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Ms(const QElapsedTimer& chrono, size_t nombre) {
    return static_cast<double>(chrono.nsecsElapsed()) / 1e6 / static_cast<double>(nombre);
}

// Milliseconds per file of the program on each file (its arguments around the file's path), its
// output to /dev/null, its start-up (the same program on an empty file) removed; -1 when missing.
double MsParImageOutil(const QString& nom, const QStringList& avant, const QStringList& apres,
                       const std::vector<QString>& fichiers, const QString& vide) {
    const QString programme = QStandardPaths::findExecutable(nom);
    if (programme.isEmpty() || fichiers.empty()) return -1;
    auto lance = [&](const QString& fichier) {
        QProcess processus;
        processus.setStandardOutputFile(QProcess::nullDevice());
        processus.setStandardErrorFile(QProcess::nullDevice());
        processus.start(programme, avant + QStringList{fichier} + apres);
        processus.waitForFinished(-1);
    };
    QElapsedTimer chrono;
    chrono.start();
    for (int k = 0; k < 10; ++k)
        lance(vide);
    const double demarrage = Ms(chrono, 10);
    double meilleur = 1e9;
    for (int tour = 0; tour < 3; ++tour) {
        chrono.start();
        for (const QString& f : fichiers)
            lance(f);
        meilleur = std::min(meilleur, Ms(chrono, fichiers.size()));
    }
    return meilleur - demarrage;
}

struct Mesures {
    double signature = 0, vue = 0, entier = 0;
};

// The best of three rounds of each measure: the machine is shared.
Mesures Mesure(const std::vector<QString>& fichiers) {
    Mesures m{1e9, 1e9, 1e9};
    QElapsedTimer chrono;
    for (int tour = 0; tour < 3; ++tour) {
        chrono.start();
        for (const QString& f : fichiers) {
            Tminiature s;
            s.CalculeOctets(QFile::encodeName(f));
        }
        m.signature = std::min(m.signature, Ms(chrono, fichiers.size()));
        chrono.start();
        for (const QString& f : fichiers)
            DecodeImage(QFile::encodeName(f), QSize(1920, 1080));
        m.vue = std::min(m.vue, Ms(chrono, fichiers.size()));
        chrono.start();
        for (const QString& f : fichiers)
            DecodeImage(QFile::encodeName(f), QSize(1 << 20, 1 << 20));
        m.entier = std::min(m.entier, Ms(chrono, fichiers.size()));
    }
    return m;
}

void Affiche(const char* nom, const Mesures& m, const char* reference, double referenceMs) {
    std::printf("%-28s signature %7.1f ms | display 1920x1080 %7.1f ms | whole %7.1f ms", nom, m.signature,
                m.vue, m.entier);
    if (referenceMs > 0)
        std::printf(" | %s %7.1f ms, signature ratio %.2f", reference, referenceMs,
                    m.signature / referenceMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QGuiApplication application(argc, argv);
    QTemporaryDir dossier;
    const QString vide = dossier.path() + QStringLiteral("/vide");
    QFile(vide).open(QIODevice::WriteOnly);
    auto ecrit = [&](const QString& nom, const QByteArray& octets) {
        const QString chemin = dossier.path() + u'/' + nom;
        QFile fichier(chemin);
        if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
            std::printf("cannot write\n");
        return chemin;
    };
    std::vector<QString> pertes, sansPertes, pngs;
    for (int i = 0; i < 6; ++i) {
        const QImage photo = PhotoSynthetique(i, 4000, 3000, 200);
        pertes.push_back(ecrit(QStringLiteral("p%1.webp").arg(i), WebpPhoto(photo, false, 80)));
        if (i < 2) sansPertes.push_back(ecrit(QStringLiteral("l%1.webp").arg(i), WebpPhoto(photo, true)));
        if (i < 4) pngs.push_back(ecrit(QStringLiteral("p%1.png").arg(i), PngPhoto(photo)));
    }
    const QStringList dwebpAvant{QStringLiteral("-quiet")},
        dwebpApres{QStringLiteral("-ppm"), QStringLiteral("-o"), QStringLiteral("/dev/null")};
    Affiche("12 Mpx lossy WebP (q80)", Mesure(pertes), "dwebp -ppm",
            MsParImageOutil(QStringLiteral("dwebp"), dwebpAvant, dwebpApres, pertes, vide));
    Affiche("12 Mpx lossless WebP", Mesure(sansPertes), "dwebp -ppm",
            MsParImageOutil(QStringLiteral("dwebp"), dwebpAvant, dwebpApres, sansPertes, vide));
    const Mesures png = Mesure(pngs);
    Affiche("12 Mpx PNG", png, "pngtopnm", MsParImageOutil(QStringLiteral("pngtopnm"), {}, {}, pngs, vide));
    QElapsedTimer chrono;
    double qt = 1e9;
    for (int tour = 0; tour < 3; ++tour) {
        chrono.start();
        for (const QString& f : pngs)
            QImageReader(f, "png").read();
        qt = std::min(qt, Ms(chrono, pngs.size()));
    }
    std::printf("%-28s Qt's reader alone %7.1f ms, signature ratio %.2f\n", "12 Mpx PNG", qt,
                png.signature / qt);
    return 0;
}
