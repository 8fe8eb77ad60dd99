#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QObject;

// Calls fermeture on the main thread when the session or a terminal asks the program to end
// (SIGTERM, SIGHUP, SIGINT), so that it closes as its window would and keeps its settings. The
// handler only writes a byte to a socket pair that the event loop watches. Once per program.
bool FermeSurSignal(QObject* proprietaire, std::function<void()> fermeture);

// Closes the window once no dialog is open: each open dialog is dismissed first, as its Escape
// key would, so that nothing a dialog works on goes away under it.
void FermeQuandLibre(QPointer<QWidget> fenetre);
