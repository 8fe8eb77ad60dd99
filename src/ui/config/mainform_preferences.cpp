// The main window's command "&Préférences".

#include "core/app/occupation.h"
#include "core/session/session.h"
#include "gestconf.h"
#include "preferences.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

void TMainForm::Prfrences1Click() {
    if (!FormPreference || !FormPreference->ChargeValeurs()) return;
    if (Dialogues->MontreModal(*FormPreference) != QDialog::Accepted) return;
    FormPreference->EnregistreValeurs();
    // The near copies of the current image under the new sensitivity.
    VerifieCopiesDeLaCourante();
}

void TMainForm::Gestionnairedeconfiguration1Click() {
    {
        const TOccupation occupation(session.Occupe);
        DemandeArretRecherche();
        Dialogues->MontreModal(*FormGestConf);
    }
    RafraichisListeDestinations();
}
