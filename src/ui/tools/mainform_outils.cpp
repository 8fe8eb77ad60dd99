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

void TMainForm::Modifierlescaractristiques1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const TDestination& d = *session.Configuration()->Destinations.Element(index);
    if (d.Titre == TitreCorbeille) return; // the trash keeps its folder, title and font

    TProprietesDestination actuelles;
    actuelles.Chemin = d.Chemin;
    actuelles.Titre = d.Titre;
    actuelles.Fonte = d.Fonte;
    actuelles.Charset = d.FonteCharset;
    actuelles.Couleur = d.FonteCouleur;
    actuelles.RechercheLocale = d.RechercheLocale;
    actuelles.RechercheGenerale = d.RechercheGenerale;
    FormNouvDest->Presente(actuelles);
    if (Dialogues->MontreModal(*FormNouvDest) != QDialog::Accepted) return;
    const TResultatModification modification = session.ModifieDestination(index, FormNouvDest->Proprietes());
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
    // The search proposed starts again from GENERAL; the other options stay from the last walk.
    TChoixArborescence choix = FormRecurs->Choix();
    choix.Options.Mode = 3;
    FormRecurs->Presente(choix);
    const bool accepte = Dialogues->MontreModal(*FormRecurs) == QDialog::Accepted;
    FixeCurseur(Qt::WaitCursor);
    if (accepte) {
        choix = FormRecurs->Choix();
        const bool sansValidation = choix.SansValidation;
        session.AjouteArborescence(FormRecurs->Dossier(), choix.Options,
                                   [this, sansValidation](const QString& dossier, int mode) {
                                       return ValideDestination(dossier, sansValidation, mode);
                                   });
    }
    CurseurParDefaut();
    RafraichisListeDestinations();
}
