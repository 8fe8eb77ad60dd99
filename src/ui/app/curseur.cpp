#include "curseur.h"

#include <QCursor>
#include <QGuiApplication>

// One override level at most, changed in place, so that any pointer can follow any other.
void FixeCurseur(Qt::CursorShape forme) {
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(forme));
    else
        QGuiApplication::setOverrideCursor(QCursor(forme));
}

void CurseurParDefaut() {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}
