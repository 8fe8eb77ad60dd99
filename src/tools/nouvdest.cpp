#include "nouvdest.h"

#include "app/fenetre.h"

TFormNouvDest::TFormNouvDest(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormNouvDest"));
    PrepareFenetre(this, QStringLiteral("Création d'une nouvelle destination"), 318, 297, Bordure::Dialogue, 2440);
}
