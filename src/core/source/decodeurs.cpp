#include "decodeurs.h"

#include "orientation.h"

#include <algorithm>
#include <cmath>

#include <sys/stat.h>

namespace Decodage {

Fichier Ouvre(const QByteArray& chemin, bool& inaccessible) {
    inaccessible = false;
    Fichier fichier(std::fopen(chemin.constData(), "rb"));
    struct stat etat {};
    if (!fichier || ::fstat(::fileno(fichier.get()), &etat) != 0) {
        inaccessible = true;
        return nullptr;
    }
    return S_ISREG(etat.st_mode) ? std::move(fichier) : nullptr;
}

bool Arrete(const std::atomic<bool>* arret) {
    return arret && arret->load(std::memory_order_relaxed);
}

void QualifieEchec(TImageDecodee& resultat, const std::atomic<bool>* arret, std::FILE* fichier) {
    if (resultat.Lisible) return;
    resultat.Image = QImage();
    resultat.Naturelle = QSize();
    if (Arrete(arret))
        resultat.Abandonne = true;
    else if (fichier && std::ferror(fichier))
        resultat.Inaccessible = true;
}

bool TailleAcceptable(qint64 largeur, qint64 hauteur) {
    return largeur > 0 && hauteur > 0 && largeur <= TailleDecodeeMaximale / 4 / hauteur;
}

QSize TailleVue(QSize naturelle, QSize ecran) {
    const qint64 w = naturelle.width(), h = naturelle.height();
    if (w <= 0 || h <= 0 || ecran.isEmpty() || (w <= ecran.width() && h <= ecran.height())) return naturelle;
    const double rapport = std::min(static_cast<double>(ecran.width()) / static_cast<double>(w),
                                    static_cast<double>(ecran.height()) / static_cast<double>(h));
    return QSize(std::max(1, static_cast<int>(std::ceil(static_cast<double>(w) * rapport))),
                 std::max(1, static_cast<int>(std::ceil(static_cast<double>(h) * rapport))));
}

void AppliqueOrientation(TImageDecodee& image, int orientation) {
    if (!image.Lisible || orientation <= 1 || orientation > 8) return;
    image.Image = Oriente(image.Image, orientation);
    image.Naturelle = TailleOrientee(image.Naturelle, orientation);
    image.Orientation = orientation;
}

void RendOpaque(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ligne[x] |= 0xFF000000u;
    }
}

} // namespace Decodage
