#include "nouvsource.h"

#include "app/fenetre.h"

TFormNouvSource::TFormNouvSource(const std::function<void()>& demarrageDonnees, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormNouvSource"));
    PrepareFenetre(this, QStringLiteral("Sélection de la source"), 296, 225, Bordure::Dialogue, 2300);
    if (demarrageDonnees) demarrageDonnees();
}
