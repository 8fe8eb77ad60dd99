#pragma once

#include <QString>

#include <optional>

// Whether the window platform lets the program place its own windows. A Wayland compositor places
// them itself: there a window is given its saved size and state, never a position.
bool PlateformePlaceLesFenetres(const QString& nomPlateforme);
// The same for the platform the application runs on, unless a decision was forced.
bool PlateformePlaceLesFenetres();
// Forces the decision (tests play a platform that cannot place); std::nullopt asks the platform.
void ForcePlacementDesFenetres(std::optional<bool> place);

class QWidget;
// Shows the main window as the program starts, before the start-up timer brings it up: minimised
// where the platform lets a program place its windows. A Wayland compositor shows every new window
// as it likes, never minimised: there the window stays hidden behind the loading window until the
// timer brings it up, rather than stand empty meanwhile.
void MontreAuDemarrage(QWidget& fenetre);
