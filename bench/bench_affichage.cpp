// Display figures on 12-megapixel JPEGs: decode at screen scale against a full decode, memory per
// slot, repaint time, one-file step time, holding the right arrow over 100 photos, filing to the
// next image painted (one at a time, then 20 in a row at 3 a second), a jump of ten files onto a
// 20-megapixel progressive JPEG, and the peak memory of the picture cache. With "recherche", all
// of it while the duplicate search signs 300 photos of a destination on every core. With "copies",
// 100 more destinations hold 1,000 signatures each, one of them a half-size copy of a source photo:
// the caption saying where the current image already is, measured from the picture painted. Run it
// on the screen to measure (for instance a 1920 x 1080 Xvfb screen, or the offscreen platform given
// a screen of that size). With "heic", the photos are HEIC files holding a 320-pixel thumbnail:
// the signature's decode with and without the thumbnail against heif-convert, and holding the right
// arrow over them, then nothing more. Prints figures; asserts nothing.
//
//   bench_affichage [number of photos, default 100] [recherche | copies | heic]

#include "banc.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/dejaclasse.h"
#include "core/duplicates/miniature.h"
#include "core/source/ajusteimage.h"
#include "core/source/cacheimages.h"
#include "core/source/decodage.h"
#include "core/source/sourceliste.h"
#include "core/source/tachesource.h"
#include "enregistrement.h"
#include "photo.h"
#include "photoheif.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace {

double Ms(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

void EcritOctets(const QString& chemin, const QByteArray& octets) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size())
        std::printf("could not write %s\n", qPrintable(chemin));
}

TOptionsHeif VignetteHeic() {
    TOptionsHeif options;
    options.Vignette = 320;
    return options;
}

// The best of five runs of a step, in ms.
double Meilleur(const std::function<void()>& etape) {
    qint64 meilleur = std::numeric_limits<qint64>::max();
    for (int k = 0; k < 5; ++k) {
        QElapsedTimer chrono;
        chrono.start();
        etape();
        meilleur = std::min(meilleur, chrono.nsecsElapsed());
    }
    return Ms(meilleur);
}

