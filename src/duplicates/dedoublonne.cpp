#include "dedoublonne.h"

#include "app/fenetre.h"

TFormDedoublone::TFormDedoublone(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormDedoublone"));
    PrepareFenetre(this, QStringLiteral("Gestion des images en double"), 548, 400, Bordure::Redimensionnable,
                   2460);
    setMinimumSize(548, 400);
}
