#include "pleinecran.h"

#include "app/curseur.h"
#include "app/fenetre.h"
#include "app/imagecontrole.h"
#include "source/ajusteimage.h"

#include <QGuiApplication>
#include <QScreen>

TFormPleinEcran::TFormPleinEcran(QWidget* parent) : QDialog(parent), Image1(new TImage(this)) {
    setObjectName(QStringLiteral("FormPleinEcran"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    Image1->setObjectName(QStringLiteral("Image1"));
    FixeIndice(Image1, QStringLiteral("Clic gauche pour revenir"), false);
    connect(Image1, &TImage::SourisRelachee, this, &QWidget::hide);
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) setGeometry(ecran->geometry());
}

void TFormPleinEcran::Montre(const TImage& source) {
    MontreImage(source.Image(), source.TailleNaturelle());
}

void TFormPleinEcran::MontreImage(const QImage& image, QSize naturelle) {
    Image1->FixeImage(image, naturelle);
    Image1->setGeometry(AjusteImage(Image1->TailleNaturelle(), size(), size(), rect()));
    show();
    raise();
    activateWindow();
}

void TFormPleinEcran::showEvent(QShowEvent* event) {
    FixeCurseur(Qt::BlankCursor);
    QDialog::showEvent(event);
}

void TFormPleinEcran::hideEvent(QHideEvent* event) {
    CurseurParDefaut();
    QDialog::hideEvent(event);
}

void TFormPleinEcran::mouseReleaseEvent(QMouseEvent*) {
    hide();
}
