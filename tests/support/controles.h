#pragma once

#include <QList>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

// The control of that object name inside a window, as a test that plays the user reaches it: the
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
