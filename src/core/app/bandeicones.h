#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

inline constexpr int NombreIcones = 28;
inline constexpr int TailleIcone = 16;

// The icon strip: 16 x 16 cells side by side, magenta (#FF00FF) transparent; beside it, the same
// drawings at 32 x 32 for screens denser than 100 %.
struct TBandeIcones {
    std::vector<QImage> Images;   // always NombreIcones entries; a null image where the strip has none
    std::vector<QImage> Images2x; // the same at 32 x 32; null where the dense strip has none

    // Both sizes of the image, so that Qt paints the one that suits the screen's pixel ratio.
    QIcon Icone(int index) const;
    // Adds both sizes of the image to an icon, for that mode.
    void AjouteA(QIcon& icone, int index, QIcon::Mode mode) const;
};

// The file of the 32 x 32 strip that lies beside a strip file: "-2x" before its extension.
QString FichierBande2x(const QString& fichier);

// Reads the strip and the dense strip beside it; a missing or unreadable file gives empty cells
// (a missing dense strip leaves the 16 x 16 icons alone, a missing strip leaves no icon) and the
// program goes on.
TBandeIcones ChargeBandeIcones(const QString& fichier);
