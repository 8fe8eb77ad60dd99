// The main window's command "&Préférences".

#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/session/session.h"
#include "gestconf.h"
#include "preferences.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/trackbar.h"

#include <QCheckBox>

void TMainForm::Prfrences1Click() {
    if (!Configuration || !FormPreference) return;
    // One position per 10000; a value between two positions shows the lower one.
    FormPreference->TrackBar1->setValue(Configuration->Sensibilite / 10000);
    FormPreference->CheckBox1->setChecked(!Configuration->BullesAide);
    if (Dialogues->MontreModal(*FormPreference) != QDialog::Accepted) return;
    Configuration->Sensibilite = FormPreference->TrackBar1->value() * 10000;
    Configuration->BullesAide = !FormPreference->CheckBox1->isChecked();
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
