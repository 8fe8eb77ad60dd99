#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// WebP files written with the library's encoder, and the containers around them (an Exif block,
// an animation) assembled chunk by chunk; PNG files written by Qt, with an Exif chunk inserted.

// A still WebP: lossy at that quality, or lossless; with alpha when the picture has an alpha
// channel.
QByteArray WebpPhoto(const QImage& image, bool sansPerte, int qualite = 80);
// The same picture in an extended container holding an Exif block with that orientation.
QByteArray WebpAvecExif(const QByteArray& webp, int orientation);
// An animation of those still WebPs (each the size given, or smaller when placed at an offset).
struct CadreWebp {
    QByteArray Webp;
    int X = 0, Y = 0; // even
};
QByteArray WebpAnime(const QList<CadreWebp>& cadres, int largeur, int hauteur);

// A bare Exif TIFF block (big-endian, behind "Exif\0\0" when prefixe) holding that orientation.
QByteArray BlocExif(int orientation, bool prefixe);

// A PNG written by Qt's writer from the picture as it is (its format chooses depth and colour
// type: Grayscale16 or RGBA64 give 16 bits, Indexed8 a palette).
QByteArray PngPhoto(const QImage& image);
// The same PNG with an eXIf chunk of that orientation right after its header chunk.
QByteArray PngAvecExif(const QByteArray& png, int orientation);
// A PNG chunk with its length and checksum.
QByteArray ChunkPng(const char type[4], const QByteArray& donnees);
