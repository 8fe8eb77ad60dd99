#include "bandeicones.h"

#include <QImageReader>
#include <QPixmap>

#include <algorithm>

QIcon TBandeIcones::Icone(int index) const {
    if (index < 0 || index >= static_cast<int>(Images.size()) || Images[static_cast<size_t>(index)].isNull())
        return QIcon();
    return QIcon(QPixmap::fromImage(Images[static_cast<size_t>(index)]));
}

TBandeIcones ChargeBandeIcones(const QString& fichier) {
    TBandeIcones bande;
    bande.Images.resize(NombreIcones);
    QImageReader lecteur(fichier);
    const QSize taille = lecteur.size();
    // A strip is one row of cells; anything much larger is not ours and is not decoded.
    if (!taille.isValid() || taille.height() != TailleIcone || taille.width() > TailleIcone * 64)
        return bande;
    const QImage strip = lecteur.read().convertToFormat(QImage::Format_ARGB32);
    if (strip.isNull()) return bande;
    const int cellules = std::min(NombreIcones, strip.width() / TailleIcone);
    for (int i = 0; i < cellules; ++i) {
        QImage cellule = strip.copy(i * TailleIcone, 0, TailleIcone, TailleIcone);
        for (int y = 0; y < TailleIcone; ++y) {
            auto* ligne = reinterpret_cast<QRgb*>(cellule.scanLine(y));
            for (int x = 0; x < TailleIcone; ++x)
                if ((ligne[x] & 0xFFFFFFu) == 0xFF00FFu) ligne[x] = 0;
        }
        bande.Images[static_cast<size_t>(i)] = std::move(cellule);
    }
    return bande;
}
