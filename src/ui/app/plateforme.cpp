#include "plateforme.h"

#include <QGuiApplication>
#include <QWidget>

namespace {
std::optional<bool> placementForce;
}

bool PlateformePlaceLesFenetres(const QString& nomPlateforme) {
    // "wayland", "wayland-egl", "wayland-brcm"…
    return !nomPlateforme.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

bool PlateformePlaceLesFenetres() {
    if (placementForce) return *placementForce;
    return PlateformePlaceLesFenetres(QGuiApplication::platformName());
}

void ForcePlacementDesFenetres(std::optional<bool> place) {
    placementForce = place;
}

void MontreAuDemarrage(QWidget& fenetre) {
    if (fenetre.isVisible() || !PlateformePlaceLesFenetres()) return;
    fenetre.showMinimized();
}
