#pragma once

#include <QtGlobal>

// The pixel ratio this run of the program was started at (MIRASOLVE_RAPPORT_TEST, which ctest sets
// beside QT_SCALE_FACTOR); 1 when it is not set.
qreal RapportDemande();
