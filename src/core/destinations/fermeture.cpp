#include "fermeture.h"

#include "core/app/questions.h"
#include "core/duplicates/comparaisongenerale.h"
#include "destination.h"
#include "listegroupe.h"

#include <deque>
#include <unordered_set>

TFermeture::TFermeture(TListeDestinations& listeDestinations, TListeGroupe& listeGroupe,
                       TContexteDestinations& contexteDestinations)
    : destinations(listeDestinations), groupes(listeGroupe), contexte(contexteDestinations) {}

void TFermeture::Retire(int index) {
    const std::shared_ptr<TDestination> d = destinations.Retire(index);
    // Taken out of the list first, so that the heights recomputed no longer count its font.
    groupes.Retire(*d);
    // Its store is saved or erased now, by the answer given, whoever still holds it. A comparison
    // still pending stays noted beside a store kept, to go on once the folder is open in GENERAL
    // mode again (another configuration opened, then this one); an erased store has none left.
    if (contexte.ReponseMemorisee == ReponseConfirmation::Oui ||
        contexte.ReponseMemorisee == ReponseConfirmation::OuiPourTous)
        AnnuleComparaison(*d);
    d->Ferme();
}

bool TFermeture::NiveauAffichable(int32_t id) const {
    if (id == 0) return true;
    const TGroupe* groupe = groupes.Groupe(id);
    if (!groupe || groupe->NbTuiles <= 1) return false;
    for (int i = 1; i < destinations.Count(); ++i)
        if (destinations.Element(i)->SousGroupe == id) return true;
    return false;
}

void TFermeture::RetrouveNiveauAffichable(int32_t repli) {
    if (NiveauAffichable(groupes.Courant)) return;
    int32_t niveau = repli >= 0 ? repli : 0;
    // Up through the parents; a tree without a cycle ends at the top within as many steps as it
    // has destinations.
    for (int pas = 0; !NiveauAffichable(niveau) && pas <= destinations.Count(); ++pas) {
        int32_t parent = 0;
        for (int i = 1; i < destinations.Count(); ++i)
            if (destinations.Element(i)->SousGroupe == niveau) {
                parent = destinations.Element(i)->Groupe;
                break;
            }
        niveau = parent;
    }
    groupes.Courant = NiveauAffichable(niveau) ? niveau : 0;
}

void TFermeture::RattacheOrphelines() {
    std::unordered_set<int32_t> niveauxOuverts{0};
    for (int i = 1; i < destinations.Count(); ++i)
        niveauxOuverts.insert(destinations.Element(i)->SousGroupe);
    for (int i = 1; i < destinations.Count(); ++i) {
        TDestination& d = *destinations.Element(i);
        if (niveauxOuverts.count(d.Groupe)) continue;
        groupes.Retire(d);
        d.Groupe = 0;
        groupes.Ajoute(d);
    }
}

void TFermeture::FermeAvecSousArbre(int index) {
    if (index < 0 || index >= destinations.Count()) return;
    contexte.ReponseMemorisee = ReponseConfirmation::Non;
    TDestination* d = destinations.Element(index);
    const int32_t niveauDuFerme = d->Groupe;
    if (d->Titre != TitreCorbeille) {
        int32_t sousArbre = -1;
        if (d->DemandeEffacement()) {
            sousArbre = d->SousGroupe;
            Retire(index);
        }
        // Everything below goes with it, without a way to cancel half-way.
        if (contexte.Questions) contexte.Questions->AutoriseAnnulation(false);
        std::deque<int32_t> niveaux;
        if (sousArbre != -1) niveaux.push_back(sousArbre);
        while (!niveaux.empty()) {
            const int32_t niveau = niveaux.front();
            niveaux.pop_front();
            for (int i = destinations.Count() - 1; i >= 1; --i) {
                TDestination* e = destinations.Element(i);
                if (e->Groupe != niveau) continue;
                if (e->SousGroupe != -1) niveaux.push_back(e->SousGroupe);
                e->DemandeEffacement();
                Retire(i);
            }
        }
        if (contexte.Questions) contexte.Questions->AutoriseAnnulation(true);
    }
    RetrouveNiveauAffichable(niveauDuFerme);
}

bool TFermeture::FermeTout(ReponseConfirmation reponseDonnee) {
    ReponseConfirmation& reponse = contexte.ReponseMemorisee;
    reponse = reponseDonnee;
    for (int i = destinations.Count() - 1; i >= 1; --i) {
        if (destinations.Element(i)->DemandeEffacement()) Retire(i);
        if (reponse == ReponseConfirmation::ToutAnnuler) {
            // Cancel all: those not asked yet stay open, and so do those answered "&Annuler",
            // each back in a level that the panel can reach.
            reponse = ReponseConfirmation::Non;
            RattacheOrphelines();
            RetrouveNiveauAffichable(0);
            return false;
        }
    }
    // Those answered "&Annuler" close too, keeping their signatures.
    reponse = ReponseConfirmation::Non;
    for (int i = destinations.Count() - 1; i >= 1; --i)
        Retire(i);
    groupes.Courant = 0;
    return true;
}
