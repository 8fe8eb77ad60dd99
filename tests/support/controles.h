#pragma once

#include <QList>
#include <QMenu>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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

// The control of that object name inside a dialog, as a test that plays the user reaches it: the
// test fails unless exactly one child of that type bears the name, and stops when there is none.
template <class T> T* ControleDe(const QWidget& fenetre, const char* nom) {
    const QList<T*> trouves = fenetre.findChildren<T*>(QString::fromUtf8(nom));
    if (trouves.size() == 1) return trouves.front();
    const std::string message = fenetre.objectName().toStdString() + " : " + std::to_string(trouves.size()) +
                                " contrôle(s) nommé(s) " + nom;
    if (trouves.isEmpty()) throw std::runtime_error(message);
    ADD_FAILURE() << message;
    return trouves.front();
}
