#pragma once

// What every benchmark program shares: its set-up before the application object, and starting
// the whole program without waiting for its start-up timer.

#include "app/demarrage.h"
#include "app/globaux.h"
#include "app/mainform.h"

#include <QTimer>

#include <cstdio>

// Figures printed line by line; headless unless a platform is asked for.
inline void PrepareBanc() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Creates the windows on a program folder and runs the start-up step at once: the main window
// is on its way to the screen when this returns.
inline void DemarreProgramme(const QString& programme) {
    CreeFenetres({programme, programme});
    MainForm->Timer1->stop();
    MainForm->showMinimized();
    MainForm->Timer1Timer();
}
