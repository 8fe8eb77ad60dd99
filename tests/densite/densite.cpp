#include "densite.h"

#include <QString>

qreal RapportDemande() {
    bool lu = false;
    const qreal rapport = qEnvironmentVariable("MIRASOLVE_RAPPORT_TEST").toDouble(&lu);
    return lu && rapport > 0 ? rapport : 1.0;
}
