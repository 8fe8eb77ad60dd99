#pragma once

#include "decodage.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QSet>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class TCacheImages;
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
    // Set when a slot waits for a file and every thread decodes one that no slot waits for.
    std::atomic<bool> abandon{false};
    static inline std::atomic<int> enCours{0};
};

// Decodes the files around the position shown on its loader threads: first those a slot waits
// for (urgent), then the others most wanted first, as long as the cache can keep them. Each picture
// decoded is handed to the main thread through Decodee, kept or not. A file is decoded once at a
// time, and not at all while the cache holds it unchanged. An urgent file never waits for a
// decode that is not: that decode gives up and its file goes back to the list.
class TChargeurImages : public QObject {
    Q_OBJECT
public:
    explicit TChargeurImages(TCacheImages& cache, int fils = 2, QObject* parent = nullptr);
    // Drops what is still wanted, and waits for the decodes under way, which give up.
    ~TChargeurImages() override;

    // The files wanted for a screen of that size instead of those wanted before: urgent ones
    // decoded whatever the cache can keep, then anticipated ones, most wanted first, until the
    // first picture that the cache cannot keep.
    void Veut(const QList<QByteArray>& urgents, const QList<QByteArray>& anticipes, QSize ecran);

    // Forgets what is wanted; decodes under way finish.
    void Arrete() { Veut({}, {}, QSize()); }
    // True when every thread waits with nothing left to take: every picture it was to hand over has
    // been handed over (its Decodee emitted), and no more will come until the next Veut.
    bool AuRepos();

signals:
    void Decodee(QByteArray chemin, TImageDecodee image);
    // A first picture of an urgent progressive file, before its Decodee.
    void Ebauche(QByteArray chemin, TImageDecodee image);

private:
    friend class TTacheSource;
    // The next file to decode and its screen size; waits for one, and returns false once stopped.
    bool Prend(TTacheSource& tache, QSize& ecran);
    void Termine(TTacheSource& tache, bool place, bool abandonne);

    TCacheImages& cache;
    std::mutex verrou;
    std::condition_variable travail;
    QList<QByteArray> urgents;
    QList<QByteArray> anticipes;
    // The lists as given, to put back a file given up.
    QSet<QByteArray> urgentsVoulus;
    QSet<QByteArray> anticipesVoulus;
    QSize ecranVoulu;
    bool plein = false; // a picture of the present list did not fit: the rest would not either
    int enAttente = 0;  // threads waiting for a file
    bool fin = false;
    std::vector<std::unique_ptr<TTacheSource>> taches;
};

Q_DECLARE_METATYPE(TImageDecodee)
