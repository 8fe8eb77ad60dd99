#pragma once

#include <QImage>
#include <QRect>

class QWidget;

// The pixel ratio this run of the program was started at (MIRASOLVE_RAPPORT_TEST, which ctest sets
// beside QT_SCALE_FACTOR); 1 when it is not set.
qreal RapportDemande();

// The device pixels that show the logical rectangle at ratio r, or with dedans those wholly
// inside it (not those it shares with its frame).
QRect AuxPixels(const QRect& logique, qreal r, bool dedans = false);

// What a control shows, in the screen's own pixels.
QImage Peinte(QWidget* controle);
