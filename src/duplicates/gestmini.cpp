#include "gestmini.h"

#include "app/fenetre.h"

TFormMiniatures::TFormMiniatures(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormMiniatures"));
    PrepareFenetre(this, QStringLiteral("Gestion des signatures des images"), 400, 270,
                   Bordure::Redimensionnable, 2410);
    setMinimumSize(400, 270);
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
