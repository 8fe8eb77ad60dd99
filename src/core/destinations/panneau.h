#pragma once

#include "listedestinations.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
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

// The zones a press on the panel tells apart, with the values a pressed zone is known by.
enum class TZoneTuile : int32_t { Aucune = -1, Titre = 0, Doublons = 1, Niveau = 2, Retour = 3 };

// Where the parts of one tile lie in the picture. The drawing places every part from these
// rectangles and the hit testing reads the same ones, so what is drawn and what a press reaches
// cannot drift apart. Rectangles hold both their edge pixels; an absent part is an empty rectangle.
struct TGeometrieTuile {
    QRect Tuile;    // the whole tile, bevel included
    QRect Puits;    // the level-icon well, its frame included (tiles that open a level)
    QRect Texte;    // where the title may be written
    QRect Compteur; // the duplicate counter box, its frame included (not on the trash)
    QRect Barre;    // the progress well along the bottom, its frame included (not on the trash)
    // Where a press counts, each across the whole height of the tile: the level icon (the left
    // columns up to the well's right edge), the title (left of the counter box) and the counter
    // (from the box's left edge to the tile's right edge). The level icon comes before the title.
    QRect ZoneNiveau, ZoneTitre, ZoneDoublons;

    // The parts of a tile drawn raised in the rectangle tuile.
    static TGeometrieTuile Pour(const QRect& tuile, bool ouvreNiveau, bool corbeille);
    // The zone under a point; a tile that is not active answers only on its level icon.
    TZoneTuile ZoneA(QPoint point, bool active) const;
};

// What lies under a point of the panel.
struct TCibleTuile {
    int Case = -1;                       // the slot, or -1 outside the picture
    TDestination* Destination = nullptr; // the tile of that slot, if it holds one
    TZoneTuile Zone = TZoneTuile::Aucune;
};

// What a release asks of the window, with the destination it concerns (for Remonte, the parent).
struct TRelacheTuile {
    enum TAction { Rien, Remonte, Ouvre, Classe, Revoit } Action = Rien;
    TDestination* Destination = nullptr;
};

// The column of tiles of the current tree level, drawn into an off-screen picture that the
// window then shows in one copy.
class TPanneauDestinations {
public:
    static constexpr int NombreCases = 51;
    // The width of the return strip of a sub-level, by which the level's own tiles stand indented.
    static constexpr int LargeurRetour = 20;
    using ListeDestinations = TListeDestinations;

    // The picture of the column at the screen's own pixels: its size is the control's logical size
    // times Rapport, and its pixel ratio is set, so everything below is drawn in logical
    // coordinates and comes out sharp at any ratio.
    QImage ImagePanneau;
    // The control's logical size and the screen's pixel ratio the picture was made for.
    QSize Taille;
    qreal Rapport = 1.0;
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

    // Where the last layout put each slot's tile, and the return strip (empty at the top level).
    std::array<TGeometrieTuile, NombreCases> Places{};
    QRect Retour;

    // What the layout asks of the scroll bar.
    bool BarreVisible = false;
    int32_t BarreMaximum = 0;

    TCouleursPanneau Couleurs;
    QFont PoliceFenetre;
    // The level icon at 16 x 16 and, when there is one, the same drawing at 32 x 32 for screens
    // denser than 100 %.
    QImage IconeSousGroupe, IconeSousGroupe2x;
    // The level icon to draw at the picture's ratio, its pixel ratio set so that it covers 16 x 16
    // logical pixels either way.
    QImage IconeNiveau() const;

    // Makes a new picture for a control of that logical size on a screen of that pixel ratio.
    void Redimensionne(QSize taille, qreal rapport = 1.0);

    void RafraichisListeDestinations(const ListeDestinations& destinations, TListeGroupe& groupes);
    // The parts of d's tile laid in the slot rectangle (x, y, w, h) of level courant: the
    // level's own tiles stand right of the return strip.
    static TGeometrieTuile PlaceDe(const TDestination& d, int x, int y, int h, int w, int32_t courant);
    void Dessine(TDestination& d, int x, int y, int rang, bool enfonce, int h, int w, int32_t courant);
    void DessineEtat(TDestination& d, bool enfonce);
    void DessineRetour(bool enfonce);
    void DessineSousGroupeEnfonce(const TGeometrieTuile& place);
    void DessineDoublonsEnfonce(const TGeometrieTuile& place);

    // The destination of the slot under a height in the picture, or none.
    TDestination* TuileA(int y) const;
    // The slot, tile and zone under a point, from the rectangles of the last layout.
    TCibleTuile Sous(QPoint point) const;

    // A press at a point: the tile under it is remembered (the right button stops there); a
    // press on a zone draws that zone pressed. Returns what is under the point.
    TCibleTuile Appuie(QPoint point, bool droit);
    // A release: the pressed tile and strip are drawn raised again, and what the press and the
    // release together ask is returned; only a release over the pressed tile asks anything.
    TRelacheTuile Relache(QPoint point);
    // A press that no release will complete (a key filed meanwhile): drawn raised and forgotten.
    void OublieAppui();
    // The tile hint: path and the three counts, lines separated by carriage returns, the key
    // that files into the tile when it has one, and the near copy of the current image it holds.
    static QString Indice(const TDestination& d, int touche = 0, const QString& copie = QString());

private:
    void Biseau(QPainter& peintre, int x, int y, int w1, int h1, bool enfonce);
    void DessineTuile(TDestination& d, const TGeometrieTuile& place, int rang, bool enfonce);

    int32_t Courant = 0; // the level of the last layout
    // The last press: the destinations-list index of its tile (-1 if none, or if that tile is not
    // active and the press was not on its level icon or the strip), its height and its zone. A
    // press on no zone leaves the zone of the press before.
    int32_t TuileEnfoncee = -1;
    int32_t YEnfonce = 0;
    TZoneTuile ZoneEnfoncee = TZoneTuile::Titre;
    TTuile Enfoncee; // the tile of the pressed slot, kept until the release draws it raised
};

// The search mode shown after the percentage: "% (Général)", "% (Local)" or "% (Désactivé)".
QString SuffixeMode(const TDestination& d);
