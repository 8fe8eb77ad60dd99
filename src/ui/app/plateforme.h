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
