#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The signature of one image: its 10 x 10 grid of grey levels, column-major, and its aspect ratio.
struct Tminiature {
    std::array<uint8_t, 100> Grille{};
    double Proportion = 0.0; // width / height of the decoded image
    QString Fichier;         // full path of the image file
};
