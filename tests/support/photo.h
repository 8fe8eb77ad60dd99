#pragma once

#include <QImage>

// A photo-like picture for tests and benches: a gradient, antialiased shapes and grain, so that
// encoders keep a realistic amount of data and signatures have something to measure.
QImage PhotoSynthetique(int graine, int largeur, int hauteur, int formes = 60);

// Writes the picture as a 256-colour GIF, with the GIF library.
void EcritGifPhoto(const QString& chemin, const QImage& image);
