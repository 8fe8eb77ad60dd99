#pragma once

#include <QByteArray>
#include <QImage>

// A photo-like picture for tests and benches: a gradient, antialiased shapes and grain, so that
// encoders keep a realistic amount of data and signatures have something to measure.
QImage PhotoSynthetique(int graine, int largeur, int hauteur, int formes = 60);

// The picture as a JPEG of quality 90 in memory, with Qt's writer; progressive when asked. Empty
// when the writer fails.
QByteArray Jpeg(const QImage& image, bool progressif = false);

// Writes the picture as a 256-colour GIF, with the GIF library.
void EcritGifPhoto(const QString& chemin, const QImage& image);
