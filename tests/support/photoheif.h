#pragma once

#include <QByteArray>
#include <QImage>

// How a picture is written as HEIF.
struct TOptionsHeif {
    bool Av1 = false;           // AVIF (AV1) rather than HEIC (HEVC)
    int Vignette = 0;           // the side of a stored thumbnail's bounding box; 0: none
    int Orientation = 1;        // as an Exif orientation, written as the file's own rotation and mirror
    bool Alpha = false;         // the picture's alpha channel kept
    bool Premultipliee = false; // with Alpha: colours stored multiplied by their alpha, as the file says
    int Qualite = 75;
    int Bits = 8; // bits a channel: 8, 10 or 12
};

// The file's bytes, written with libheif's encoder; empty when the encoder fails.
QByteArray OctetsHeif(const QImage& image, const TOptionsHeif& options = {});
