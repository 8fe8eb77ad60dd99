#pragma once

#include "cacheimages.h"
#include "decodage.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QSet>
#include <QThread>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class TChargeurImages;

// One loader thread at idle priority: takes the most wanted file from its loader, decodes it for
// the display, keeps it in the cache and hands it to the main thread, until the loader stops.
class TTacheSource : public QThread {
    Q_OBJECT
public:
    explicit TTacheSource(TChargeurImages& chargeur);

    // Decodes under way in all loaders.
    static int Vivantes() { return enCours.load(); }

protected:
    void run() override;

private:
    friend class TChargeurImages;
    TChargeurImages& chargeur;
    // What the thread decodes, under the loader's lock; empty when it waits.
    QByteArray fichier;
    bool urgent = false;
    bool attendEngagement = false; // waits for leave to begin a decode that cannot stop
    bool engagee = false;          // inside such a decode
    QSize ecran;                   // the screen size the file is decoded for, set with it
    // Set when a slot waits for a file and every thread decodes one that no slot waits for.
    std::atomic<bool> abandon{false};
    static inline std::atomic<int> enCours{0};
};

// Decodes the files around the position shown on its loader threads: first those a slot waits
// for (urgent), those with no first picture on screen before the others, then the anticipated ones
// most wanted first, as long as the cache can keep them. Each picture decoded is handed to the main
// thread through Decodee, kept or not. A file is decoded once at a time, and not at all while the
// cache holds it unchanged. An urgent file never waits for a decode that is not: that decode gives
// up and its file goes back to the list.
// A decode that cannot be stopped once begun (a HEIF picture) waits for leave: it begins only
// while no other thread is in one, no better-wanted file waits, and, unless its slot has nothing
// to show yet, once the wants have not changed for a while; a held key changes them faster, so
// that its steps show each file's first picture rather than wait for whole ones.
class TChargeurImages : public QObject {
    Q_OBJECT
public:
    explicit TChargeurImages(TCacheImages& cache, int fils = 2, QObject* parent = nullptr);
    // Drops what is still wanted, and waits for the decodes under way, which give up.
    ~TChargeurImages() override;

    // The files wanted for a screen of that size instead of those wanted before: urgent ones
    // decoded whatever the cache can keep, then anticipated ones, most wanted first, until the
    // first picture that the cache cannot keep. Another screen size gives up the decodes under way
    // that can stop: each file is decoded again for the new size.
    void Veut(const QList<QByteArray>& urgents, const QList<QByteArray>& anticipes, QSize ecran);

    // How long the wants stay unchanged before a decode that cannot stop may begin: longer than
    // the interval of a held key's repeats. Tests lengthen it to hold such decodes back.
    static inline std::atomic<int> CalmeMs{150};

    // Forgets what is wanted; decodes under way finish.
    void Arrete() { Veut({}, {}, QSize()); }
    // True when every thread waits with nothing left to take: every picture it was to hand over has
    // been handed over (its Decodee emitted), and no more will come until the next Veut.
    bool AuRepos();

signals:
    // A picture decoded for a screen of that size. One decoded for a size no longer wanted is
    // neither kept nor handed over; yet the size was wanted when it was handed over, not
    // necessarily when it arrives.
    void Decodee(QByteArray chemin, TImageDecodee image, QSize ecran);
    // A first picture of an urgent progressive file, before its Decodee.
    void Ebauche(QByteArray chemin, TImageDecodee image, QSize ecran);

private:
    friend class TTacheSource;
    // Gives the thread the next file to decode and its screen size; waits for one, and returns
    // false once stopped.
    bool Prend(TTacheSource& tache);
    // Whether the thread may begin a decode of its file that cannot stop; waits until it may, or
    // gives the file up (and asks the decode to stop) when it should go to a better-wanted one.
    bool Engage(TTacheSource& tache);
    // Notes the first picture of an urgent file; false when it was already handed over.
    bool NoteEbauche(const QByteArray& chemin);
    // Keeps the picture decoded by the thread and hands it over, unless its screen size is no
    // longer wanted; false then.
    bool Livre(TTacheSource& tache, const TImageDecodee& image, TEmpreinteFichier avant, bool& place);
    void Termine(TTacheSource& tache, bool place, bool abandonne);
    // 0 for the most wanted file: urgent files with nothing on screen, urgent files showing a first
    // picture, then the anticipated ones, each in the order given; INT_MAX when unwanted.
    int Rang(const QByteArray& chemin) const;
    // How many files better wanted than that rank no thread has taken.
    int LibresMeilleurs(int rang) const;

    TCacheImages& cache;
    std::mutex verrou;
    std::condition_variable travail;
    QList<QByteArray> urgents;
    QList<QByteArray> anticipes;
    // The lists as given, to put back a file given up and to rank the files.
    QList<QByteArray> urgentsVoulus;
    QList<QByteArray> anticipesVoulus;
    // Urgent files whose first picture has been handed over.
    QSet<QByteArray> ebauchees;
    // When the wants last changed.
    std::chrono::steady_clock::time_point changement;
    QSize ecranVoulu;
    bool plein = false; // a picture of the present list did not fit: the rest would not either
    int enAttente = 0;  // threads waiting for a file
    bool fin = false;
    std::vector<std::unique_ptr<TTacheSource>> taches;
};

Q_DECLARE_METATYPE(TImageDecodee)
