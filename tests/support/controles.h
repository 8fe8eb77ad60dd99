#pragma once

#include <QList>
#include <QMenu>
#include <QString>
#include <QWidget>

// The objects of type T named nom that belong to the window itself: those under a dialog or
// another window that it parents are not its own, though they may bear the same name. A popup
// menu of the window is its own, and so are the actions in it.
template <class T> QList<T*> ControlesDeLaFenetre(const QWidget& fenetre, const QString& nom) {
    QList<T*> trouves;
    for (T* controle : fenetre.findChildren<T*>(nom)) {
        bool sien = true;
        for (const QObject* o = controle->parent(); o && o != &fenetre; o = o->parent()) {
            const auto* w = qobject_cast<const QWidget*>(o);
            if (w && w->isWindow() && !qobject_cast<const QMenu*>(w)) sien = false;
        }
        if (sien) trouves.append(controle);
    }
    return trouves;
}
