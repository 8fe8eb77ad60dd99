#pragma once

#include <QByteArray>
#include <QImage>

// How a JPEG XL file is written: its Exif-style orientation (the pixels are stored as given and the
// orientation tells how to turn them), lossy distance or lossless, a progressive picture, a
// container around the codestream, the encoder's effort (1 fastest, 9 slowest), the picture's grey
// levels written as 16-bit grey, and a second frame that makes the file an animation.
struct OptionsJxl {
    int Orientation = 1;
    float Distance = 1.0f;
    bool SansPerte = false;
    bool Progressif = false;
    bool Conteneur = false;
    int Effort = 3;
    bool Gris16 = false;
    QImage Suivante = QImage();
};

// The picture written with libjxl's encoder; its alpha channel is kept when the picture has one.
// Empty when the encoder refused it.
QByteArray JxlPhoto(const QImage& image, const OptionsJxl& options = {});

// A JPEG file recompressed without loss into JPEG XL (its coefficients kept, the JPEG rebuildable).
QByteArray JxlDeJpeg(const QByteArray& jpeg);
