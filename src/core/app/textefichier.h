#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Text files of the program, as lists of lines. Reading takes UTF-8 when the bytes are valid UTF-8
// and Windows-1252 otherwise; CR, LF and CR LF all end a line. Writing is UTF-8 with CR LF after
// every line, into a temporary file that then replaces the old one, so that an interrupted write
// leaves the previous file.
namespace TexteFichier {

// False when the file cannot be read (a missing file among them); lignes is then empty.
bool Lit(const QString& fichier, QStringList& lignes);
bool Ecrit(const QString& fichier, const QStringList& lignes);

// The lines of a file's bytes, as Lit reads them; the bytes Ecrit writes for those lines.
QStringList Lignes(const QByteArray& octets);
QByteArray Octets(const QStringList& lignes);
// The same lines as Lignes, each as the bytes it was read from (the byte order mark aside).
QList<QByteArray> LignesOctets(const QByteArray& octets);
// The bytes Ecrit writes for lines given as bytes, each written as it is.
QByteArray Octets(const QList<QByteArray>& lignes);
bool EstUtf8(const QByteArray& octets);
// Replaces a file's content with those bytes, atomically.
bool EcritOctets(const QString& fichier, const QByteArray& octets);

QString DecodeOctets(const QByteArray& octets);

// Keeps the bytes of a file that the program could not read whole beside it, under its name
// followed by ".illisible" (".illisible-2", … when a different copy is there already), before
// anything writes over it. The path of the copy (an identical copy already there is reused), or
// an empty text when none could be made.
QString GardeOriginal(const QString& fichier);

} // namespace TexteFichier
