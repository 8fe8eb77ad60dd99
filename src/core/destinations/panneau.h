#pragma once

#include "listedestinations.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class TDestination;
class TListeGroupe;

// What a slot of the panel holds: its destination, kept alive with the slot, read as a plain pointer.
class TTuile {
public:
    TTuile() = default;
    TTuile(std::shared_ptr<TDestination> destination) : d(std::move(destination)) {}
    operator TDestination*() const { return d.get(); }
    TDestination* operator->() const { return d.get(); }

private:
    std::shared_ptr<TDestination> d;
};

// The system colours the tiles are drawn with.
struct TCouleursPanneau {
    QColor Face, Lumiere, Ombre, OmbreFoncee;
};

// The column of tiles of the current tree level, drawn into an off-screen picture that the
// window then shows in one copy.
class TPanneauDestinations {
public:
    static constexpr int NombreCases = 51;
    using ListeDestinations = TListeDestinations;

    QImage ImagePanneau;
    int32_t HauteurTuile = 34;
    int32_t NbTuilesVisibles = 0;
    // The destination of each slot, held until the next layout, so that a tile never points at a
    // destination closed meanwhile.
    std::array<TTuile, NombreCases> Tuiles{};

    // The tiles that keys 1 to 9 file into: the first nine of the level shown, below the trash,
    // in the order shown (in a level, the tile that opens it first), whatever the scrolling.
    std::array<TTuile, 9> Raccourcis{};
    // The key of a tile (1 to 9), or 0 when it has none.
    int ToucheDe(const TDestination& d) const;

    // The destinations that hold a near copy of the current image, with that copy's path: their
    // tiles are marked and their hints name the copy.
    QHash<const TDestination*, QString> Copies;

    // What the layout asks of the scroll bar.
    bool BarreVisible = false;
    int32_t BarreMaximum = 0;

    TCouleursPanneau Couleurs;
    QFont PoliceFenetre;
    QImage IconeSousGroupe;

    // Resizes the picture (the size of the tile image control).
    void Redimensionne(QSize taille);

    void RafraichisListeDestinations(const ListeDestinations& destinations, TListeGroupe& groupes);
    void Dessine(TDestination& d, int x, int y, int rang, bool enfonce, int h, int w, int32_t courant);
    void DessineEtat(TDestination& d, bool enfonce);
    void DessineRetour(int x, int y, bool enfonce, int h, int w);
    void DessineSousGroupeEnfonce(const TDestination& d, int y, int h, int32_t courant);
    void DessineDoublonsEnfonce(int y, int h, int w);

    // The destination of the slot under a height in the picture, or none.
    TDestination* TuileA(int y) const;
    // The tile hint: path and the three counts, lines separated by carriage returns, the key
    // that files into the tile when it has one, and the near copy of the current image it holds.
    static QString Indice(const TDestination& d, int touche = 0, const QString& copie = QString());

private:
    void Biseau(QPainter& peintre, int x, int y, int w1, int h1, bool enfonce);
};

// The search mode shown after the percentage: "% (Général)", "% (Local)" or "% (Désactivé)".
QString SuffixeMode(const TDestination& d);
