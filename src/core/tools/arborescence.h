#pragma once

#include "core/destinations/listedestinations.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

// What a walk through a folder tree needs to know of one folder.
struct TContenuDossier {
    // Full paths of the sub-folders, in the order the file system returns them; hidden ones (a
    // leading ".") are left out. A folder that cannot be read has none.
    QStringList SousDossiers;
    // True when some entry's name matches one of the four image masks.
    bool ContientImages = false;
};

// Reads the folder once.
TContenuDossier LitDossier(const QString& dossier);

// What identifies a folder on disk whatever the path that leads to it ("..", "." or doubled
// separators, "/.." above the root, a symbolic link): its device and inode (on Windows, its
// canonical path with letter case ignored).
struct TIdentiteDossier {
    uint64_t Peripherique = 0;
    uint64_t Noeud = 0;
    QString Canonique;
    bool operator==(const TIdentiteDossier&) const = default;
    bool operator<(const TIdentiteDossier& autre) const {
        return std::tie(Peripherique, Noeud, Canonique) <
               std::tie(autre.Peripherique, autre.Noeud, autre.Canonique);
    }
};

// The identity of the folder those bytes (or that text) lead to; none when they lead to no folder.
std::optional<TIdentiteDossier> IdentiteDossier(const QByteArray& chemin);
std::optional<TIdentiteDossier> IdentiteDossier(const QString& chemin);

// True when both paths lead to the same folder; two paths that lead to no folder are the same
// only as the same text.
bool MemeDossier(const QString& a, const QString& b);

// The folders a walk has entered, by their identity on disk, so that a link back to a folder
// already walked cannot send the walk round in circles.
class TDossiersVus {
public:
    // True the first time the folder is met; false when it was met before or cannot be reached.
    bool PremiereVisite(const QString& dossier);

private:
    std::set<TIdentiteDossier> vus;
};

class TDestination;

// The folders open as destinations, known by their identity on disk, so that a folder reached
// another way counts as the one already open; a folder that cannot be reached is known by its
// path as written.
class TDossiersOuverts {
public:
    TDossiersOuverts() = default;
    // The destinations of the list from entry 1 (the trash aside).
    explicit TDossiersOuverts(const TListeDestinations& destinations);

    bool Contient(const QString& chemin) const;
    // A folder by its bytes on disk, with its path as text for one that cannot be reached.
    bool Contient(const QByteArray& octets, const QString& chemin) const;
    void Ajoute(const TDestination& destination);

private:
    std::set<TIdentiteDossier> identites;
    std::set<QString> chemins;
};

// What a walk through a folder tree keeps while it runs: the folders already open as
// destinations, and the folders it has entered.
struct TMarche {
    TDossiersOuverts Ouverts;
    TDossiersVus Vus;
};

class TDestination;
class TListeGroupe;
struct TContexteDestinations;

// What a new destination is made of, as the properties dialog gives it.
struct TProprietesDestination {
    QString Chemin;
    QString Titre;
    QFont Fonte;
    int32_t Charset = 1;
    int32_t Couleur = 0;
    bool RechercheLocale = false;
    bool RechercheGenerale = false;
};

// Opens a destination from its properties at the end of the list, counted into its level.
TDestination* OuvreDestination(const TProprietesDestination& proprietes, int32_t niveau,
                               TListeDestinations& destinations, TListeGroupe& groupes,
                               TContexteDestinations& contexte);

// True when a destination other than sauf already stands on that folder reached another way than
// by its very path.
bool OuverteSousUnAutreChemin(const QString& chemin, const TListeDestinations& destinations,
                              const TDestination* sauf);

// Gives the destination at that index another folder, as closing it and opening that folder in its
// place would: its store is written under its old folder, and a destination read from the new
// folder and its store, with these properties, takes its entry in the list (whose string stays)
// and its places in the tree levels. Whoever still holds the old destination (a search under way,
// an undo record, a window) holds it closed: nothing is filed into it, saved from it or counted
// from it again. Returns the new destination; none, with the reason in echec, when the old store
// could not be written, and then nothing has changed.
TDestination* ChangeDossierDestination(int index, const TProprietesDestination& proprietes,
                                       TListeDestinations& destinations, TListeGroupe& groupes,
                                       TContexteDestinations& contexte, QString& echec);

// The options of a walk, as the folder-tree dialog gives them.
struct TOptionsArborescence {
    bool EnNiveaux = true;            // a folder with sub-folders opens a level of its own
    bool SeulementAvecImages = false; // a folder without images is left out (its sub-folders are not)
    int Mode = 2;                     // the search mode proposed: 1 LOCAL, 2 none, 3 GENERAL
};

// Adds a folder and every folder below it as destinations, in pre-order, as levels or as a flat
// list. Each folder is proposed to Valide, which gives the properties to open it with, or none to
// leave it out. A folder already open, one of the program's own, or one reached a second time
// through a link is not opened.
class TAjoutArborescence {
public:
    TAjoutArborescence(TListeDestinations& destinations, TListeGroupe& groupes,
                       TContexteDestinations& contexte);

    std::function<std::optional<TProprietesDestination>(const QString& dossier, int mode)> Valide;

    void Ajoute(const QString& racine, const TOptionsArborescence& options);

private:
    void Parcourt(const QString& chemin, int32_t niveau);

    TListeDestinations& destinations;
    TListeGroupe& groupes;
    TContexteDestinations& contexte;
    TOptionsArborescence options;
    TMarche marche;
};
