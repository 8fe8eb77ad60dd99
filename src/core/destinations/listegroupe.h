#pragma once

#include <QFont>

#include <cstdint>
#include <memory>
#include <vector>

#include "listedestinations.h"

class TDestination;

// One level of the destination tree, as the panel lays it out.
struct TGroupe {
    int32_t Position = 0;   // tiles scrolled out above the view
    int32_t HauteurMax = 0; // largest absolute title height among the level's tiles and its parent's
    int32_t NbTuiles = 1;   // 1 for the trash, plus the destinations counted into the level
    int32_t Id = 0;
};

// Absolute pixel height of a title font.
int32_t HauteurAbsolue(const QFont& police);

// The levels of the destination tree and the level shown. A lookup of an id that is no level
// falls back to the top level, so that nothing ever points at a missing level.
class TListeGroupe {
public:
    using ListeDestinations = TListeDestinations;

    TListeGroupe();

    // The destinations the heights are computed over (entry 0, the trash, included).
    const ListeDestinations* Destinations = nullptr;

    std::vector<std::unique_ptr<TGroupe>> Groupes;
    int32_t Courant = 0;

    void Ajoute(const TDestination& d);
    void AjouteGroupe(const TDestination& d);
    // Creates the level that d opens, without counting d anywhere.
    void CreeNiveau(const TDestination& d);
    void Retire(TDestination& d);
    void Recalcule(const TDestination& d);
    int32_t NouvelId() const;

    int32_t PositionCourante() const;
    void FixePositionCourante(int32_t position);
    int32_t HauteurCourante() const;
    int32_t NbCourant() const;

    // The level of that id, or none.
    TGroupe* Groupe(int32_t id) const;
    bool Existe(int32_t id) const { return Groupe(id) != nullptr; }

private:
    // The level of that id, or the top level when there is none.
    TGroupe& GroupeOuRacine(int32_t id) const;
    int32_t HauteurMaxDe(int32_t id) const;
};
