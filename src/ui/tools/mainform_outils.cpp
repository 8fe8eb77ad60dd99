// The main window's destination tools: editing a destination's properties and adding a whole
// folder tree.

#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
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
    TDestination& d = *Configuration->Destinations.Element(index);
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
    TProprietesDestination proprietes = ProprietesDuDialogue();
    // Its own folder reached another way is still its folder.
    if (proprietes.Chemin != d.Chemin && MemeDossier(proprietes.Chemin, d.Chemin))
        proprietes.Chemin = d.Chemin;
    if (proprietes.Chemin != d.Chemin) {
        ChangeDossier(index, proprietes);
        return;
    }

    // The same folder: the destination keeps its lists and store. The search stops before the
    // destination it may be reading changes.
    DemandeArretRecherche();
    const bool etaitGenerale = EstGenerale(d);
    d.RechercheLocale = proprietes.RechercheLocale;
    d.RechercheGenerale = proprietes.RechercheGenerale;
    const bool marqueGardee = SuitChangementDeMode(d, etaitGenerale);
    d.Fonte = proprietes.Fonte;
    d.FonteCharset = proprietes.Charset;
    d.FonteCouleur = proprietes.Couleur;
    d.Titre = proprietes.Titre;
    // The title's height may have changed.
    ListeGroupe->Recalcule(d);
    PanelListeResize();
    if (!marqueGardee) Questions->Avertit(MessageMarqueComparaison({d.Chemin}));
}

void TMainForm::ChangeDossier(int index, const TProprietesDestination& proprietes) {
    const QString refus = RefusDossier(proprietes.Chemin, Configuration->Destinations.Element(index));
    if (!refus.isEmpty()) {
        Questions->Avertit(refus);
        return;
    }
    QString echec;
    {
        // No search starts meanwhile; the one running, if any, stops on its own as its destination
        // closes.
        const TOccupation occupation(session.Occupe);
        DemandeArretRecherche();
        const TLotMagasin lot(&Configuration->ContexteDestinations);
        ChangeDossierDestination(index, proprietes, Configuration->Destinations, *ListeGroupe,
                                 Configuration->ContexteDestinations, echec);
    }
    if (!echec.isEmpty()) Questions->Avertit(echec);
    PanelListeResize();
    // The near copies of the image shown are looked for again, among the new folder's images.
    ChercheCopiesDeLaCourante(true);
}

void TMainForm::Ajouteravecsousdossiers1Click() {
    if (!Configuration) return;
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
        TAjoutArborescence ajout(Configuration->Destinations, *ListeGroupe,
                                 Configuration->ContexteDestinations);
        ajout.Valide = [this, sansValidation](const QString& dossier, int mode) {
            return ValideDestination(dossier, sansValidation, mode);
        };
        ajout.Ajoute(dialogue.Dossier(), options);
    }
    CurseurParDefaut();
    RafraichisListeDestinations();
}
