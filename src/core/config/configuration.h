#pragma once

#include "core/destinations/annulation.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>

class IFenetrePrincipale;
class IQuestions;

// A window's bounds moved and sized to stand whole on the screen (its top left corner at least,
// when even its minimum size does not fit), never below its minimum size; no arithmetic on the
// values given can overflow.
QRect PlaceDansEcran(qint64 gauche, qint64 haut, qint64 largeur, qint64 hauteur, QRect ecran, QSize minimum);
// The window's bounds at the very first start, before any configuration file exists: three
// quarters of the screen's available area each way, or halfway from the minimum size to the whole
// area when that is more (a small screen), centred on it; never below the minimum.
QRect BornesPremierDemarrage(QRect disponible, QSize minimum);
class TListeGroupe;

// The persisted state of the program and the list of open destinations (entry 0 is the trash).
class Tconfiguration {
public:
    explicit Tconfiguration(TSourceListe& source);

    int32_t WindowWidth = 640;
    int32_t WindowHeight = 480;
    int32_t WindowLeft = 0;
    int32_t WindowTop = 0;
    int32_t Divider1 = 417;
    int32_t Divider2 = 204;
    int32_t Divider3 = 129;
    QString SourcePath;
    int32_t SizeFilterX = 130;
    int32_t SizeFilterY = 130;
    bool SizeFilter = false;
    int32_t DestinationCount = 0;
    // What every destination shares; declared before Destinations, which is destroyed first.
    TContexteDestinations ContexteDestinations;
    TListeDestinations Destinations;
    bool Maximized = false;
    // The undo record: one step per file filed since start-up.
    TJournalAnnulation Annulations;
    std::atomic<int32_t> Sensibilite{0}; // read by the duplicate search's thread
    bool BullesAide = false;

    // The tree levels the destinations read from a file are counted into.
    TListeGroupe* ListeGroupe = nullptr;
    // Where a reading error is told (the loading window's progress is the context's Chargement).
    IQuestions* Questions = nullptr;

    void ReleveFenetre(IFenetrePrincipale& fenetre);
    void AppliqueFenetre(IFenetrePrincipale& fenetre);
    // With no configuration file yet, the window's bounds are made to suit the main screen rather
    // than the reading's defaults (BornesPremierDemarrage); AppliqueFenetre then gives them.
    void PlaceAuPremierDemarrage(QSize minimum);
    // Removes one trailing separator, stores the folder as SourcePath and scans it.
    void ChangeSource(const QString& chemin);

    // Reads a configuration file (a missing one gives the defaults) and appends its destinations.
    // False when the file cannot be read or holds a bad value (one that is not an integer, a
    // negative count): what was read before it stays and the source is left as it was. A file
    // read to its end that still holds something not understood (a line that is no key, lines
    // after the records, an encoding not read, a text cut to its bound) is read as far as it is
    // understood. Either way the file's bytes are kept aside before anything writes over them,
    // and Questions has been told the file, the line, the fault and where the copy is. Font sizes
    // are brought within what a tile can show, and every tree level made reachable from the top.
    // A folder whose bytes are not UTF-8 is found by those bytes and written back as them. The
    // source, scanned and sorted, is then put back at the file the position file beside names
    // (PositionSource), when it still holds it.
    bool Lecture(const QString& fichier);
    // The line of the first value that would stop Lecture on that file, and what is wrong with it;
    // 0 when it can be read to its end (a missing file reads as the defaults).
    static qsizetype PremiereLigneIllisible(const QString& fichier, QString* raison = nullptr);
    // Writes the configuration, replacing the file only once it is complete; never over a file
    // read in part whose original could not be kept aside. The source's position is then written
    // beside it; Questions is told when that fails.
    bool Ecriture(const QString& fichier) const;

private:
    // Registers the destinations from that index on with the tree levels, every level reachable.
    void RangeDansLesNiveaux(int premiere);
    // Keeps a file not read whole aside (or, when it cannot be, never writes over it) and tells
    // the user.
    void SignaleIllisible(const QString& fichier, qsizetype ligne, const QString& raison);

    TSourceListe& source;
    // Files read in part whose original could not be kept aside.
    std::set<QString> FichiersAProteger;
};
