#pragma once

#include "core/app/dossierprogramme.h"

// Creates the session, then the windows and the data objects in the start-up order; the main window then
// shows the loading window and arms its start-up timer.
void CreeFenetres(const DossiersProgramme& dossiers);

// Frees whatever the windows and data objects still hold, once the message loop has ended: the
// windows first, then the session.
void DetruitFenetres();
