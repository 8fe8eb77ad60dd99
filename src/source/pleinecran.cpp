#include "pleinecran.h"

#include "app/fenetre.h"
#include "app/imagecontrole.h"

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
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) setGeometry(ecran->geometry());
}
