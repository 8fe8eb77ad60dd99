#pragma once

#include "core/config/fenetreprincipale.h"

// A main window as the configuration sees it: bounds, state and dividers, and nothing else.
class FenetreSimulee : public IFenetrePrincipale {
public:
    bool EstMaximisee() const override { return maximisee; }
    QRect BornesNormales() const override { return normales; }
    void RetablitEtatNormal() override {
        maximisee = false;
        ++retablissements;
    }
    void FixeBornes(const QRect& bornes) override { normales = bornes; }
    void FixeMaximisee(bool m) override { maximisee = m; }
    QSize TailleMinimale() const override { return {640, 480}; }
    int LargeurDestinations() const override { return destinations; }
    int LargeurListe() const override { return liste; }
    int HauteurApercus() const override { return apercus; }
    void FixeSeparateurs(int d, int l, int a) override {
        destinations = d;
        liste = l;
        apercus = a;
    }

    void FixeIndiceListe(const QString& texte) override { indice = texte; }

    bool maximisee = false;
    QString indice;
    QRect normales;
    int destinations = 0, liste = 0, apercus = 0, retablissements = 0;
};
