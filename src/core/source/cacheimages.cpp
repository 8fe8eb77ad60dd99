#include "cacheimages.h"

#include <sys/stat.h>

#include <climits>
#include <tuple>

TEmpreinteFichier EmpreinteDe(const QByteArray& chemin) {
    struct stat etat {};
    if (chemin.isEmpty() || ::stat(chemin.constData(), &etat) != 0 || !S_ISREG(etat.st_mode)) return {};
    return {static_cast<qint64>(etat.st_size),
            static_cast<qint64>(etat.st_mtim.tv_sec) * 1000000000 + etat.st_mtim.tv_nsec};
}

TCacheImages::TCacheImages(qint64 budgetOctets, int nombre) : budget(budgetOctets), nombreMaximal(nombre) {}

std::optional<TImageDecodee> TCacheImages::Cherche(const QByteArray& chemin, QSize ecran) {
    QMutexLocker garde(&verrou);
    const auto entree = entrees.find(chemin);
    if (entree == entrees.end() || entree->Ecran != ecran) return std::nullopt;
    if (EmpreinteDe(chemin) != entree->Empreinte) {
        Retire(chemin);
        return std::nullopt;
    }
    entree->Usage = ++horloge;
    return entree->Image;
}

TCacheImages::Rangement TCacheImages::Range(const QByteArray& chemin, QSize ecran, const TImageDecodee& image,
                                            TEmpreinteFichier avant) {
    QMutexLocker garde(&verrou);
    // Read again under the lock: a file moved away before this point is not kept, and one moved
    // after it is dropped by the Oublie that follows the move.
    if (avant.Taille < 0 || EmpreinteDe(chemin) != avant) return Rangement::Perimee;
    Retire(chemin);
    const qint64 taille = image.Image.sizeInBytes();
    entrees.insert(chemin, Entree{image, ecran, avant, taille, ++horloge});
    octets += taille;
    const QList<QByteArray> retires = Elague();
    octetsMax = std::max(octetsMax, octets);
    return retires.contains(chemin) ? Rangement::SansPlace : Rangement::Gardee;
}

void TCacheImages::Oublie(const QByteArray& chemin) {
    QMutexLocker garde(&verrou);
    Retire(chemin);
}

void TCacheImages::FixeVoisinage(const QList<QByteArray>& chemins) {
    QMutexLocker garde(&verrou);
    rangs.clear();
    for (int i = 0; i < chemins.size(); ++i)
        rangs.insert(chemins[i], i);
}

void TCacheImages::Vide() {
    QMutexLocker garde(&verrou);
    entrees.clear();
    octets = 0;
}

qint64 TCacheImages::Octets() const {
    QMutexLocker garde(&verrou);
    return octets;
}

qint64 TCacheImages::OctetsMax() const {
    QMutexLocker garde(&verrou);
    return octetsMax;
}

int TCacheImages::Nombre() const {
    QMutexLocker garde(&verrou);
    return static_cast<int>(entrees.size());
}

void TCacheImages::Retire(const QByteArray& chemin) {
    const auto entree = entrees.find(chemin);
    if (entree == entrees.end()) return;
    octets -= entree->Octets;
    entrees.erase(entree);
}

QList<QByteArray> TCacheImages::Elague() {
    QList<QByteArray> retires;
    // The count stays small (bounded by nombreMaximal), so a scan per picture dropped is enough.
    while (octets > budget || entrees.size() > nombreMaximal) {
        auto pire = entrees.end();
        std::tuple<int, uint64_t> pireCle{-1, 0};
        for (auto entree = entrees.begin(); entree != entrees.end(); ++entree) {
            // Outside the neighbourhood before inside it, then the furthest, then the oldest.
            const int rang = rangs.value(entree.key(), INT_MAX);
            const std::tuple<int, uint64_t> cle{rang, UINT64_MAX - entree->Usage};
            if (pire == entrees.end() || cle > pireCle) {
                pire = entree;
                pireCle = cle;
            }
        }
        retires << pire.key();
        octets -= pire->Octets;
        entrees.erase(pire);
    }
    return retires;
}
