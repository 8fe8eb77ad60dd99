#include "imagecontrole.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TImage::FixeImage(const QImage& nouvelle) {
    FixeImage(nouvelle, nouvelle.size());
}

void TImage::FixeImage(const QImage& nouvelle, QSize taille) {
    image = nouvelle;
    naturelle = nouvelle.isNull() ? QSize(0, 0) : taille;
    copieALEchelle = QImage();
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (image.isNull() || width() <= 0 || height() <= 0) return;
    if (copieALEchelle.size() != size()) {
        copieALEchelle = image.size() == size()
                             ? image
                             : image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QPainter peintre(this);
    peintre.drawImage(0, 0, copieALEchelle);
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
