#pragma once

#include "formats.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <functional>

// Decoded pictures never take more than this, whatever their headers announce.
// The fuzz build lowers it, so that the largest picture an input can ask for is decoded quickly
// even by instrumented code.
#ifndef MIRASOLVE_TAILLE_DECODEE_MAXIMALE_MIO
#define MIRASOLVE_TAILLE_DECODEE_MAXIMALE_MIO 512
#endif
inline constexpr qint64 TailleDecodeeMaximale = qint64{MIRASOLVE_TAILLE_DECODEE_MAXIMALE_MIO} << 20;

// A picture as the display keeps it: pixels decoded at a scale that suits the screen, and the
// picture's natural size, which every fit and every size shown to the user is computed from.
struct TImageDecodee {
    QImage Image;    // null when the file could not be read
    QSize Naturelle; // natural width and height; empty when unreadable
    bool Lisible = false;
    bool Abandonne = false; // the decode stopped on request: neither read nor unreadable
    // The file could not be opened or read (gone, no permission, an I/O error): nothing is known
    // of its bytes, which may decode another time.
    bool Inaccessible = false;
    int Orientation = 1; // the Exif orientation the picture was turned by (1: as stored)
};

// The decoder a path's extension names, letter case ignored (jpg, jpeg and jpe are JPEG). A
// decode itself chooses by the file's content first (DecodeurDuFichier).
Decodeur DecodeurDuNom(const QByteArray& chemin);

// The numerator n of the smallest JPEG scale n/8 whose result still covers the picture as it would
// be shown fitted into the screen (the largest place a picture is shown); 8 when no reduction can.
int EchelleJpeg(QSize naturelle, QSize ecran);

// The numerator n of the largest JPEG reduction among 1/2, 1/4 and 1/8 that keeps at least 100
// pixels in each direction; 8 when none does.
int EchelleJpegSignature(QSize naturelle);

// Gives Qt's image readers our limit on decoded sizes. Called once at start, before any thread
// decodes: the readers read the limit on every decode.
void FixeLimiteDecodage();

// Reads and decodes a file at the scale that suits a screen of the given size, by the decoder its
// content names (its extension when the content names none). Never throws,
// never exits: anything that cannot be decoded gives an unreadable result. A JPEG damaged after
// its header gives what could be decoded. A decode gives up as soon as arret is set. With
// ebauche, a progressive JPEG is first handed over as its first scans give it, long before the
// whole file is read. With engage, a reader asks it before a long step that cannot be stopped once
// begun (a HEIF picture's whole decode), and gives the decode up when it answers false.
using TEbauche = std::function<void(const TImageDecodee&)>;
using TEngagement = std::function<bool()>;
TImageDecodee DecodeImage(const QByteArray& chemin, QSize ecran, const std::atomic<bool>* arret = nullptr,
                          const TEbauche& ebauche = {}, const TEngagement& engage = {});

// The same for a signature: JPEGs in the decoder's fastest mode (fast integer transform, no smooth
// upsampling) at the reduction of EchelleJpegSignature; other formats at the fastest reduction
// they offer that keeps 100 pixels a side, or whole; the transparent colour of a GIF as its
// palette gives it. A decode gives up as soon as arret is set.
TImageDecodee DecodeImagePourSignature(const QByteArray& chemin, const std::atomic<bool>* arret = nullptr);
