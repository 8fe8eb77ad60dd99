#include "recursif.h"

#include "app/fenetre.h"

TFormRecurs::TFormRecurs(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormRecurs"));
    PrepareFenetre(this, QStringLiteral("Ajouter une destination avec ses sous-dossiers"), 346, 393, Bordure::Dialogue, 2450);
}
