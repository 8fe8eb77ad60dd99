#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

inline constexpr int NombreIcones = 28;
inline constexpr int TailleIcone = 16;

// The icon strip: 16 x 16 cells side by side, magenta (#FF00FF) transparent.
struct TBandeIcones {
    std::vector<QImage> Images; // always NombreIcones entries; a null image where the strip has none

    QIcon Icone(int index) const;
};

// Reads the strip; a missing or unreadable file gives empty cells and the program goes on.
TBandeIcones ChargeBandeIcones(const QString& fichier);