// The signature's decode of a 12-megapixel HEIC with and without its thumbnail, against the
// library's own command writing the whole picture, in the same run.
void MesureSignatureHeic(const QByteArray& avecVignette, const QString& dossier) {
    const QString sansVignette = dossier + QStringLiteral("/sans-vignette.heic");
    EcritOctets(sansVignette, OctetsHeif(PhotoSynthetique(0, 4000, 3000, 400)));
    const QByteArray sans = QFile::encodeName(sansVignette);
    const double avec = Meilleur([&] { DecodeImagePourSignature(avecVignette); });
    const double entiere = Meilleur([&] { DecodeImagePourSignature(sans); });
    auto commande = [&](const QString& sortie) {
        return Meilleur([&] {
            QProcess::execute(QStringLiteral("heif-convert"), {QFile::decodeName(avecVignette), sortie});
        });
    };
    const double png = commande(dossier + QStringLiteral("/convertie.png"));
    const double jpg = commande(dossier + QStringLiteral("/convertie.jpg"));
    const double rapide = std::min(png, jpg);
    std::printf("signature decode of a 12-MP HEIC: %.1f ms with its thumbnail, %.1f ms without; heif-convert "
                "to png %.1f ms, to jpg %.1f ms; ratios to the faster: %.3f and %.2f\n",
                avec, entiere, png, jpg, avec / rapide, entiere / rapide);
}

} // namespace

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    FixeLimiteDecodage();
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false);
    const int nombre = argc > 1 ? std::max(3, std::atoi(argv[1])) : 100;
    const bool recherche = argc > 2 && qstrcmp(argv[2], "recherche") == 0;
    const bool copies = argc > 2 && qstrcmp(argv[2], "copies") == 0;
    const bool heic = argc > 2 && qstrcmp(argv[2], "heic") == 0;
    const QString extension = heic ? QStringLiteral("heic") : QStringLiteral("jpg");
    // Pictures are decoded for the screen's own pixels: its logical size at its pixel ratio.
    const QSize logique = QGuiApplication::primaryScreen()->geometry().size();
    const qreal rapport = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QSize ecran = TailleEnPixels(logique, rapport);
    std::printf("screen %dx%d logical at pixel ratio %.2f: %dx%d pixels; %d photos of 4000x3000\n",
                logique.width(), logique.height(), rapport, ecran.width(), ecran.height(), nombre);

    QTemporaryDir racine;
    const QString source = racine.path() + QStringLiteral("/photos");
    const QString programme = racine.path() + QStringLiteral("/programme");
    QDir().mkpath(source);
    QDir().mkpath(programme);
    const int distinctes = std::min(nombre, 12);
    std::vector<QByteArray> fichiers;
    for (int i = 0; i < nombre; ++i) {
        const QString chemin =
            source + QStringLiteral("/photo%1.%2").arg(i, 4, 10, QChar(u'0')).arg(extension);
        if (i < distinctes && heic)
            EcritOctets(chemin, OctetsHeif(PhotoSynthetique(i, 4000, 3000, 400), VignetteHeic()));
        else if (i < distinctes)
            PhotoSynthetique(i, 4000, 3000, 400).save(chemin, "JPEG", 90);
        else
            QFile::copy(
                source + QStringLiteral("/photo%1.%2").arg(i % distinctes, 4, 10, QChar(u'0')).arg(extension),
                chemin);
        fichiers.push_back(QFile::encodeName(chemin));
    }
    std::printf("file size: %lld KiB\n",
                static_cast<long long>(QFileInfo(QFile::decodeName(fichiers[0])).size() / 1024));
    if (heic) MesureSignatureHeic(fichiers[0], racine.path());

    // Decoding at screen scale against a full-size decode.
    QElapsedTimer chrono;
    qint64 ecranNs = 0, entierNs = 0;
    TImageDecodee reduite, entiere;
    for (int i = 0; i < distinctes; ++i) {
        chrono.start();
        reduite = DecodeImage(fichiers[static_cast<size_t>(i)], ecran);
        ecranNs += chrono.nsecsElapsed();
        chrono.start();
        entiere = DecodeImage(fichiers[static_cast<size_t>(i)], QSize(100000, 100000));
        entierNs += chrono.nsecsElapsed();
    }
    std::printf("decode at screen scale: %.1f ms (%dx%d kept, %.1f MiB, %.0f%% of the full-size pixels)\n",
                Ms(ecranNs / distinctes), reduite.Image.width(), reduite.Image.height(),
                static_cast<double>(reduite.Image.sizeInBytes()) / (1 << 20),
                100.0 * reduite.Image.width() * reduite.Image.height() /
                    (entiere.Image.width() * entiere.Image.height()));
    std::printf("full-size decode:       %.1f ms (%.1f MiB)\n", Ms(entierNs / distinctes),
                static_cast<double>(entiere.Image.sizeInBytes()) / (1 << 20));
    // The same photos decoded for the logical size, as a screen of that size at ratio 1 has them.
    qint64 logiqueNs = 0;
    TImageDecodee pourLogique;
    for (int i = 0; i < distinctes; ++i) {
        chrono.start();
        pourLogique = DecodeImage(fichiers[static_cast<size_t>(i)], logique);
        logiqueNs += chrono.nsecsElapsed();
    }
    std::printf(
        "JPEG scale for the pixels %d/8, %.1f ms a decode; for the logical size %d/8 (%dx%d), %.1f ms\n",
        EchelleJpeg(entiere.Naturelle, ecran), Ms(ecranNs / distinctes),
        EchelleJpeg(entiere.Naturelle, logique), pourLogique.Image.width(), pourLogique.Image.height(),
        Ms(logiqueNs / distinctes));
    chrono.start();
    for (int i = 0; i < 10; ++i)
        SignatureDAffichage(reduite, QStringLiteral("x.jpg"));
    std::printf("signature from the picture decoded for the screen: %.2f ms\n",
                Ms(chrono.nsecsElapsed() / 10));

    // A destination of 300 copies of the photos to sign, and one to file into.
    const QString aSigner = racine.path() + QStringLiteral("/a-signer");
    const QString classees = racine.path() + QStringLiteral("/classees");
    QDir().mkpath(classees);
    if (recherche) {
        QDir().mkpath(aSigner);
        for (int i = 0; i < 300; ++i)
            QFile::copy(QFile::decodeName(fichiers[static_cast<size_t>(i % distinctes)]),
                        aSigner + QStringLiteral("/copie%1.jpg").arg(i));
    }
    constexpr int DestinationsDeCopies = 100;
    QStringList configuration{QStringLiteral("DestinationCount=%1")
                                  .arg(1 + (recherche ? 1 : 0) + (copies ? DestinationsDeCopies : 0))};
    configuration << Enregistrement("Classees", classees);
    if (recherche) configuration << Enregistrement("A signer", aSigner, -1, 0, "XXXX*X");
    for (int i = 0; copies && i < DestinationsDeCopies; ++i) {
        const QString dossier = racine.path() + QStringLiteral("/copies%1").arg(i);
        QDir().mkpath(dossier);
        configuration << Enregistrement(QStringLiteral("Copies %1").arg(i), dossier);
    }
    QFile ini(programme + QStringLiteral("/Mirasolve.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write(configuration.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    ini.close();

    // The whole program on that source.
    qputenv("HOME", QFile::encodeName(source));
    DemarreProgramme(programme);
    MainForm->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    MainForm->FixeSeparateurs(300, 160, 160);
    // The controls read while measuring, found once so that no search of the window is timed.
    QTimer* const timerCourantAff = Controle<QTimer>("TimerCourantAff");
    TImage* const courante = Controle<TImage>("ImageCourante");
    QScrollBar* const scrollBar1 = Controle<QScrollBar>("ScrollBar1");
    QGroupBox* const groupBoxCourant = Controle<QGroupBox>("GroupBoxCourant");
    auto repos = [=] {
        return !timerCourantAff->isActive() && Source()->ChargementsEnCours == 0 &&
               !MainForm->Affichage->ApercuEnChargement() && !MainForm->Affichage->PreparationEnCours();
    };
    // The event loop sleeps between events as the program's does, so that the loader threads get
    // the processors; a 2 ms heartbeat wakes it to check conditions that no event announces.
    QTimer battement;
    battement.start(2);
    auto dort = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    auto attend = [&](const std::function<bool()>& condition) {
        while (!condition())
            dort();
    };
    attend([] { return MainForm->isVisible(); });
    QTest::qWait(200);
    attend(repos);
    if (recherche) {
        MainForm->Timer2Timer();
        std::printf("duplicate search under way: %s, %d helper thread(s)\n",
                    MainForm->Session().Occupe.load() > 0 ? "yes" : "NO",
                    MainForm->Session().DecodeursEnPlus);
    }
    std::printf("current image control: %dx%d\n", courante->width(), courante->height());
    int copiesMontrees = 0;
    QObject::connect(MainForm, &TMainForm::CopiesMontrees, [&copiesMontrees] { ++copiesMontrees; });
    if (copies) {
        // 1,000 signatures in each of the 100 destinations; in the first, a half-size copy of photo 5.
        QRandomGenerator hasard(7);
        const QString copie = Config()->Destinations.Element(2)->Chemin + QStringLiteral("/moitie5.jpg");
        QImage(QFile::decodeName(fichiers[5])).scaled(2000, 1500).save(copie, "JPEG", 85);
        for (int i = 2; i < Config()->Destinations.Count(); ++i) {
            TDestination* d = Config()->Destinations.Element(i);
            d->ReserveSignatures(1000);
            for (int k = 0; k < 1000; ++k) {
                auto signature = std::make_shared<Tminiature>();
                if (i == 2 && k == 0) {
                    signature->Calcule(copie);
                } else {
                    for (uint8_t& case_ : signature->Grille)
                        case_ = static_cast<uint8_t>(hasard.bounded(256));
                    signature->Proportion = 4.0 / 3.0;
                    signature->Fichier = d->Chemin + QStringLiteral("/x%1.jpg").arg(k);
                }
                d->AjouteSignature(std::move(signature), {});
            }
        }
        MainForm->VerifieCopiesDeLaCourante();
        std::printf("%d destinations holding 1000 signatures each\n", Config()->Destinations.Count() - 2);
    }

    // Repaints: an expose, then a resize that rescales the kept copy once.
    courante->repaint();
    qint64 pire = 0, total = 0;
    for (int k = 0; k < 50; ++k) {
        chrono.start();
        courante->repaint();
        const qint64 t = chrono.nsecsElapsed();
        total += t;
        pire = std::max(pire, t);
    }
    std::printf("repaint (expose): mean %.2f ms, worst %.2f ms\n", Ms(total / 50), Ms(pire));
    // A resize gives the control a new size: the kept copy is scaled again once, at that paint.
    pire = total = 0;
    const QRect place = courante->geometry();
    for (int k = 0; k < 20; ++k) {
        courante->setGeometry(place.adjusted(0, 0, -8 * (k % 2), -6 * (k % 2)));
        chrono.start();
        courante->repaint();
        const qint64 t = chrono.nsecsElapsed();
        total += t;
        pire = std::max(pire, t);
    }
    courante->setGeometry(place);
    std::printf("repaint after a resize: mean %.2f ms, worst %.2f ms\n", Ms(total / 20), Ms(pire));
    attend(repos);

    // One-file steps with the next picture ready: the timer's work plus the paint of the new image.
    pire = total = 0;
    const int pas = std::min(20, nombre - 2);
    for (int k = 0; k < pas; ++k) {
        attend(repos);
        ++Source()->IndexDemande;
        chrono.start();
        MainForm->TimerCourantAffTimer();
        courante->repaint();
        const qint64 t = chrono.nsecsElapsed();
        total += t;
        pire = std::max(pire, t);
    }
    std::printf("one-file step, timer to painted: mean %.2f ms, worst %.2f ms\n", Ms(total / pas), Ms(pire));

    // The caption: from the new picture painted to where its near copies are shown, step by step
    // from the first photo, past photo 5, whose copy is in "Copies 0".
    if (copies) {
        Source()->IndexDemande = 0;
        MainForm->ArmeTimerCourantAff();
        attend(repos);
        QTest::qWait(500);
        pire = total = 0;
        int mesures = 0;
        for (int k = 0; k < 10; ++k) {
            attend(repos);
            QTest::qWait(100);
            const int avant = copiesMontrees;
            ++Source()->IndexDemande;
            MainForm->TimerCourantAffTimer();
            courante->repaint();
            chrono.start();
            attend([&] { return copiesMontrees > avant || chrono.elapsed() > 2000; });
            const qint64 t = chrono.nsecsElapsed();
            total += t;
            pire = std::max(pire, t);
            ++mesures;
            // Only photo 5 has a copy among these (the photos repeat from the thirteenth on).
            if (groupBoxCourant->title() != QStringLiteral("Image courante"))
                std::printf("photo %d: \"%s\"\n", Source()->IndexAffiche,
                            groupBoxCourant->title().toUtf8().constData());
        }
        std::printf(
            "caption after the picture painted, 100,000 signatures in 100 destinations: mean %.2f ms, "
            "worst %.2f ms\n",
            Ms(total / mesures), Ms(pire));
    }

    // Holding the right arrow (30 repeats a second) from the first to the last photo.
    Source()->IndexDemande = 0;
    MainForm->ArmeTimerCourantAff();
    attend(repos);
    scrollBar1->setFocus();
    QTimer repetition;
    repetition.setInterval(33);
    QObject::connect(&repetition, &QTimer::timeout, [=] { QTest::keyClick(scrollBar1, Qt::Key_Right); });
    // A position counts as shown once its picture is in the current slot, not merely requested.
    qint64 plusLongArret = 0;
    int montrees = 0, derniereMontree = 0;
    QElapsedTimer boucle, duree;
    repetition.start();
    duree.start();
    boucle.start();
    while (derniereMontree < nombre - 1 && duree.elapsed() < 120000) {
        dort();
        plusLongArret = std::max(plusLongArret, boucle.nsecsElapsed());
        if (!courante->isHidden() && Source()->IndexAffiche != derniereMontree) {
            derniereMontree = Source()->IndexAffiche;
            ++montrees;
        }
        if (Source()->IndexAffiche >= nombre - 1) repetition.stop();
        boucle.start();
    }
    const double secondes = static_cast<double>(duree.nsecsElapsed()) / 1e9;
    repetition.stop();
    std::printf(
        "holding right over %d photos: %.2f s, %.1f steps/s (key repeat 30/s), %d of the %d positions "
        "painted on the way, longest main-thread stall %.1f ms\n",
        nombre, secondes, (nombre - 1) / secondes, montrees, nombre - 1, Ms(plusLongArret));
    if (heic) {
        // The key is released on the last photo: when are its whole picture and the preview's painted.
        chrono.start();
        TImageDecodee montree;
        QByteArray chemin;
        auto courantEntier = [&] { return MainForm->Affichage->ImageCourante(montree, chemin); };
        attend([&] { return courantEntier() || chrono.elapsed() > 10000; });
        const double courantMs = Ms(chrono.nsecsElapsed());
        attend([&] { return repos() || chrono.elapsed() > 10000; });
        std::printf("at release: position %d of %d shown, its whole picture %s after %.1f ms, the "
                    "preview's too after %.1f ms\n",
                    Source()->IndexAffiche + 1, nombre, courantEntier() ? "painted" : "NOT painted",
                    courantMs, Ms(chrono.nsecsElapsed()));
        MainForm->close();
        attend([] { return !MainForm->isVisible() && TTacheSource::Vivantes() == 0; });
        DetruitFenetres();
        return 0;
    }
    attend(repos);

    // Filing the current image to the next one painted, ten times.
    pire = total = 0;
    qint64 classement = 0, minuterie = 0;
    TDestination* cible = Config()->Destinations.Element(1);
    for (int k = 0; k < 10; ++k) {
        attend(repos);
        chrono.start();
        MainForm->Classe(*cible, false);
        classement += chrono.nsecsElapsed();
        MainForm->TimerCourantAffTimer();
        minuterie += chrono.nsecsElapsed();
        courante->repaint();
        const qint64 t = chrono.nsecsElapsed();
        total += t;
        pire = std::max(pire, t);
    }
    std::printf(
        "filing to the next image painted: mean %.2f ms, worst %.2f ms (filing %.2f ms, display timer "
        "%.2f ms, paint %.2f ms)\n",
        Ms(total / 10), Ms(pire), Ms(classement / 10), Ms((minuterie - classement) / 10),
        Ms((total - minuterie) / 10));

    // Twenty filings at three a second, each through the click's own path: the filing, the
    // display timer, the paint. The time runs from the click to the new picture painted.
    // The user looks at the photo before the streak, as before any filing.
    attend(repos);
    QTest::qWait(1000);
    pire = total = 0;
    int enSerie = 0;
    QElapsedTimer cadence;
    cadence.start();
    for (int k = 0; k < 20 && Source()->Fichiers.Count() > 1; ++k) {
        while (cadence.elapsed() < 333 * k)
            dort();
        chrono.start();
        MainForm->Classe(*cible, false);
        attend([=] { return !timerCourantAff->isActive() && !MainForm->Affichage->ApercuEnChargement(); });
        courante->repaint();
        const qint64 t = chrono.nsecsElapsed();
        total += t;
        pire = std::max(pire, t);
        ++enSerie;
        if (t > 30000000) std::printf("  filing %d: %.1f ms\n", k, Ms(t));
    }
    std::printf("%d filings at 3/s, click to next image painted: mean %.2f ms, worst %.2f ms\n", enSerie,
                Ms(total / std::max(1, enSerie)), Ms(pire));

    // A jump of ten files onto a 20-megapixel progressive JPEG that no loader has seen.
    attend(repos);
    if (Source()->Fichiers.Count() <= 10) {
        std::printf("too few photos left for the jump\n");
        return 1;
    }
    Source()->IndexDemande = 0;
    MainForm->ArmeTimerCourantAff();
    attend(repos);
    QTest::qWait(3000); // the loaders finish what they decode ahead
    attend(repos);
    const QByteArray grande = Source()->Fichiers.Texte(10);
    {
        QImageWriter ecrivain(QFile::decodeName(grande), "JPEG");
        ecrivain.setQuality(90);
        ecrivain.setProgressiveScanWrite(true);
        ecrivain.write(PhotoSynthetique(99, 5472, 3648, 400));
    }
    scrollBar1->setFocus();
    chrono.start();
    QTest::keyClick(scrollBar1, Qt::Key_PageDown);
    // First its early scans' picture, then the whole file's.
    attend([=] {
        return Source()->IndexAffiche == 10 && !timerCourantAff->isActive() && !courante->isHidden();
    });
    courante->repaint();
    const qint64 ebauche = chrono.nsecsElapsed();
    attend([] { return !MainForm->Affichage->ApercuEnChargement(); });
    courante->repaint();
    std::printf(
        "jump of ten files onto a 5472x3648 progressive JPEG (%lld KiB): current picture painted after "
        "%.1f ms from its first scans, %.1f ms whole (%dx%d shown)\n",
        static_cast<long long>(QFileInfo(QFile::decodeName(grande)).size() / 1024), Ms(ebauche),
        Ms(chrono.nsecsElapsed()), courante->TailleNaturelle().width(), courante->TailleNaturelle().height());
    attend(repos);
    chrono.start();
    const TImageDecodee seule = DecodeImage(grande, ecran);
    std::printf("the same file decoded alone on the main thread: %.1f ms\n", Ms(chrono.nsecsElapsed()));
    const TCacheImages& cache = MainForm->Affichage->Cache();
    std::printf("picture cache: peak %.1f MiB (bound %lld MiB), %d pictures kept now\n",
                static_cast<double>(cache.OctetsMax()) / (1 << 20),
                static_cast<long long>(CacheImagesMaximal >> 20), cache.Nombre());
    if (recherche)
        std::printf("duplicate search still under way at the end: %s (%lld signed)\n",
                    MainForm->Session().Occupe.load() > 0 ? "yes" : "no",
                    static_cast<long long>(Config()->Destinations.Element(2)->Comptes().Signatures));
    attend(repos);
    MainForm->close();
    attend([] { return !MainForm->isVisible() && TTacheSource::Vivantes() == 0; });

    // The loaders over 40 photos of 8000 x 6000, each far larger decoded than the 12-megapixel ones.
    {
        const QString grandes = racine.path() + QStringLiteral("/grandes");
        QDir().mkpath(grandes);
        QList<QByteArray> chemins;
        const QString modele = grandes + QStringLiteral("/g0.jpg");
        PhotoSynthetique(7, 8000, 6000, 400).save(modele, "JPEG", 90);
        for (int i = 0; i < 40; ++i) {
            const QString chemin = grandes + QStringLiteral("/g%1.jpg").arg(i);
            if (i > 0) QFile::copy(modele, chemin);
            chemins << QFile::encodeName(chemin);
        }
        TCacheImages cacheGrandes;
        TChargeurImages chargeurGrandes(cacheGrandes);
        int decodees = 0;
        QObject::connect(&chargeurGrandes, &TChargeurImages::Decodee, [&decodees] { ++decodees; });
        cacheGrandes.FixeVoisinage(chemins);
        chrono.start();
        chargeurGrandes.Veut(chemins.first(3), chemins.sliced(3), ecran);
        QTest::qWait(200);
        attend([&] { return TTacheSource::Vivantes() == 0; });
        QCoreApplication::processEvents();
        const TImageDecodee une = DecodeImage(chemins[0], ecran);
        std::printf(
            "loaders over 40 photos of 8000x6000 (%.1f MiB decoded each): %d decoded in %.2f s, %d kept, "
            "cache peak %.1f MiB\n",
            static_cast<double>(une.Image.sizeInBytes()) / (1 << 20), decodees,
            static_cast<double>(chrono.nsecsElapsed()) / 1e9, cacheGrandes.Nombre(),
            static_cast<double>(cacheGrandes.OctetsMax()) / (1 << 20));
    }
    DetruitFenetres();
    return 0;
}
