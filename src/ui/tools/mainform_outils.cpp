// The main window's destination tools: editing a destination's properties and adding a whole
// folder tree.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/tools/arborescence.h"
#include "nouvdest.h"
#include "recursif.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

void TMainForm::Modifierlescaractristiques1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const TDestination& d = *session.Configuration()->Destinations.Element(index);
    if (d.Titre == TitreCorbeille) return; // the trash keeps its folder, title and font

    TFormNouvDest& dialogue = *FormNouvDest;
    dialogue.EditTitre->setFont(d.Fonte);
    dialogue.CharsetTitre = d.FonteCharset;
    dialogue.CouleurTitre = d.FonteCouleur;
    dialogue.Label1->setText(d.Chemin);
    dialogue.AffichePath(d.Chemin);
    dialogue.EditTitre->setText(d.Titre);
    dialogue.CheckBox1->setChecked(d.RechercheLocale);
    dialogue.CheckBox2->setChecked(d.RechercheGenerale);
    dialogue.CheckBox1->setEnabled(!d.RechercheGenerale);
    if (Dialogues->MontreModal(dialogue) != QDialog::Accepted) return;
    const TResultatModification modification = session.ModifieDestination(index, ProprietesDuDialogue());
    if (!modification.Refus.isEmpty()) {
        Questions->Avertit(modification.Refus);
        return;
    }
    if (!modification.Echec.isEmpty()) Questions->Avertit(modification.Echec);
    PanelListeResize();
    // Another folder asked for: the near copies of the image shown are looked for again, among
    // the new folder's images.
    if (modification.DossierChange || !modification.Echec.isEmpty()) ChercheCopiesDeLaCourante(true);
    if (!modification.Avertissement.isEmpty()) Questions->Avertit(modification.Avertissement);
}

void TMainForm::Ajouteravecsousdossiers1Click() {
    if (!session.Configuration()) return;
    TFormRecurs& dialogue = *FormRecurs;
    dialogue.CheckBox3->setEnabled(false);
    dialogue.Label3->setEnabled(false);
    dialogue.CheckBox3->setChecked(true);
    dialogue.CheckBox4->setChecked(true);
    const bool accepte = Dialogues->MontreModal(dialogue) == QDialog::Accepted;
    FixeCurseur(Qt::WaitCursor);
    if (accepte) {
        TOptionsArborescence options;
        options.EnNiveaux = dialogue.CheckBox5->isChecked();
        options.SeulementAvecImages = dialogue.CheckBox1->isChecked();
        options.Mode = dialogue.CheckBox4->isChecked() ? 3 : dialogue.CheckBox3->isChecked() ? 1 : 2;
        const bool sansValidation = dialogue.CheckBox2->isChecked();
        session.AjouteArborescence(dialogue.Dossier(), options,
                                   [this, sansValidation](const QString& dossier, int mode) {
                                       return ValideDestination(dossier, sansValidation, mode);
                                   });
    }
    CurseurParDefaut();
    RafraichisListeDestinations();
}
