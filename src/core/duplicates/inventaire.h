#pragma once

#include "core/destinations/listedestinations.h"
#include "magasin.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// One folder as the signature manager shows it: its store's counts, or, for a folder open as a
// destination, the counts of its lists as they stand.
struct TDossierInventaire {
    TDossierStocke Etat;
    bool Ouvert = false;
    // The folder's open destination, which this does not keep alive.
    std::weak_ptr<TDestination> Destination;
};

// Writes the store of every open destination (entries 1 to the last); the folders whose store could
// not be written.
QStringList SauveMagasinsOuverts(const TListeDestinations& destinations);

// Every folder of the store's index in its order, then the open destinations it does not name (a
// store that could not be written), in list order. An open folder has its live counts and its
// store's date; another, what its store files hold.
QList<TDossierInventaire> InventaireActuel(const QString& dossierSignatures,
                                           const TListeDestinations& destinations);

// A folder's state with the live counts of its open destination.
TDossierStocke EtatOuvert(const TDestination& destination, const TDossierStocke& stocke);

// Erases a folder's signatures: an open destination's with its lists (TDestination::
// EffaceSignatures), another's in the store alone. False when the store could not be erased.
bool EffaceSignaturesDuDossier(const QString& dossierSignatures, const TDossierInventaire& dossier);
