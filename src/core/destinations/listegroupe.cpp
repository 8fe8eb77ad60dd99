#include "listegroupe.h"

#include "core/app/listeobjets.h"
#include "destination.h"

#include <QFontInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>

int32_t HauteurAbsolue(const QFont& police) {
    if (police.pixelSize() > 0) return police.pixelSize();
    // A size in points: the pixel height the screen gives it (8 points are 11 pixels at 96 DPI).
    return static_cast<int32_t>(std::lround(police.pointSizeF() * 96.0 / 72.0));
}

TListeGroupe::TListeGroupe() {
    Groupes.push_back(std::make_unique<TGroupe>());
}

TGroupe* TListeGroupe::Groupe(int32_t id) const {
    for (const auto& groupe : Groupes)
        if (groupe->Id == id) return groupe.get();
    return nullptr;
}

TGroupe& TListeGroupe::GroupeOuRacine(int32_t id) const {
    TGroupe* groupe = Groupe(id);
    return groupe ? *groupe : *Groupes.front();
}

void TListeGroupe::Ajoute(const TDestination& d) {
    TGroupe* s = d.SousGroupe == -1 ? nullptr : &GroupeOuRacine(d.SousGroupe);
    TGroupe* g = d.Groupe == -1 ? s : &GroupeOuRacine(d.Groupe);
    if (!s) s = g;
    if (!g) return; // the trash stands in every level and is counted in none
    const int32_t h = HauteurAbsolue(d.Fonte);
    if (h > g->HauteurMax || h > s->HauteurMax) Recalcule(d);
    ++g->NbTuiles;
}

void TListeGroupe::CreeNiveau(const TDestination& d) {
    auto groupe = std::make_unique<TGroupe>();
    groupe->Id = d.SousGroupe;
    groupe->HauteurMax = HauteurAbsolue(d.Fonte);
    Groupes.push_back(std::move(groupe));
}

void TListeGroupe::AjouteGroupe(const TDestination& d) {
    CreeNiveau(d);
    Ajoute(d);
}

int32_t TListeGroupe::HauteurMaxDe(int32_t id) const {
    int32_t maximum = 0;
    if (!Destinations) return maximum;
    for (int i = 0; i < Destinations->Count(); ++i) {
        const TDestination* autre = Destinations->Element(i);
        if (autre->Groupe == id || autre->SousGroupe == id)
            maximum = std::max(maximum, HauteurAbsolue(autre->Fonte));
    }
    return maximum;
}

void TListeGroupe::Recalcule(const TDestination& d) {
    const int32_t m1 = HauteurMaxDe(d.Groupe);
    GroupeOuRacine(d.Groupe).HauteurMax = m1;
    if (d.SousGroupe != -1) GroupeOuRacine(d.SousGroupe).HauteurMax = HauteurMaxDe(d.SousGroupe);
}

void TListeGroupe::Retire(TDestination& d) {
    TGroupe& g = GroupeOuRacine(d.Groupe);
    TGroupe* s = d.SousGroupe == -1 ? nullptr : &GroupeOuRacine(d.SousGroupe);
    --g.NbTuiles;
    const int32_t h = HauteurAbsolue(d.Fonte);
    if (h == g.HauteurMax) Recalcule(d);
    if (s && h == s->HauteurMax) Recalcule(d);
    if (g.NbTuiles == 1) {
        // The emptied level loses its parent link and the panel shows the parent's level.
        for (int i = 1; Destinations && i < Destinations->Count(); ++i) {
            TDestination* parent = Destinations->Element(i);
            if (parent->SousGroupe == g.Id) {
                parent->SousGroupe = -1;
                Courant = Existe(parent->Groupe) ? parent->Groupe : 0;
            }
        }
    }
}

int32_t TListeGroupe::NouvelId() const {
    int32_t n = 0;
    for (bool trouve = true; trouve;) {
        trouve = false;
        for (const auto& groupe : Groupes)
            if (groupe->Id == n) {
                ++n;
                trouve = true;
            }
    }
    return n;
}

int32_t TListeGroupe::PositionCourante() const {
    return GroupeOuRacine(Courant).Position;
}
void TListeGroupe::FixePositionCourante(int32_t position) {
    GroupeOuRacine(Courant).Position = position;
}
int32_t TListeGroupe::HauteurCourante() const {
    return GroupeOuRacine(Courant).HauteurMax;
}

int32_t TListeGroupe::NbCourant() const {
    TGroupe* groupe = Groupe(Courant);
    return groupe ? groupe->NbTuiles : Groupes.back()->NbTuiles;
}
