#pragma once

#include "decodage.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <memory>
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
    TChargeurImages& chargeur;
    static inline std::atomic<int> enCours{0};
};

// Decodes the files around the position shown, most wanted first, on its loader threads, and
// keeps the pictures in the cache as long as they fit; each picture decoded is also handed to the
// main thread through Decodee, whether it was kept or not. A file is decoded once at a time, and
// not at all while the cache holds it unchanged.
class TChargeurImages : public QObject {
    Q_OBJECT
public:
    explicit TChargeurImages(TCacheImages& cache, int fils = 2, QObject* parent = nullptr);
    // Drops what is still wanted and waits for the decodes under way.
    ~TChargeurImages() override;

    // The files wanted for a screen of that size, most wanted first, instead of those wanted before.
    // The first urgents are decoded whatever the cache can keep; the others stop at the first
    // picture that it cannot.
    void Veut(const QList<QByteArray>& chemins, QSize ecran, int urgents);

    // Forgets what is wanted; decodes under way finish.
    void Arrete() { Veut({}, QSize(), 0); }

signals:
    void Decodee(QByteArray chemin, TImageDecodee image);

private:
    friend class TTacheSource;
    // The next file to decode and its screen size; waits for one, and returns false once stopped.
    bool Prend(QByteArray& chemin, QSize& ecran, bool& urgent);
    void Termine(const QByteArray& chemin, bool urgent, bool place);

    TCacheImages& cache;
    QMutex verrou;
    QWaitCondition travail;
    QList<QByteArray> urgents;
    QList<QByteArray> anticipes;
    QSize ecranVoulu;
    QSet<QByteArray> enCours;
    bool plein = false; // a picture of the present list did not fit: the rest would not either
    bool fin = false;
    std::vector<std::unique_ptr<TTacheSource>> taches;
};

Q_DECLARE_METATYPE(TImageDecodee)
