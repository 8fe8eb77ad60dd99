#pragma once

#include "core/destinations/listedestinations.h"
#include "miniature.h"

#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <vector>

class TDestination;

// Whether the search works on a destination: active (not the source folder) and its search on.
bool EstCherchee(const TDestination& d);

// What the search's one-second tick finds over the destinations, entries 1 to the last in list
// order: the totals shown in the tool bars, and the first destination due for a task (searched,
// something queued, the search allowed and not busy). The totals stop at that one. The duplicate
// lines are those of every destination; the images signed and queued, those of the destinations
// searched only, so that the progress reaches its end when their work is done.
struct TBilanRecherche {
    qint64 Doublons = 0;
    qint64 Signatures = 0;
    qint64 AFaire = 0;
    int ADemarrer = -1;       // none
    bool Comparaison = false; // the task due is the comparison of a destination entered in GENERAL mode
};
TBilanRecherche BilanRecherche(const TListeDestinations& destinations, bool autorisee, int32_t occupe);

// The progress bar's figures: the images signed, out of those signed and those waiting (one of
// one when there is neither), the filled width of a bar, and the percentage.
struct TProgression {
    qint64 Fait = 1;
    qint64 Total = 1;
    int Largeur(int largeurBarre) const { return static_cast<int>(largeurBarre * Fait / Total); }
    int Pourcentage() const { return static_cast<int>(100 * Fait / Total); }
};
TProgression ProgressionDe(const TBilanRecherche& bilan);

// Every signature of every active destination, entries 1 to the last, in list order, whatever
// their own search mode: what a GENERAL task compares with.
std::vector<std::shared_ptr<Tminiature>> SignaturesGenerales(const TListeDestinations& destinations);

// The search mode of every destination but the trash: off, LOCAL, or GENERAL (locale and generale);
// those that enter or leave GENERAL mode have their comparison marked or dropped.
// The folders whose pending GENERAL comparison could not be kept on disk (MessageMarqueComparaison).
QStringList FixeModeRecherche(const TListeDestinations& destinations, bool locale, bool generale);

// The first destination (entries 1 to the last) a task works on; -1 when none.
int DestinationEnTraitement(const TListeDestinations& destinations);

// The next destination with duplicate lines after entry dernier, wrapping round to entry 0 and up
// to dernier itself; -1 when none has any.
int SuivanteAvecDoublons(const TListeDestinations& destinations, int dernier);

// Where a level of n tiles (the trash aside) is scrolled to bring the tile at position pos into
// view, nbVisibles tiles fitting in the panel: that tile first, or the level's end filling the view.
int32_t PositionPourMontrer(int n, int pos, int nbVisibles);
