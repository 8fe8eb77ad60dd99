// The main window's commands that open and close destinations: one at a time, from the
// properties dialog, a whole sub-tree from a tile's menu, or all of them.

#include "app/chemins.h"
#include "app/curseur.h"
#include "app/globaux.h"
#include "app/mainform.h"
#include "app/occupation.h"
#include "config/configuration.h"
#include "destinations/confirmation.h"
#include "destinations/destination.h"
#include "destinations/listegroupe.h"
#include "tools/arborescence.h"
#include "tools/nouvdest.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QThread>

#include <deque>
#include <unordered_set>

void TMainForm::DemandeArretRecherche() {
    if (QThread* tache = TacheRecherche.data()) tache->requestInterruption();
}

bool TMainForm::DejaOuverte(const QString& chemin) const {
    if (marche) return marche->CheminsOuverts.count(chemin) != 0;
    for (int i = 1; i < Configuration->Destinations.Count(); ++i)
        if (Configuration->Destinations.Element(i)->Chemin == chemin) return true;
    return false;
}

TDestination* TMainForm::CreeDestination(int32_t niveau) {
    auto nouvelle = std::make_unique<TDestination>(&Configuration->ContexteDestinations);
    nouvelle->RechercheLocale = FormNouvDest->CheckBox1->isChecked();
    nouvelle->RechercheGenerale = FormNouvDest->CheckBox2->isChecked();
    nouvelle->Charge(Chemins::SansSeparateurFinal(FormNouvDest->Label1->text()),
                     FormNouvDest->EditTitre->text());
    nouvelle->Fonte = FormNouvDest->EditTitre->font();
    nouvelle->FonteCharset = FormNouvDest->CharsetTitre;
    nouvelle->FonteCouleur = FormNouvDest->CouleurTitre;
    nouvelle->Groupe = niveau;
    TDestination* d = nouvelle.get();
    Configuration->Destinations.Ajoute(d->Titre, std::move(nouvelle));
    ListeGroupe->Ajoute(*d);
    if (marche) marche->CheminsOuverts.insert(d->Chemin);
    return d;
}

void TMainForm::Ajouter1Click() {
    if (!Configuration) return;
    FormNouvDest->EditTitre->clear();
    if (MontreModal(*FormNouvDest) != QDialog::Accepted) return;
    const QString chemin = Chemins::SansSeparateurFinal(FormNouvDest->Label1->text());
    if (DejaOuverte(chemin)) {
        Avertit(QStringLiteral("Le dossier existe déja"));
        return;
    }
    if (Chemins::EstReserve(chemin, DossierProgramme)) {
        Avertit(QStringLiteral(
                    "Le dossier « %1 » est celui du programme, de sa corbeille ou de ses signatures : il ne "
                    "peut pas être une destination.")
                    .arg(chemin));
        return;
    }
    CreeDestination(ListeGroupe->Courant);
    RafraichisListeDestinations();
}

TDestination* TMainForm::AjouteDestination(const QString& chemin, bool sansValidation, int32_t niveau,
                                           int mode) {
    if (!Configuration) return nullptr;
    FormNouvDest->Label1->setText(chemin);
    FormNouvDest->AffichePath(chemin);
    FormNouvDest->EditTitre->setText(Chemins::NomDeFichier(chemin));
    FormNouvDest->CheckBox1->setChecked(mode == 1 || mode == 3);
    FormNouvDest->CheckBox2->setChecked(mode == 3);
    FormNouvDest->CheckBox1->setEnabled(mode != 3);
    if (!sansValidation && MontreModal(*FormNouvDest) != QDialog::Accepted) return nullptr;
    const QString choisi = Chemins::SansSeparateurFinal(FormNouvDest->Label1->text());
    if (DejaOuverte(choisi) || Chemins::EstReserve(choisi, DossierProgramme)) return nullptr;
    return CreeDestination(niveau);
}

void TMainForm::DetruitDestination(int index) {
    const std::shared_ptr<TDestination> d = Configuration->Destinations.Retire(index);
    // Taken out of the list first, so that the heights recomputed no longer count its font.
    ListeGroupe->Retire(*d);
    // Its store is saved or erased now, by the answer given, whoever still holds it.
    d->Ferme();
}

