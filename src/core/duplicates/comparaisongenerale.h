#pragma once

#include "core/destinations/listedestinations.h"

#include <QString>

#include <memory>
#include <vector>

class TDestination;

// A destination entering GENERAL mode has its signatures already: they are compared once with those
// of the other GENERAL destinations (TTacheComparaison), the search's tick starting that before
// any other task. Until it is done, the comparison is marked in the destination and, so that it
// survives the program stopping, in a small file of the store's folder that names the destination's
// folder and the last file compared; the file goes once the comparison is done, or when it no
// longer applies (the destination leaves GENERAL mode, or is closed with its store erased). A
// destination closed otherwise, or read in another mode, keeps it for when it is GENERAL again.

// Searched in GENERAL mode: its LOCAL and GENERAL flags both set.
bool EstGenerale(const TDestination& d);

// The file that keeps a destination's pending comparison; empty without a store.
QString FichierComparaison(const TDestination& d);

// After its mode changed (etaitGenerale: what it was before): entering GENERAL with signatures
// marks them to be compared from the first; leaving GENERAL drops the mark. False when the file
// could not be written or removed (the mark in memory holds for this run).
bool SuitChangementDeMode(TDestination& d, bool etaitGenerale);
// What the user is told when the pending comparison of these folders could not be kept on disk.
QString MessageMarqueComparaison(const QStringList& dossiers);
bool MarqueComparaison(TDestination& d);
bool AnnuleComparaison(TDestination& d);

// Once a destination and its flags have been read from a configuration: the comparison pending
// when it was last closed is marked again from where it was, when it is in GENERAL mode.
void RetrouveComparaison(TDestination& d);

// After a comparison run for the entry into GENERAL mode numbered generation: the store is saved
// when lines were added, then where to resume is kept, or the mark dropped when all was compared.
// A run for an entry that no longer holds changes nothing. The file follows only a store saved, so
// that it never says done what the store has not kept. False when a file could not be written.
bool ConclutComparaison(TDestination& d, int generation, const QString& reprise, bool terminee,
                        int lignesAjoutees);

// What the comparison of destination index pairs with: every other destination searched in
// GENERAL mode whose own comparison is not pending (that one, later, pairs with this one).
std::vector<std::shared_ptr<TDestination>> PartenairesGeneraux(const TListeDestinations& destinations,
                                                               int index);
