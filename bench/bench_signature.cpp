// Signature figures: images per second on one thread for 12-megapixel and 640 x 480 JPEGs, GIF
// and BMP, against a full-size decode and against `djpeg -dct fast -nosmooth -scale 1/8`;
// comparisons per second; saving and reading a store of 100,000 signatures. Prints figures.
//
//   bench_signature

#include "core/duplicates/magasin.h"
#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "djpeg.h"
#include "photo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Mesure {
    double signatureMs = 0, pleinMs = 0, djpegMs = -1;
};

Mesure Mesure_(const std::vector<QString>& fichiers, bool jpeg) {
    Mesure m;
    QElapsedTimer chrono;
    chrono.start();
    for (const QString& f : fichiers) {
        Tminiature s;
        s.Calcule(f);
    }
    m.signatureMs = static_cast<double>(chrono.nsecsElapsed()) / 1e6 / static_cast<double>(fichiers.size());
    chrono.start();
    for (const QString& f : fichiers)
        DecodeImage(QFile::encodeName(f), QSize(1 << 20, 1 << 20));
    m.pleinMs = static_cast<double>(chrono.nsecsElapsed()) / 1e6 / static_cast<double>(fichiers.size());
    if (jpeg) {
        QStringList liste;
        for (const QString& f : fichiers)
            liste << f;
        m.djpegMs = MsParImageDjpeg(liste);
    }
    return m;
}

void Affiche(const char* nom, const Mesure& m) {
    std::printf("%-22s signature %7.2f ms (%6.1f images/s) | full decode %7.2f ms (%6.1f/s)", nom,
                m.signatureMs, 1000 / m.signatureMs, m.pleinMs, 1000 / m.pleinMs);
    if (m.djpegMs > 0) std::printf(" | djpeg 1/8 %6.2f ms, ratio %.2f", m.djpegMs, m.signatureMs / m.djpegMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QGuiApplication application(argc, argv);
    QTemporaryDir dossier;
    auto fichiers = [&](const char* prefixe, int nombre, int largeur, int hauteur, const char* format) {
        std::vector<QString> liste;
        for (int i = 0; i < nombre; ++i) {
            const QString chemin =
                dossier.path() +
                QStringLiteral("/%1%2.%3").arg(QLatin1String(prefixe)).arg(i).arg(QLatin1String(format));
            const QImage image = PhotoSynthetique(i, largeur, hauteur, 200);
            if (qstrcmp(format, "gif") == 0)
                EcritGifPhoto(chemin, image);
            else
                image.save(chemin, qstrcmp(format, "jpg") == 0 ? "JPEG" : "BMP", 90);
            liste.push_back(chemin);
        }
        return liste;
    };
    Affiche("12 Mpx JPEG (4000x3000)", Mesure_(fichiers("grand", 8, 4000, 3000, "jpg"), true));
    Affiche("640x480 JPEG", Mesure_(fichiers("petit", 100, 640, 480, "jpg"), true));
    Affiche("640x480 GIF", Mesure_(fichiers("gif", 50, 640, 480, "gif"), false));
    Affiche("640x480 BMP", Mesure_(fichiers("bmp", 50, 640, 480, "bmp"), false));

    // Comparisons: each of 1,000 signatures with each other, as the search does.
    std::vector<Tminiature> signatures(1000);
    QRandomGenerator hasard(5);
    for (Tminiature& s : signatures) {
        for (uint8_t& v : s.Grille)
            v = static_cast<uint8_t>(hasard.bounded(256));
        s.Proportion = 0.5 + hasard.generateDouble();
    }
    QElapsedTimer chrono;
    chrono.start();
    int64_t doublons = 0;
    for (const Tminiature& a : signatures)
        for (const Tminiature& b : signatures)
            doublons += EstDoublon(Dissemblance(a, b), 150000);
    const double ns = static_cast<double>(chrono.nsecsElapsed());
    std::printf("Ecart + Dissemblance: %.1f million comparisons/s (%.2f ns each; %lld below the threshold)\n",
                1e6 * 1e3 / ns, ns / 1e6, static_cast<long long>(doublons));
    chrono.start();
    int64_t total = 0;
    for (const Tminiature& a : signatures)
        for (const Tminiature& b : signatures)
            total += Ecart(a, b);
    const double nsEcart = static_cast<double>(chrono.nsecsElapsed());
    std::printf("Ecart alone: %.1f million/s (%.2f ns each; checksum %lld)\n", 1e6 * 1e3 / nsEcart,
                nsEcart / 1e6, static_cast<long long>(total));

    // A store of 100,000 signatures.
    const QString signaturesDossier = dossier.path() + QStringLiteral("/Signatures");
    QDir().mkpath(signaturesDossier);
    TMagasinSignatures magasin(signaturesDossier);
    TListeDoublons liste(QStringLiteral("/photos/Très grand dossier"));
    for (int i = 0; i < 100000; ++i) {
        auto s = std::make_shared<Tminiature>(signatures[static_cast<size_t>(i % 1000)]);
        s->Fichier = liste.Dossier + QStringLiteral("/IMG_%1.jpg").arg(hasard.bounded(100000000));
        liste.Miniatures.push_back(std::move(s));
    }
    chrono.start();
    magasin.Sauve(liste, {});
    const double sauve = static_cast<double>(chrono.nsecsElapsed()) / 1e6;
    TListeDoublons relue(liste.Dossier);
    QStringList doublonsRelus;
    chrono.start();
    magasin.Charge(liste.Dossier, relue, doublonsRelus);
    const double lit = static_cast<double>(chrono.nsecsElapsed()) / 1e6;
    std::printf("store of 100,000 signatures: save %.0f ms, load %.0f ms (%zu read back)\n", sauve, lit,
                relue.Miniatures.size());
    return 0;
}