bool TMainForm::NiveauAffichable(int32_t id) const {
    if (id == 0) return true;
    const TGroupe* groupe = ListeGroupe->Groupe(id);
    if (!groupe || groupe->NbTuiles <= 1) return false;
    for (int i = 1; i < Configuration->Destinations.Count(); ++i)
        if (Configuration->Destinations.Element(i)->SousGroupe == id) return true;
    return false;
}

void TMainForm::RetrouveNiveauAffichable(int32_t repli) {
    if (NiveauAffichable(ListeGroupe->Courant)) return;
    int32_t niveau = repli >= 0 ? repli : 0;
    // Up through the parents; a tree without a cycle ends at the top within as many steps as it
    // has destinations.
    for (int pas = 0; !NiveauAffichable(niveau) && pas <= Configuration->Destinations.Count(); ++pas) {
        int32_t parent = 0;
        for (int i = 1; i < Configuration->Destinations.Count(); ++i)
            if (Configuration->Destinations.Element(i)->SousGroupe == niveau) {
                parent = Configuration->Destinations.Element(i)->Groupe;
                break;
            }
        niveau = parent;
    }
    ListeGroupe->Courant = NiveauAffichable(niveau) ? niveau : 0;
}

void TMainForm::RattacheOrphelines() {
    std::unordered_set<int32_t> niveauxOuverts{0};
    for (int i = 1; i < Configuration->Destinations.Count(); ++i)
        niveauxOuverts.insert(Configuration->Destinations.Element(i)->SousGroupe);
    for (int i = 1; i < Configuration->Destinations.Count(); ++i) {
        TDestination& d = *Configuration->Destinations.Element(i);
        if (niveauxOuverts.count(d.Groupe)) continue;
        ListeGroupe->Retire(d);
        d.Groupe = 0;
        ListeGroupe->Ajoute(d);
    }
}

void TMainForm::Fermerladestination1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    const TLotMagasin lot(&Configuration->ContexteDestinations);
    int16_t& reponse = Configuration->ContexteDestinations.ReponseMemorisee;
    reponse = 7;
    TDestination* d = Configuration->Destinations.Element(index);
    const int32_t niveauDuFerme = d->Groupe;
    if (d->Titre != TitreCorbeille) {
        int32_t sousArbre = -1;
        if (d->DemandeEffacement()) {
            sousArbre = d->SousGroupe;
            DetruitDestination(index);
        }
        // Everything below goes with it, without a way to cancel half-way.
        FormConfirmation->AutoriseAnnulation(false);
        std::deque<int32_t> niveaux;
        if (sousArbre != -1) niveaux.push_back(sousArbre);
        while (!niveaux.empty()) {
            const int32_t niveau = niveaux.front();
            niveaux.pop_front();
            for (int i = Configuration->Destinations.Count() - 1; i >= 1; --i) {
                TDestination* e = Configuration->Destinations.Element(i);
                if (e->Groupe != niveau) continue;
                if (e->SousGroupe != -1) niveaux.push_back(e->SousGroupe);
                e->DemandeEffacement();
                DetruitDestination(i);
            }
        }
        FormConfirmation->AutoriseAnnulation(true);
    }
    RetrouveNiveauAffichable(niveauDuFerme);
    RafraichisListeDestinations();
}

void TMainForm::Fermertouteslesdestinations1Click() {
    if (!Configuration) return;
    FixeCurseur(Qt::WaitCursor);
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    const TLotMagasin lot(&Configuration->ContexteDestinations);
    int16_t& reponse = Configuration->ContexteDestinations.ReponseMemorisee;
    reponse = 7;
    for (int i = Configuration->Destinations.Count() - 1; i >= 1; --i) {
        if (Configuration->Destinations.Element(i)->DemandeEffacement()) DetruitDestination(i);
        if (reponse == 8) {
            // Cancel all: those not asked yet stay open, and so do those answered "&Annuler",
            // each back in a level that the panel can reach.
            reponse = 7;
            RattacheOrphelines();
            RetrouveNiveauAffichable(0);
            RafraichisListeDestinations();
            CurseurParDefaut();
            return;
        }
    }
    // Those answered "&Annuler" close too, keeping their signatures.
    reponse = 7;
    for (int i = Configuration->Destinations.Count() - 1; i >= 1; --i)
        DetruitDestination(i);
    ListeGroupe->Courant = 0;
    RafraichisListeDestinations();
    CurseurParDefaut();
}
