#pragma once

#include "core/app/questions.h"
#include "listedestinations.h"

#include <cstdint>

class TListeGroupe;
struct TContexteDestinations;

// Closing destinations, on the open destinations and the tree levels alone. Each destination asks
// its own question (TDestination::DemandeEffacement, through the context) and saves or erases its
// store as it closes (TDestination::Ferme); the answer remembered in the context carries from one
// to the next. The windows hold the busy count and a store batch around these, and redraw after.
class TFermeture {
public:
    TFermeture(TListeDestinations& destinations, TListeGroupe& groupes, TContexteDestinations& contexte);

    // Closes the destination at that index (never the trash), then every destination of the
    // levels below it. The level shown moves up when it can no longer be shown.
    void FermeAvecSousArbre(int index);
    // Closes every destination but the trash. Each asks its question, unless an answer is given
    // beforehand: 9 ("Non pour Tous") closes them all asking nothing, each keeping its signatures.
    // False when the user cancelled all: those not closed stay open, each in a level the panel
    // can reach.
    bool FermeTout(ReponseConfirmation reponseDonnee = ReponseConfirmation::Non);

    // Takes the destination at that index out of the list and its level, and closes it.
    void Retire(int index);
    // A level the panel can show: the top, or a level with tiles whose parent is open.
    bool NiveauAffichable(int32_t id) const;
    // When the level shown can no longer be shown: the fallback level, or the nearest of its
    // parents that can, or the top.
    void RetrouveNiveauAffichable(int32_t repli);
    // Destinations whose level lost its parent go to the top level.
    void RattacheOrphelines();

private:
    TListeDestinations& destinations;
    TListeGroupe& groupes;
    TContexteDestinations& contexte;
};
