// Scan, sort and list-box fill of large source folders. Prints figures; asserts nothing.
//
//   bench_source [--mixte] [largest count, default 100000]
//
// By default the folders hold files of the four historical masks; with --mixte, files of every
// extension the program reads (any letter case), a fifth of them with extensions it does not read
// (sidecars, videos), which the scan must skip.

#include "banc.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>

namespace {

const QList<QByteArray> ExtensionsHistoriques{".jpg", ".JPG", ".jpeg", ".jpe", ".bmp", ".gif"};
// Every extension read, some in capitals, then five that are not read, one in five files.
const QList<QByteArray> ExtensionsMixtes{".jpg",  ".JPG", ".jpeg", ".jpe",  ".bmp",  ".gif",  ".png", ".PNG",
                                         ".webp", ".tif", ".tiff", ".heic", ".HEIC", ".heif", ".hif", ".avif",
                                         ".jxl",  ".dng", ".cr2",  ".CR2",  ".cr3",  ".nef",  ".NEF", ".nrw",
                                         ".arw",  ".ARW", ".srf",  ".sr2",  ".orf",  ".rw2",  ".raf", ".pef",
                                         ".srw",  ".3fr", ".iiq",  ".erf",  ".kdc",  ".mrw",  ".rwl"};
const QList<QByteArray> ExtensionsIgnorees{".xmp", ".txt", ".mov", ".MP4", ".thm"};

// Files with varied names, sizes and dates; the number of them with an extension that is read.
int RemplitDossier(const QString& dossier, int nombre, bool mixte) {
    QRandomGenerator hasard(42);
    const QByteArray base = QFile::encodeName(dossier) + '/';
    int images = 0;
    for (int i = 0; i < nombre; ++i) {
        const bool ignore = mixte && hasard.bounded(5) == 0;
        const QList<QByteArray>& extensions =
            ignore ? ExtensionsIgnorees : (mixte ? ExtensionsMixtes : ExtensionsHistoriques);
        if (!ignore) ++images;
        const QByteArray nom =
            base + "IMG_" + QByteArray::number(hasard.bounded(1000000)) + '_' + QByteArray::number(i) +
            extensions[static_cast<int>(hasard.bounded(static_cast<quint32>(extensions.size())))];
        const int descripteur = ::open(nom.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (descripteur < 0) {
            std::perror(nom.constData());
            return images;
        }
        if (::ftruncate(descripteur, hasard.bounded(8 << 20)) != 0) std::perror("ftruncate");
        ::close(descripteur);
        const std::time_t instant = 1200000000 + static_cast<std::time_t>(hasard.bounded(400000000));
        utimbuf temps{instant, instant};
        ::utime(nom.constData(), &temps);
    }
    return images;
}

double Millisecondes(QElapsedTimer& chrono) {
    return static_cast<double>(chrono.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int premier = 1;
    const bool mixte = argc > 1 && qstrcmp(argv[1], "--mixte") == 0;
    if (mixte) ++premier;
    const int plusGrand = argc > premier ? std::atoi(argv[premier]) : 100000;
    std::printf("%s\n", mixte ? "Every extension read, and one file in five of an extension not read"
                              : "The four historical masks");

    QTemporaryDir programme;
    TSession session;
    session.CreeDonnees();
    MainForm = new TMainForm(session, programme.path(), programme.path());

    std::printf("%8s %8s %8s %10s %10s %12s %10s | %8s %8s %8s %8s\n", "files", "images", "listed", "scan ms",
                "name ms", "listbox ms", "total ms", "name", "date", "size", "ext");
    for (const int nombre : {plusGrand / 10, plusGrand * 3 / 10, plusGrand}) {
        QTemporaryDir dossier;
        const int images = RemplitDossier(dossier.path(), nombre, mixte);
        // The window lists the session's source: scanned afresh each round.
        TSourceListe& liste = *session.ListeSource();
        TListeDestinations destinations;

        // Once to bring the folder into the page cache, as after any earlier look at it.
        liste.ChargeDossier(dossier.path(), destinations);

        QElapsedTimer chrono;
        chrono.start();
        liste.ChargeDossier(dossier.path(), destinations);
        const double scan = Millisecondes(chrono);
        chrono.restart();
        liste.Trie(TriNom);
        const double nom = Millisecondes(chrono);
        chrono.restart();
        MainForm->RemplitListe();
        const double remplissage = Millisecondes(chrono);

        // Each sort timed from the order that another sort left.
        double tris[4];
        const int ordre[4] = {TriNom, TriDate, TriTaille, TriExtension};
        liste.Trie(TriExtension);
        for (int k = 0; k < 4; ++k) {
            chrono.restart();
            liste.Trie(ordre[k]);
            tris[k] = Millisecondes(chrono);
        }
        std::printf("%8d %8d %8d %10.1f %10.1f %12.1f %10.1f | %8.1f %8.1f %8.1f %8.1f\n", nombre, images,
                    liste.Fichiers.Count(), scan, nom, remplissage, scan + nom + remplissage, tris[0],
                    tris[1], tris[2], tris[3]);
        Controle<QListWidget>("ListBox1")->clear();
    }
    delete MainForm;
    return 0;
}
