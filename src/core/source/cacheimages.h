#pragma once

#include "decodage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSize>

#include <cstdint>
#include <optional>

// The pictures kept for the display never take more than this together.
inline constexpr qint64 CacheImagesMaximal = qint64{256} << 20;

// What tells that a file is still the one a picture was decoded from: its size and modification
// time. Taille is -1 when the file cannot be read.
struct TEmpreinteFichier {
    qint64 Taille = -1;
    qint64 ModificationNs = 0;
    bool operator==(const TEmpreinteFichier&) const = default;
};

TEmpreinteFichier EmpreinteDe(const QByteArray& chemin);

// Decoded pictures of the source folder, by file and screen size, bounded in memory. The files
// around the position shown (the neighbourhood, most wanted first) are the last to go; others go
// least recently used first. A picture is given back only while its file is unchanged. Every
// method may be called from any thread.
class TCacheImages {
public:
    explicit TCacheImages(qint64 budget = CacheImagesMaximal, int nombreMaximal = 128);

    // The picture kept for that file decoded for that screen, if the file has not changed since.
    std::optional<TImageDecodee> Cherche(const QByteArray& chemin, QSize ecran);

    // Keeps a picture decoded from the file as avant describes it, read before the decode. Nothing
    // is kept when the file has changed or gone since, or when the picture would be the first to
    // go to stay within the bounds.
    enum class Rangement { Gardee, Perimee, SansPlace };
    Rangement Range(const QByteArray& chemin, QSize ecran, const TImageDecodee& image,
                    TEmpreinteFichier avant);

    // Drops the picture of a file that has left the source.
    void Oublie(const QByteArray& chemin);

    // The files around the position, most wanted first.
    void FixeVoisinage(const QList<QByteArray>& chemins);

    void Vide();

    qint64 Octets() const;
    qint64 OctetsMax() const; // the most the kept pictures ever took together
    int Nombre() const;

private:
    struct Entree {
        TImageDecodee Image;
        QSize Ecran;
        TEmpreinteFichier Empreinte;
        qint64 Octets = 0;
        uint64_t Usage = 0;
    };

    // Drops pictures, those that matter least first, until the bounds hold. Returns the files dropped.
    QList<QByteArray> Elague();
    void Retire(const QByteArray& chemin);

    const qint64 budget;
    const int nombreMaximal;
    mutable QMutex verrou;
    QHash<QByteArray, Entree> entrees;
    QHash<QByteArray, int> rangs; // place in the neighbourhood
    qint64 octets = 0;
    qint64 octetsMax = 0;
    uint64_t horloge = 0;
};
