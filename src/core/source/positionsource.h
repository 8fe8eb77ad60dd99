#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class TSourceListe;

// Where the source stood: its folder and the name of its current file, as their bytes (names need
// not be UTF-8). A name, not an index, so that it survives a rescan and any sort.
struct TPositionSource {
    QByteArray Dossier;
    QByteArray Fichier; // empty when the source had no file
};

// The position is kept in a small file beside the configuration file it goes with, so that the
// configuration file itself keeps its fixed lines: two keyed lines, "Dossier=" and "Fichier=", the
// control bytes, "%" and (in a name that is not UTF-8) every byte above 127 written as "%" and two
// hexadecimal digits.
namespace PositionSource {

// The position file of a configuration file: its name followed by ".position".
QString FichierPres(const QString& configuration);

// The folder of the list and the file it shows (none when it is empty).
TPositionSource Releve(const TSourceListe& liste);

// Replaces the file atomically; false when it could not be written.
bool Ecrit(const QString& fichier, const TPositionSource& position);

// The position a file holds; none when it is missing, too large or not as Ecrit writes it.
std::optional<TPositionSource> Lit(const QString& fichier);

// Makes the named file current (both indexes) when the list is of that folder and holds it;
// false, the list untouched, otherwise.
bool Place(TSourceListe& liste, const TPositionSource& position);

// The two together for a configuration file: the list's position written beside it, or the
// position found beside it put back into the list.
bool Garde(const TSourceListe& liste, const QString& configuration);
bool Restaure(TSourceListe& liste, const QString& configuration);

} // namespace PositionSource
