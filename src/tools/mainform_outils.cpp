// The main window's destination tools: editing a destination's properties and adding a whole
// folder tree.

#include "app/chemins.h"
#include "app/curseur.h"
#include "app/globaux.h"
#include "app/mainform.h"
#include "config/configuration.h"
#include "destinations/destination.h"
#include "destinations/listegroupe.h"
#include "tools/arborescence.h"
#include "tools/nouvdest.h"
#include "tools/recursif.h"

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
    if (MontreModal(dialogue) != QDialog::Accepted) return;

    // The search stops before the destination it may be reading changes.
    DemandeArretRecherche();
    d.RechercheLocale = dialogue.CheckBox1->isChecked();
    d.RechercheGenerale = dialogue.CheckBox2->isChecked();
    d.Fonte = dialogue.EditTitre->font();
    d.FonteCharset = dialogue.CharsetTitre;
    d.FonteCouleur = dialogue.CouleurTitre;
    d.Chemin = Chemins::SansSeparateurFinal(dialogue.Label1->text());
    d.Titre = dialogue.EditTitre->text();
    // The title's height may have changed.
    ListeGroupe->Recalcule(d);
    PanelListeResize();
}

void TMainForm::Ajouteravecsousdossiers1Click() {
    if (!Configuration) return;
    TFormRecurs& dialogue = *FormRecurs;
    dialogue.CheckBox3->setEnabled(false);
    dialogue.Label3->setEnabled(false);
    dialogue.CheckBox3->setChecked(true);
    dialogue.CheckBox4->setChecked(true);
    const bool accepte = MontreModal(dialogue) == QDialog::Accepted;
    FixeCurseur(Qt::WaitCursor);
    if (accepte) recursiveDir(dialogue.Dossier(), 0);
    CurseurParDefaut();
    RafraichisListeDestinations();
}

void TMainForm::recursiveDir(const QString& chemin, int32_t niveau) {
    if (!Configuration) return;
    if (!marche) {
        // The walk's own state, for as long as the walk from this folder lasts: the open folders
        // in a set rather than searched in the list, and the folders entered. The program's
        // folder (the trash, the store) counts as entered, so that no spelling of its path,
        // through a link or from the folder itself, makes it a destination.
        TMarche etat;
        for (int i = 1; i < Configuration->Destinations.Count(); ++i)
            etat.CheminsOuverts.insert(Configuration->Destinations.Element(i)->Chemin);
        etat.Vus.PremiereVisite(DossierProgramme);
        marche = &etat;
        struct Fin {
            TMarche*& marche;
            ~Fin() { marche = nullptr; }
        } fin{marche};
        recursiveDir(chemin, niveau);
        return;
    }
    const QString dossier = Chemins::SansSeparateurFinal(chemin);
    // A folder reached a second time through a link is not walked again.
    if (!marche->Vus.PremiereVisite(dossier)) return;
    const TFormRecurs& options = *FormRecurs;
    const TContenuDossier contenu = LitDossier(dossier);
    const bool arborescence = options.CheckBox5->isChecked();
    const bool retenu = !options.CheckBox1->isChecked() || contenu.ContientImages;
    const int mode = options.CheckBox4->isChecked() ? 3 : options.CheckBox3->isChecked() ? 1 : 2;

    TDestination* d = nullptr;
    if (retenu) {
        d = AjouteDestination(dossier, options.CheckBox2->isChecked(), niveau, mode);
        if (d && arborescence && !contenu.SousDossiers.isEmpty()) {
            // The destination opens a level of its own; AjouteGroupe counts it once more in the
            // level it stands in, and Retire takes that count back.
            d->SousGroupe = ListeGroupe->NouvelId();
            ListeGroupe->AjouteGroupe(*d);
            ListeGroupe->Retire(*d);
        } else if (d) {
            d->SousGroupe = -1;
        }
    }
    for (const QString& sousDossier : contenu.SousDossiers)
        recursiveDir(sousDossier, arborescence && d ? d->SousGroupe : 0);
    // A level that none of the sub-folders came into (all already open, cancelled or left out)
    // is not offered: its parent shows no level icon.
    if (d && d->SousGroupe != -1) {
        const TGroupe* niveauOuvert = ListeGroupe->Groupe(d->SousGroupe);
        if (niveauOuvert && niveauOuvert->NbTuiles <= 1) d->SousGroupe = -1;
    }
}
