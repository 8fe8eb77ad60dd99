#pragma once

#include <Qt>

// The application's mouse pointer: the hourglass (Qt::WaitCursor), the arrow with hourglass
// (Qt::BusyCursor), none (Qt::BlankCursor), or the default.
void FixeCurseur(Qt::CursorShape forme);
void CurseurParDefaut();
