#pragma once

#include "core/app/listeobjets.h"
#include "core/destinations/listedestinations.h"
#include "fichiersource.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class IAttente;
class IFenetrePrincipale;
class TDestination;

using TListeFichiers = TListeObjets<QByteArray, TFichierSource>;

enum ModeTri { TriNom = 1, TriDate = 2, TriTaille = 3, TriExtension = 4 };

// The image files of the source folder in the order in which they are shown and numbered.
class TSourceListe {
public:
    // Entry i: the full path's bytes, and that file's record.
    TListeFichiers Fichiers;
    int32_t IndexAffiche = 0;
    int32_t IndexDemande = 0;
    QString Chemin;
    bool CouranteRetiree = false;
    int32_t ChargementsEnCours = 0;

    // Where the scan reports its progress and the list box hint; both optional.
    IAttente* Attente = nullptr;
    IFenetrePrincipale* Fenetre = nullptr;

    // Empties the list and fills it from the folder's image files, one block per mask, then marks
    // each destination active unless it is the scanned folder. False when the folder could not be
    // read (missing, not a folder, no permission): the list is then empty.
    bool ChargeDossier(const QString& dossier, TListeDestinations& destinations);

    // Sorts the list in place by one of the four modes; any other mode leaves it unchanged.
    void Trie(int mode);
};

// The record the folder scan would make for a file (name, low 32 bits of the size, DOS time), or
// none when the file cannot be read.
std::unique_ptr<TFichierSource> EnregistrementDe(const QByteArray& chemin);

// The hint of the source list box for a folder.
QString IndiceListeSource(const QString& dossier);
