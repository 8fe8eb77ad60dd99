#include "gestconf.h"

#include "app/fenetre.h"

TFormGestConf::TFormGestConf(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormGestConf"));
    PrepareFenetre(this, QStringLiteral("Gestionnaire de configuration"), 422, 301, Bordure::Redimensionnable,
                   2420);
}
