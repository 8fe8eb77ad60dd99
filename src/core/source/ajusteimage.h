#pragma once

#include <QRect>
#include <QSize>

// The fit-and-centre rule: a picture of natural size `image` is shrunk to fit the box keeping its
// proportions, never enlarged, then centred against the reference size. Sizes are rounded to the
// nearest integer with halves to even; halving rounds toward zero. An empty picture (height 0)
// keeps the control's last rectangle, which is still centred.
QRect AjusteImage(QSize image, QSize boite, QSize reference, QRect precedent);

// A size in logical pixels as the screen's own pixels at that device pixel ratio, rounded to the
// nearest pixel: where a picture is decoded for, and scaled to, so that it is never stretched.
QSize TailleEnPixels(QSize logique, double rapport);
