#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>

// How a TIFF is written by EcritTiff.
struct TOptionsTiff {
    enum class Couleurs { Rgb, Rgb16, Cmyk, Palette, Gris };
    Couleurs couleurs = Couleurs::Rgb;
    bool alpha = false;          // the picture's alpha as an unassociated extra sample
    int orientation = 1;         // the Orientation tag, 1 to 8
    uint16_t compression = 1;    // COMPRESSION_NONE, LZW (5), ADOBE_DEFLATE (8), JPEG (7)
    uint32_t lignesParBande = 0; // rows per strip; 0: the library's choice
    uint32_t tuile = 0;          // a tile's side (a multiple of 16); 0: strips
    QImage reduite{};            // if not null: a second directory holding it as a reduced copy
    QImage secondePage{};        // if not null: a second page
};

// The picture written as a TIFF by the TIFF library, as the file's bytes.
QByteArray Tiff(const QImage& image, const TOptionsTiff& options = {});

// A DNG as a camera writes it, by the TIFF library: the first directory holds the preview as a
// JPEG (marked as a reduced copy), with the orientation; its sub-directory a raw mosaic of 16-bit
// samples of size brut.
QByteArray Dng(const QImage& apercu, QSize brut, int orientation = 1);
