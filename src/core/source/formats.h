#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The picture formats the program reads, and the one place where a file's decoder is chosen.

enum class Decodeur { Aucun, Jpeg, Gif, Bmp, Png, Webp, Tiff, Heif, Jxl, Raw };

// Folders are searched by masks, in this order: "*.jpg", "*.jpe" (which also finds ".jpeg"),
// "*.bmp", "*.gif", then the formats of today's cameras, phones and web pages: png, webp,
// tif/tiff, heic/heif/hif, avif, jxl, and the camera RAW files.
inline constexpr int NombreMasques = 11;

// The mask an extension (without its dot, letter case ignored) belongs to, or -1.
int MasqueDeLExtension(QByteArrayView extension);
// The decoder an extension names (letter case ignored); Aucun for one no reader takes.
Decodeur DecodeurDeLExtension(QByteArrayView extension);
// Whether an extension is one of the four the program has always read (jpg, jpe, jpeg, bmp, gif
// are the masks' own), whose file names keep their historical numbering rule.
bool ExtensionHistorique(QByteArrayView extension);
// The extension of a path's last component, without its dot; empty when there is none.
QByteArrayView ExtensionDuChemin(const QByteArray& chemin);

// How many first bytes of a file DecodeurDuContenu looks at.
inline constexpr int OctetsDeSignatureFormat = 32;
// The decoder the first bytes of a file announce by their magic numbers; Aucun when they announce
// none the program reads. A TIFF structure announces Tiff, whatever camera wrote it.
Decodeur DecodeurDuContenu(QByteArrayView debut);
// The decoder for a file: its content first, then its extension. A file whose content is a
// TIFF structure or is not recognised, named as a camera RAW file, goes to the RAW reader, since
// most RAW formats are TIFF structures and some have no magic number of their own.
Decodeur ChoisitDecodeur(QByteArrayView debut, QByteArrayView extension);
// The same, reading the file's first bytes; by its extension alone when it cannot be read.
Decodeur DecodeurDuFichier(const QByteArray& chemin);
