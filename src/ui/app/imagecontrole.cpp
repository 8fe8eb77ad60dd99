#include "imagecontrole.h"

#include "core/source/ajusteimage.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TImage::FixeImage(const QImage& nouvelle) {
    FixeImage(nouvelle, nouvelle.size());
}

void TImage::FixeImage(const QImage& nouvelle, QSize taille) {
    // The same picture given again (a slot filled anew from the cache) keeps its scaled copy: the
    // key changes with any change of the pixels.
    if (nouvelle.cacheKey() != image.cacheKey()) copieALEchelle = QImage();
    image = nouvelle;
    naturelle = nouvelle.isNull() ? QSize(0, 0) : taille;
    // A picture without transparency covers the whole control: what lies behind it is not painted
    // first. At a fractional ratio the control's edges may share a pixel with its neighbours,
    // which the parent must still paint.
    const qreal rapport = devicePixelRatioF();
    setAttribute(Qt::WA_OpaquePaintEvent,
                 !image.isNull() && !image.hasAlphaChannel() && rapport == std::floor(rapport));
    update();
}

void TImage::FixeCopieALEchelle(const QImage& copie) {
    if (!image.isNull()) copieALEchelle = copie;
}

void TImage::paintEvent(QPaintEvent*) {
    if (image.isNull() || width() <= 0 || height() <= 0) return;
    // The picture is scaled once to the control's size in the screen's own pixels and painted 1:1
    // with the pixel ratio set, so that a high-density screen never shows it stretched.
    const qreal rapport = devicePixelRatioF();
    const QSize pixels = TailleEnPixels(size(), rapport);
    if (copieALEchelle.size() != pixels || copieALEchelle.devicePixelRatio() != rapport) {
        copieALEchelle = image.size() == pixels
                             ? image
                             : image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        copieALEchelle.setDevicePixelRatio(rapport);
    }
    QPainter peintre(this);
    peintre.drawImage(0, 0, copieALEchelle);
    peintre.end();
    emit Peinte();
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit SourisEnfoncee(event->button(), event->modifiers(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    emit SourisRelachee(event->button(), event->modifiers(), event->position().toPoint());
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    emit SourisDeplacee(event->position().toPoint());
}
