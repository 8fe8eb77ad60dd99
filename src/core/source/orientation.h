#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// How cameras and phones say a photo is to be turned: the Exif orientation of a JPEG, 1 to 8.

// The orientation the Exif block of a JPEG's first bytes gives; 1 when there is none, or when
// what is there cannot be read (offsets outside the bytes, a wrong type or value). Only the first
// directory is read, its entries within the bytes: no offset is followed twice.
int OrientationExif(const QByteArray& debut);
// The same from a file, reading at most its first 128 KiB.
int OrientationDuFichier(const QByteArray& chemin);
// The orientation a bare Exif TIFF block gives, as WebP and PNG files hold it, with or without a
// leading "Exif\0\0"; 1 when there is none or it cannot be read.
int OrientationBlocExif(const uchar* octets, qsizetype taille);

// The picture turned as the orientation says; the size a picture of that size takes once turned.
QImage Oriente(const QImage& image, int orientation);
QSize TailleOrientee(QSize taille, int orientation);
// The orientation that turns a picture turned by orientation back as it was stored.
int OrientationInverse(int orientation);
