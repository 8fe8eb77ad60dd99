#pragma once

#include <QString>
#include <QStringList>

// One destination as the configuration file holds it, titled in Arial 8: for tests and benches.
inline QStringList Enregistrement(const QString& titre, const QString& chemin, int sousGroupe = -1,
                                  int groupe = 0, const QString& drapeaux = QStringLiteral("XXXXXX")) {
    return {titre, chemin,  QString::number(sousGroupe), QString::number(groupe), "1", "0", "-11", "Arial",
            "8",   drapeaux};
}
