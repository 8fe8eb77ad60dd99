#pragma once

#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

// The running program's source list and configuration, those of its session; none without a
// main window. Shared by the tests and the benches that start the whole program.
inline TSourceListe* Source() {
    return MainForm ? MainForm->Session().ListeSource() : nullptr;
}
inline Tconfiguration* Config() {
    return MainForm ? MainForm->Session().Configuration() : nullptr;
}
