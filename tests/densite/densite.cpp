#include "densite.h"

#include <QString>
#include <QWidget>

#include <cmath>

qreal RapportDemande() {
    bool lu = false;
    const qreal rapport = qEnvironmentVariable("MIRASOLVE_RAPPORT_TEST").toDouble(&lu);
    return lu && rapport > 0 ? rapport : 1.0;
}

QRect AuxPixels(const QRect& l, qreal r, bool dedans) {
    const auto bord = [&](double v, bool bas) {
        return static_cast<int>(bas ? std::floor(v * r) : std::ceil(v * r));
    };
    return QRect(QPoint(bord(l.left(), !dedans), bord(l.top(), !dedans)),
                 QPoint(bord(l.right() + 1, dedans) - 1, bord(l.bottom() + 1, dedans) - 1));
}

QImage Peinte(QWidget* controle) {
    return controle->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
