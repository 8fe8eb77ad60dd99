// Duplicate search figures: a folder of 300 real-looking photos (12-megapixel and 640 x 480 JPEGs,
// some progressive, GIFs and BMPs) searched on one thread and with the helper threads, against
// `djpeg -dct fast -nosmooth -scale 1/8` on the same JPEGs; one new signature against 100,000;
// a destination of 20,000 signatures entering GENERAL mode compared with 20,000 others; starting a
// GENERAL task over 100,000 signatures in 100 destinations; the one-second tick over 2,000
// destinations; memory per signature; quitting while a 200-megapixel JPEG is being decoded. Prints
// figures; asserts nothing.
//
//   bench_recherche [folder for the photos, kept between runs; default a folder of the temp dir]
//   bench_recherche comparaison   (the comparison of a destination entering GENERAL mode alone)

#include "banc.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/ecart.h"
#include "core/duplicates/planification.h"
#include "core/duplicates/recherche.h"
#include "core/source/decodage.h"
#include "djpeg.h"
#include "photo.h"

#include <QApplication>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <jpeglib.h>
#include <malloc.h>

#include <cstdio>
#include <vector>

namespace {

// The photos, made once and kept: 60 of 4000 x 3000 (one in three progressive), 200 of 640 x 480,
// 20 GIFs and 20 BMPs of 640 x 480; one in ten a recompressed copy of the one before.
QStringList PreparePhotos(const QString& dossier) {
    QDir().mkpath(dossier);
    QStringList fichiers;
    for (int i = 0; i < 300; ++i) {
        const bool grande = i < 60, gif = i >= 260 && i < 280, bmp = i >= 280;
        const QString chemin =
            dossier +
            QStringLiteral("/p%1.%2").arg(i, 3, 10, QChar(u'0')).arg(gif ? "gif" : (bmp ? "bmp" : "jpg"));
        fichiers << chemin;
        if (QFileInfo::exists(chemin)) continue;
        const int graine = i % 10 == 9 ? i - 1 : i;
        const QImage image =
            grande ? PhotoSynthetique(graine, 4000, 3000, 200) : PhotoSynthetique(graine, 640, 480);
        if (gif) {
            EcritGifPhoto(chemin, image);
        } else if (bmp) {
            image.save(chemin, "BMP");
        } else {
            QImageWriter ecrivain(chemin, "jpeg");
            ecrivain.setQuality(i % 10 == 9 ? 60 : 90);
            ecrivain.setProgressiveScanWrite(grande && i % 3 == 0);
            ecrivain.write(image);
        }
    }
    return fichiers;
}

struct Recherche {
    double ms = 0;
    QStringList doublons;
    qsizetype signatures = 0;
};

Recherche Cherche(const QString& dossier, int aides) {
    QTemporaryDir programme;
    TContexteDestinations contexte;
    contexte.DossierProgramme = programme.path();
    contexte.ReponseMemorisee = ReponseConfirmation::Oui;
    auto d = std::make_shared<TDestination>(&contexte);
    d->Charge(dossier, QStringLiteral("Photos"));
    std::atomic<int32_t> occupe{0}, sensibilite{150000};
    TTacheMini tache(d, nullptr, sensibilite, occupe, aides);
    QElapsedTimer chrono;
    chrono.start();
    tache.start(QThread::IdlePriority);
    tache.wait();
    return {Ms(chrono), d->Doublons, d->Comptes().Signatures};
}

// A JPEG of width x height written row by row, so that it never sits whole in memory.
void EcritGrandJpeg(const QString& chemin, int largeur, int hauteur) {
    std::FILE* f = std::fopen(QFile::encodeName(chemin).constData(), "wb");
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr erreur{};
    cinfo.err = jpeg_std_error(&erreur);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(largeur);
    cinfo.image_height = static_cast<JDIMENSION>(hauteur);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> ligne(static_cast<size_t>(largeur) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < largeur; ++x) {
            ligne[3 * static_cast<size_t>(x)] = static_cast<JSAMPLE>((x ^ y) & 0xff);
            ligne[3 * static_cast<size_t>(x) + 1] = static_cast<JSAMPLE>((x * 7 + y) >> 6);
            ligne[3 * static_cast<size_t>(x) + 2] = static_cast<JSAMPLE>((x + y * 3) >> 5);
        }
        JSAMPROW rangee = ligne.data();
        jpeg_write_scanlines(&cinfo, &rangee, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

std::shared_ptr<Tminiature> SignatureAuHasard(QRandomGenerator& hasard) {
    auto s = std::make_shared<Tminiature>();
    for (uint8_t& v : s->Grille)
        v = static_cast<uint8_t>(hasard.bounded(256));
    s->Proportion = 0.5 + hasard.generateDouble();
    return s;
}

// A destination of 20,000 signatures entering GENERAL mode, compared once with the 20,000 of
// another GENERAL destination (one in 200 a copy), on the comparison's own thread.
void MesureComparaison(QRandomGenerator& hasard) {
    auto entree = std::make_shared<TDestination>(), autre = std::make_shared<TDestination>();
    entree->Chemin = QStringLiteral("/nulle/part/entree");
    autre->Chemin = QStringLiteral("/nulle/part/autre");
    for (int k = 0; k < 20000; ++k) {
        auto s = SignatureAuHasard(hasard);
        s->Fichier = entree->Chemin + QStringLiteral("/%1.jpg").arg(k);
        auto t = k % 200 == 0 ? std::make_shared<Tminiature>(*s) : SignatureAuHasard(hasard);
        t->Fichier = autre->Chemin + QStringLiteral("/%1.jpg").arg(k);
        entree->AjouteSignature(std::move(s), {});
        autre->AjouteSignature(std::move(t), {});
    }
    const std::atomic<int32_t> sensibilite{150000};
    std::atomic<int32_t> occupe{0};
    TTacheComparaison tache(entree, {autre}, QString(), 1, sensibilite, occupe);
    QElapsedTimer chrono;
    chrono.start();
    tache.start();
    tache.wait();
    std::printf("comparison of 20,000 signatures entering GENERAL mode with 20,000 of another "
                "destination (%s): %.0f ms, %d pairs, %s\n",
                FormeEcart(), Ms(chrono), tache.LignesAjoutees, tache.Terminee ? "done" : "NOT DONE");
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc > 1 && QByteArray(argv[1]) == "comparaison") {
        QRandomGenerator hasard(9);
        MesureComparaison(hasard);
        return 0;
    }
    const QString dossier = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                     : QDir::tempPath() + QStringLiteral("/mirasolve-banc-recherche");
    const QStringList fichiers = PreparePhotos(dossier);
    for (const QString& f : fichiers) { // in the page cache, as a folder just sorted into is
        QFile lu(f);
        if (lu.open(QIODevice::ReadOnly)) lu.readAll();
    }

    // The search over the folder: one thread, then the helpers.
    const int aides = TTacheMini::DecodeursEnPlusParDefaut();
    const Recherche seul = Cherche(dossier, 0);
    const Recherche pool = Cherche(dossier, aides);
    std::printf(
        "search over 300 photos: one thread %.0f ms (%.2f ms per image), %d helper(s) %.0f ms, ratio %.2f; "
        "%lld signatures, %lld pairs, identical: %s\n",
        seul.ms, seul.ms / 300, aides, pool.ms, pool.ms / seul.ms, static_cast<long long>(seul.signatures),
        static_cast<long long>(seul.doublons.size()),
        seul.doublons == pool.doublons && seul.signatures == pool.signatures ? "yes" : "NO");

    // The JPEGs alone, signed on one thread, against djpeg at 1/8 on the same files.
    QStringList jpegs;
    for (const QString& f : fichiers)
        if (f.endsWith(QStringLiteral(".jpg"))) jpegs << f;
    QElapsedTimer chrono;
    chrono.start();
    for (const QString& f : jpegs) {
        Tminiature s;
        s.CalculeOctets(QFile::encodeName(f));
    }
    const double signatureJpeg = Ms(chrono) / static_cast<double>(jpegs.size());
    const double parJpeg = MsParImageDjpeg(jpegs);
    if (parJpeg > 0)
        std::printf(
            "the %lld JPEGs: signature %.2f ms per image, djpeg 1/8 %.2f ms (start-up removed), ratio %.2f\n",
            static_cast<long long>(jpegs.size()), signatureJpeg, parJpeg, signatureJpeg / parJpeg);

    // One new signature against 100,000, as a GENERAL task compares it.
    QRandomGenerator hasard(9);
    TListeComparaison comparaison;
    comparaison.Reserve(100000);
    for (int i = 0; i < 100000; ++i)
        comparaison.Ajoute(SignatureAuHasard(hasard));
    std::vector<std::shared_ptr<Tminiature>> nouvelles;
    for (int i = 0; i < 100; ++i)
        nouvelles.push_back(SignatureAuHasard(hasard));
    for (const bool portable : {false, true}) {
        ForceEcartPortable(portable);
        qsizetype lignes = 0;
        chrono.start();
        for (const auto& n : nouvelles)
            lignes += comparaison.Compare(*n, 150000).size();
        const double ms = Ms(chrono) / 100;
        std::printf(
            "one new signature against 100,000 (%s): %.3f ms, %.0f million comparisons/s (%lld pairs)\n",
            FormeEcart(), ms, 100000 / ms / 1000, static_cast<long long>(lignes));
    }
    ForceEcartPortable(false);

    MesureComparaison(hasard);

    // Memory per signature held by a destination (its path aside), and the extra of a GENERAL task.
    {
        const std::size_t avant = mallinfo2().uordblks;
        std::vector<std::shared_ptr<Tminiature>> tenues;
        tenues.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            tenues.push_back(std::make_shared<Tminiature>());
        const std::size_t tenuesOctets = mallinfo2().uordblks - avant;
        TListeComparaison copie;
        copie.Reserve(tenues.size());
        for (const auto& s : tenues)
            copie.Ajoute(s);
        TListeGenerale generale;
        generale.Remplace(tenues);
        const std::size_t pendant = mallinfo2().uordblks - avant;
        std::printf("memory per signature: %.0f bytes held by its destination, %.0f during a GENERAL task\n",
                    static_cast<double>(tenuesOctets) / 1e5, static_cast<double>(pendant) / 1e5);
    }

    // The main window with 100 destinations of 1,000 signatures, then 2,000 destinations.
    QTemporaryDir racine;
    const QString programme = racine.path() + QStringLiteral("/programme");
    QDir().mkpath(programme);
    qputenv("HOME", QFile::encodeName(racine.path()));
    TQuestionsBanc questions;
    DemarreProgramme(programme);
    MainForm->FixeQuestions(&questions);
    Controle<QTimer>("Timer2")->stop();
    for (int i = 0; i < 100; ++i) {
        auto d = std::make_shared<TDestination>();
        d->Chemin = QStringLiteral("/nulle/part/%1").arg(i);
        for (int k = 0; k < 1000; ++k)
            d->AjouteSignature(SignatureAuHasard(hasard), {});
        Config()->Destinations.Ajoute(d->Chemin, d);
    }
    chrono.start();
    MainForm->Session().ListeGenerale->Remplace(SignaturesGenerales(Config()->Destinations));
    std::printf("GENERAL task over 100,000 signatures in 100 destinations: %.2f ms on the main thread\n",
                Ms(chrono));
    for (int i = 100; i < 2000; ++i) {
        auto d = std::make_shared<TDestination>();
        d->Chemin = QStringLiteral("/nulle/part/%1").arg(i);
        Config()->Destinations.Ajoute(d->Chemin, d);
    }
    chrono.start();
    for (int k = 0; k < 100; ++k)
        MainForm->FinTache();
    std::printf("one-second tick over 2,000 destinations: %.3f ms\n", Ms(chrono) / 100);
    Config()->Destinations.DetruitDepuis(1);

    // Quitting while the task decodes a 200-megapixel JPEG (16384 x 12288).
    const QString grand = dossier + QStringLiteral("/grand");
    QDir().mkpath(grand);
    if (!QFileInfo::exists(grand + QStringLiteral("/200mpx.jpg")))
        EcritGrandJpeg(grand + QStringLiteral("/200mpx.jpg"), 16384, 12288);
    TDestination* d = MainForm->AjouteDestination(grand, true, 0, 1);
    if (!d) return 1;
    chrono.start();
    Tminiature seule;
    seule.CalculeOctets(QFile::encodeName(grand + QStringLiteral("/200mpx.jpg")));
    const double decodage = Ms(chrono);
    MainForm->Timer2Timer();
    const bool lancee = d->EnTraitement;
    QElapsedTimer attente;
    attente.start();
    while (attente.elapsed() < std::min<qint64>(300, static_cast<qint64>(decodage / 3)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const bool enCours = d->Comptes().Signatures == 0 && MainForm->Session().Occupe.load() > 0;
    chrono.start();
    MainForm->close();
    while (MainForm->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    std::printf("quitting while a 200-megapixel JPEG is signed (%.0f ms for its whole signature; task %s, "
                "decode %s): window closed in %.0f ms\n",
                decodage, lancee ? "started" : "NOT started", enCours ? "under way" : "NOT under way",
                Ms(chrono));
    DetruitFenetres();
    return 0;
}
