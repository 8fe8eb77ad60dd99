#include "navigation.h"

DecisionAffichage DecideEtape(int32_t a, int32_t d, bool couranteRetiree, int32_t nombre,
                              bool apercuEnChargement) {
    DecisionAffichage decision{EtapeAffichage::Attente, a, d};
    if (apercuEnChargement) return decision;
    if (d == a && couranteRetiree) {
        decision.Etape = EtapeAffichage::Avance;
    } else if (d < 0) {
        decision.IndexDemande = -d;
        decision.Etape = EtapeAffichage::Avance;
    } else if (d == a + 1 || (d > a + 1 && d - a <= PasDeRattrapage && d < nombre)) {
        decision.Etape = a + 1 < nombre ? EtapeAffichage::Avance : EtapeAffichage::Rien;
        if (a + 1 < nombre) decision.IndexAffiche = a + 1;
    } else if (d < a - 1 && a - d <= PasDeRattrapage) {
        decision.IndexAffiche = a - 1;
        decision.Etape = EtapeAffichage::Recule;
    } else if (d == a - 1) {
        decision.IndexAffiche = a - 1;
        decision.Etape = EtapeAffichage::Recule;
    } else {
        decision.IndexAffiche = d;
        decision.Etape = EtapeAffichage::AfficheTout;
    }
    return decision;
}
