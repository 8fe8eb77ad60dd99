#include "imagecontrole.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::FixeImage(const QImage& nouvelle) {
    image = nouvelle;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (image.isNull()) return;
    QPainter peintre(this);
    peintre.setRenderHint(QPainter::SmoothPixmapTransform);
    peintre.drawImage(rect(), image);
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit SourisEnfoncee(event->button(), event->modifiers(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    emit SourisRelachee(event->button(), event->modifiers(), event->position().toPoint());
}
