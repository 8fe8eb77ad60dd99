#pragma once

#include <QByteArray>
#include <QString>

// File operations of filing, on paths as the file system's bytes. None ever replaces an existing
// file; each says why it failed, in French.
namespace Fichiers {

struct Resultat {
    bool Reussi = true;
    int Code = 0;   // when it failed: the system's error number (EEXIST, ENOENT, EACCES, …)
    QString Raison; // when it failed: why, for the user
};

bool Existe(const QByteArray& chemin);

// Why a file operation failed, for the user, from the system's error number.
QString RaisonSysteme(int erreur);

// The target for a file filed into a folder: its name there, or, when that name is taken by
// another file, the first free name made by numbering it 1, 2, 3 ... For the historical
// extensions (jpg, jpe, jpeg, bmp, gif) the last four characters are cut (a dot and a three-letter
// extension), then the number and the extension appended (IMG.jpg -> IMG1.jpg; x.jpeg ->
// x.1.jpeg); for any other the number goes right before the extension's dot (IMG_1.heic ->
// IMG_11.heic, a.tiff -> a1.tiff); a name without a dot gets it at its end.
QByteArray CibleLibre(const QByteArray& dossier, const QByteArray& nom, const QByteArray& source);

// Moves a file; across file systems it copies, flushes, checks the size and only then deletes the
// source, so an interrupted move leaves the source in place.
Resultat Deplace(const QByteArray& source, const QByteArray& cible);
// Copies a file to a name that must still be free.
Resultat Copie(const QByteArray& source, const QByteArray& cible);

} // namespace Fichiers
