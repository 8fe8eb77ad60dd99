#pragma once

#include <QByteArray>
#include <QString>

// Path conventions of the program: folders are held without a trailing separator, except the
// root of the file system, which keeps its single separator.
namespace Chemins {

#ifdef Q_OS_WIN
inline constexpr char Separateur = '\\';
#else
inline constexpr char Separateur = '/';
#endif

// True when c ends a folder part of a path on this platform.
bool EstSeparateur(QChar c);

// Removes one trailing separator; the file-system root ("/") stays as it is.
QString SansSeparateurFinal(const QString& chemin);

// dossier + separator + nom, without doubling the separator of the root folder.
QString Joint(const QString& dossier, const QString& nom);
QByteArray Joint(const QByteArray& dossier, const QByteArray& nom);

// The text after the last separator (the whole text when there is none).
QString NomDeFichier(const QString& chemin);
QByteArray NomDeFichier(const QByteArray& chemin);

// A folder path as read from a file, made plain: ".", ".." and doubled separators resolved, no
// trailing separator, and a relative path taken from the base folder.
QString Nettoye(const QString& chemin, const QString& base);

// The program's folder itself, its trash "Corbeille" and its signature store "Signatures" (and what
// lies in those two), whatever the path that leads there: no destination may be one of them.
bool EstReserve(const QString& dossier, const QString& dossierProgramme);

// The folder offered when none is configured: the user's home folder here, the drive root on Windows.
QString DossierParDefaut();

} // namespace Chemins
