#include "policeajustee.h"

#include <QFontMetricsF>

#include <algorithm>

QFont PoliceAjustee(QFont police, const QString& texte, qreal largeur, QPaintDevice* surface) {
    // Glyph widths do not scale in proportion with the size: a few passes close in on the fit.
    for (int essai = 0; essai < 8 && largeur > 0; ++essai) {
        const qreal avance = QFontMetricsF(police, surface).horizontalAdvance(texte);
        if (avance <= largeur) break;
        const qreal facteur = largeur / avance;
        if (police.pixelSize() > 0) {
            const int taille = std::max(6, static_cast<int>(police.pixelSize() * facteur));
            if (taille >= police.pixelSize()) break;
            police.setPixelSize(taille);
        } else {
            const qreal taille = std::max(4.5, police.pointSizeF() * facteur);
            if (taille >= police.pointSizeF()) break;
            police.setPointSizeF(taille);
        }
    }
    return police;
}
