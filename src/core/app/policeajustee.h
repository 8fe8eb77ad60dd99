#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;

// The font, made smaller if need be until the text's width on the surface is at most largeur
// (never below 6 pixels), so that a text set in a box of fixed size is never cut, whatever the
// font and the screen's density. The font is returned as it is when the text fits.
QFont PoliceAjustee(QFont police, const QString& texte, qreal largeur, QPaintDevice* surface);
