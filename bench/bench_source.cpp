// Scan, sort and list-box fill of large source folders. Prints figures; asserts nothing.
//
//   bench_source [largest count, default 100000]

#include "app/globaux.h"
#include "app/mainform.h"
#include "destinations/destination.h"
#include "source/sourceliste.h"

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

// Image files of the four masks, with varied names, sizes and dates.
void RemplitDossier(const QString& dossier, int nombre) {
    QRandomGenerator hasard(42);
    const char* extensions[] = {".jpg", ".JPG", ".jpeg", ".jpe", ".bmp", ".gif"};
    const QByteArray base = QFile::encodeName(dossier) + '/';
    for (int i = 0; i < nombre; ++i) {
        const QByteArray nom = base + "IMG_" + QByteArray::number(hasard.bounded(1000000)) + '_' +
                               QByteArray::number(i) + extensions[hasard.bounded(6)];
        const int descripteur = ::open(nom.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (descripteur < 0) {
            std::perror(nom.constData());
            return;
        }
        if (::ftruncate(descripteur, hasard.bounded(8 << 20)) != 0) std::perror("ftruncate");
        ::close(descripteur);
        const std::time_t instant = 1200000000 + static_cast<std::time_t>(hasard.bounded(400000000));
        utimbuf temps{instant, instant};
        ::utime(nom.constData(), &temps);
    }
}

double Millisecondes(QElapsedTimer& chrono) {
    return static_cast<double>(chrono.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int plusGrand = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir programme;
    MainForm = new TMainForm(programme.path(), programme.path());

    std::printf("%8s %8s %10s %10s %12s %10s | %8s %8s %8s %8s\n", "files", "listed", "scan ms", "name ms",
                "listbox ms", "total ms", "name", "date", "size", "ext");
    for (const int nombre : {plusGrand / 10, plusGrand * 3 / 10, plusGrand}) {
        QTemporaryDir dossier;
        RemplitDossier(dossier.path(), nombre);
        TSourceListe liste;
        TListeDestinations destinations;
        ListeSource = &liste;

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
        std::printf("%8d %8d %10.1f %10.1f %12.1f %10.1f | %8.1f %8.1f %8.1f %8.1f\n", nombre,
                    liste.Fichiers.Count(), scan, nom, remplissage, scan + nom + remplissage, tris[0],
                    tris[1], tris[2], tris[3]);
        ListeSource = nullptr;
        MainForm->ListBox1->clear();
    }
    delete MainForm;
    return 0;
}
