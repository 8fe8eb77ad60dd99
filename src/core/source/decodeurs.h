#pragma once

// What the readers of each format share, and their entry points. Only the decoding files include
// this: the rest of the program decodes through decodage.h.

#include "decodage.h"

#include <QByteArray>
#include <QFile>
#include <QSize>

#include <atomic>
#include <cstdio>
#include <memory>

// What a decode is for.
struct TDemandeDecodage {
    // The screen the picture is shown on: a reader that can decode at a reduced size decodes at
    // the smallest one that still covers the picture fitted into it. Empty: the whole picture.
    QSize Ecran;
    // For a signature: the fastest decode that keeps at least 100 pixels a side, the picture as
    // the file stores it (never turned by an Exif orientation), transparency ignored.
    bool Signature = false;
    const std::atomic<bool>* Arret = nullptr; // a decode asked to stop gives up
    const TEbauche* Ebauche = nullptr;        // told of a first picture before the whole one, if any
    const TEngagement* Engage = nullptr;      // asked before a step that cannot stop: false gives up
};

namespace Decodage {

struct FermeFichier {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Fichier = std::unique_ptr<std::FILE, FermeFichier>;

// The file opened for reading, or none: inaccessible then tells a file that could not be opened
// (gone, no permission, an I/O error), which may open another time, from an entry that is not a
// file at all (a folder), which is never a picture.
Fichier Ouvre(const QByteArray& chemin, bool& inaccessible);

bool Arrete(const std::atomic<bool>* arret);

// What a decode that failed stands for: stopped on request, a file that could not be read, or
// bytes that are no picture.
void QualifieEchec(TImageDecodee& resultat, const std::atomic<bool>* arret, std::FILE* fichier);

// A file read through its handle whose reads fail once a stop is asked, so that Qt's readers,
// which decode a whole picture in one call, give up part-way.
class FichierInterruptible : public QFile {
public:
    explicit FichierInterruptible(const std::atomic<bool>* arretDemande) : arret(arretDemande) {}

protected:
    qint64 readData(char* donnees, qint64 taille) override {
        return Arrete(arret) ? -1 : QFile::readData(donnees, taille);
    }

private:
    const std::atomic<bool>* arret;
};

// Whether a picture of that size fits under the decoded-size cap at four bytes a pixel. Divided
// rather than multiplied: a header's sizes can be as large as 64 bits allow.
bool TailleAcceptable(qint64 largeur, qint64 hauteur);

// The size a picture of that natural size takes fitted into the screen, never enlarged; the
// natural size itself when the screen is empty.
QSize TailleVue(QSize naturelle, QSize ecran);

// Turns a decoded picture and its natural size as an Exif orientation (1 to 8) says, and notes it.
void AppliqueOrientation(TImageDecodee& image, int orientation);

// Sets every pixel of a 32-bit picture opaque, keeping its colour: a picture read for its
// signature ignores transparency.
void RendOpaque(QImage& image);

} // namespace Decodage

// The readers of each format. Each gives a picture turned as the file says (unless for a
// signature), bounded by the decoded-size cap before anything large is allocated, and an
// unreadable result for anything it cannot decode; none throws.
TImageDecodee DecodePng(const QByteArray& chemin, const TDemandeDecodage& demande);
TImageDecodee DecodeWebp(const QByteArray& chemin, const TDemandeDecodage& demande);
TImageDecodee DecodeTiff(const QByteArray& chemin, const TDemandeDecodage& demande);
TImageDecodee DecodeHeif(const QByteArray& chemin, const TDemandeDecodage& demande);
TImageDecodee DecodeJxl(const QByteArray& chemin, const TDemandeDecodage& demande);
TImageDecodee DecodeRaw(const QByteArray& chemin, const TDemandeDecodage& demande);

// A JPEG held in memory (a RAW file's preview), decoded as a JPEG file would be for that demand,
// not turned: its orientation is the container's to give.
TImageDecodee DecodeJpegEnMemoire(const QByteArray& octets, const TDemandeDecodage& demande);
