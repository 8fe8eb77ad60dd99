#include "preferences.h"

#include "app/fenetre.h"

TFormPreference::TFormPreference(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormPreference"));
    PrepareFenetre(this, QStringLiteral("Préférences"), 261, 151, Bordure::Dialogue, 2430);
}
