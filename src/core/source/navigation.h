#pragma once

#include <cstdint>

// How long a step held back by a loading preview waits before it tries again, at most.
inline constexpr int AttenteApercuMs = 100;

// What a display request comes to when the navigation timer fires.
enum class EtapeAffichage {
    Attente,    // a preview is still loading: try again in 100 ms
    Rien,       // nothing to show (a step past the last file)
    Avance,     // shift the slots one file forward
    Recule,     // shift the slots one file back
    AfficheTout // full display at the new position
};

struct DecisionAffichage {
    EtapeAffichage Etape = EtapeAffichage::Rien;
    int32_t IndexAffiche = 0;
    int32_t IndexDemande = 0;
};

// A request this close to the shown position is reached by one-file steps, each picture shown on
// the way (an arrow key held, or wheel ticks, running ahead of the display); a page or further, by
// a full display.
inline constexpr int32_t PasDeRattrapage = 8;

// The cheapest display step from the shown position A toward the requested D. A negative request -k
// asks for what now stands at k after the file there was removed.
DecisionAffichage DecideEtape(int32_t indexAffiche, int32_t indexDemande, bool couranteRetiree,
                              int32_t nombre, bool apercuEnChargement);
