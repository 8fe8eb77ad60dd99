#include "ajusteimage.h"

#include <cmath>

QRect AjusteImage(QSize image, QSize boite, QSize reference, QRect precedent) {
    QRect controle = precedent;
    const int w = image.width(), h = image.height();
    if (h != 0 && w != 0) {
        const double rx = static_cast<double>(boite.width()) / w;
        const double ry = static_cast<double>(boite.height()) / h;
        QSize taille(w, h);
        if (ry >= rx) {
            if (rx < 1) taille = QSize(boite.width(), static_cast<int>(std::nearbyint(h * rx)));
        } else if (ry < 1) {
            taille = QSize(static_cast<int>(std::nearbyint(w * ry)), boite.height());
        }
        controle = QRect(QPoint(0, 0), taille);
    }
    if (controle.width() < reference.width()) controle.moveLeft((reference.width() - controle.width()) / 2);
    if (controle.height() < reference.height())
        controle.moveTop((reference.height() - controle.height()) / 2);
    return controle;
}

QSize TailleEnPixels(QSize logique, double rapport) {
    if (logique.isEmpty() || !(rapport > 0)) return logique;
    return QSize(static_cast<int>(std::lround(logique.width() * rapport)),
                 static_cast<int>(std::lround(logique.height() * rapport)));
}
