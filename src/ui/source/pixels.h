#pragma once

#include <QSize>

class QWidget;

// The screen a widget stands on, in the screen's own pixels: its logical size at the widget's
// pixel ratio (1.25 and 1.5 included), rounded. Pictures are decoded for it, so that a
// high-density screen never shows them stretched.
QSize EcranEnPixels(const QWidget* widget);

// A widget's size in the screen's own pixels.
QSize PixelsDe(const QWidget* widget);
