#pragma once

#include "core/destinations/listedestinations.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class IAttente;
class TDestination;

// What a renaming did: how many files it handled, those that kept their names, with why, and
// where each renamed file went.
struct TResultatRenommage {
    qsizetype Fichiers = 0;
    QStringList Echecs;                       // "« path » : reason", in French
    QHash<QByteArray, QByteArray> Renommages; // old path -> new path, as the file system's bytes
};

// The new paths a renaming with this base gives these files, in this order: each in its own
// folder, base + its number, zero-padded to the digits of the count, + its own extension.
QStringList NomsNumerotes(const QStringList& fichiers, const QString& base);

// The question asked before renaming a destination's files with this base: the first and the
// last new names and the count ("Ete00.jpg … Ete11.jpg, 12 fichiers"), as RenommeFichiers will
// give them. Empty when the destination knows no file.
QString QuestionRenommage(const TDestination& d, const QString& base);

// Gives every image a destination knows (its signed images, then those waiting for a signature,
// then the unreadable ones, each in list order) the name base + its number, zero-padded to the
// digits of the count, + its own extension, in its own folder. Two passes, through temporary
// names, so that no final name is ever taken by another file of the set. Every rename is checked
// and never replaces a file: a file that cannot be renamed keeps its entry naming it as it is on
// disk. The destination's lists, the duplicate lines of every destination and the stores follow.
//
// While it runs, journal (a file of the program's folder) notes every rename before it is made,
// so that a renaming cut off can be undone at the next start (ReprendRenommageInterrompu).
//
// coupure, when given, is asked at every point where the program could be killed (before a rename
// is noted, between the note and the rename, after the last rename); when it answers true the
// renaming stops there, leaving the files, the lists and the journal as a kill would.
using TCoupure = std::function<bool()>;
TResultatRenommage RenommeFichiers(TDestination& d, const QString& base,
                                   const TListeDestinations& destinations, IAttente* attente,
                                   const QString& journal, const TCoupure& coupure = {});

// Puts every file of a renaming that was cut off back under its old name, undoing the renames
// the journal notes from the last one, and removes the journal; the files that could not be put
// back, with why. Nothing when there is no journal. Cut off itself, it carries on at the next call.
QStringList ReprendRenommageInterrompu(const QString& journal, const TCoupure& coupure = {});
