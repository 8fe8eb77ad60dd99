#pragma once

#include <QImage>
#include <QString>

#include "ecart.h"

#include <array>
#include <atomic>
#include <cstdint>

// Calculee: signed. Intraitable: the bytes are no picture of at least 10 x 10 pixels. Abandonnee:
// stopped on request. Inaccessible: the file could not be opened or read; nothing is known yet.
enum class ResultatCalcul { Calculee, Intraitable, Abandonnee, Inaccessible };

// The signature of one image: its 10 x 10 grid of contrast-stretched grey levels, column-major
// (cell (c, r) at 10 * (c - 1) + (r - 1)), and its aspect ratio.
struct Tminiature {
    std::array<uint8_t, 100> Grille{};
    double Proportion = 0.0; // width / height of the image, in pixels
    QString Fichier;         // full path of the image file

    // Decodes the file and fills the signature; false when the image is untreatable (unreadable,
    // or under 10 pixels in either direction).
    bool Calcule(const QString& chemin);
    // The same for a path given as the file system's bytes; a decode that arret stopped part-way,
    // or a file that could not be read, is neither computed nor untreatable.
    ResultatCalcul CalculeOctets(const QByteArray& chemin, const std::atomic<bool>* arret = nullptr);
    // Fills Grille from a picture of at least 10 x 10 pixels.
    void CalculeGrille(const QImage& image);
    // The same from a picture decoded at a reduced scale of a picture of natural size `naturelle`:
    // each decoded pixel counts in the cells that the natural pixels it stands for fall in, in
    // proportion, so that the cells are those of the natural picture.
    void CalculeGrille(const QImage& image, QSize naturelle);

private:
    // Stores the 100 cell means (column-major) stretched from their minimum to their maximum.
    void Etire(const std::array<int, 100>& moyennes);
};

// Sum over the 100 cells of the squared differences: 0 .. 6 502 500.
int32_t Ecart(const Tminiature& a, const Tminiature& b);

// (|difference of proportions| + 1) x Ecart, in extended precision, rounded to the nearest integer
// with ties to even, saturated at the largest 32-bit value.
int32_t Dissemblance(const Tminiature& a, const Tminiature& b);

// A pair is a duplicate when its dissimilarity is strictly below the threshold.
inline bool EstDoublon(int32_t dissemblance, int32_t sensibilite) {
    return dissemblance < sensibilite;
}
