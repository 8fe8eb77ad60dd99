#include "pixels.h"

#include "core/source/ajusteimage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QSize EcranEnPixels(const QWidget* widget) {
    const QScreen* ecran = widget ? widget->screen() : QGuiApplication::primaryScreen();
    if (!ecran) return {};
    return TailleEnPixels(ecran->geometry().size(),
                          widget ? widget->devicePixelRatioF() : ecran->devicePixelRatio());
}

QSize PixelsDe(const QWidget* widget) {
    return TailleEnPixels(widget->size(), widget->devicePixelRatioF());
}
