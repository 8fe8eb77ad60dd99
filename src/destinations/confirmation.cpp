#include "confirmation.h"

#include "app/fenetre.h"

TFormConfirmation::TFormConfirmation(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormConfirmation"));
    PrepareFenetre(this, QStringLiteral("Confirmation"), 324, 113, Bordure::Dialogue, 0);
    // No border icons: the dialog is answered with its buttons only.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, false);
}
