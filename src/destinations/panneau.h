#pragma once

#include "app/listeobjets.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

class TDestination;
class TListeGroupe;

// The system colours the tiles are drawn with.
struct TCouleursPanneau {
    QColor Face, Lumiere, Ombre, OmbreFoncee;
};

// The column of tiles of the current tree level, drawn into an off-screen picture that the
// window then shows in one copy.
class TPanneauDestinations {
public:
    static constexpr int NombreCases = 51;
    using ListeDestinations = TListeObjets<QString, TDestination>;

    QImage ImagePanneau;
    int32_t HauteurTuile = 34;
    int32_t NbTuilesVisibles = 0;
    std::array<TDestination*, NombreCases> Tuiles{};

    // What the layout asks of the scroll bar.
    bool BarreVisible = false;
    int32_t BarreMaximum = 0;

    TCouleursPanneau Couleurs;
    QFont PoliceFenetre;
    QImage IconeSousGroupe;

    // Resizes the picture (the size of the tile image control).
    void Redimensionne(QSize taille);

    void RafraichisListeDestinations(const ListeDestinations& destinations, TListeGroupe& groupes);
    void Dessine(TDestination& d, int x, int y, int rang, bool enfonce, int h, int w, int32_t courant);
    void DessineEtat(TDestination& d, bool enfonce);
    void DessineRetour(int x, int y, bool enfonce, int h, int w);
    void DessineSousGroupeEnfonce(const TDestination& d, int y, int h, int32_t courant);
    void DessineDoublonsEnfonce(int y, int h, int w);

    // The destination of the slot under a height in the picture, or none.
    TDestination* TuileA(int y) const;
    // The tile hint: path and the three counts, lines separated by carriage returns.
    static QString Indice(const TDestination& d);

private:
    void Biseau(QPainter& peintre, int x, int y, int w1, int h1, bool enfonce);
};

// The search mode shown after the percentage: "% (Général)", "% (Local)" or "% (Désactivé)".
QString SuffixeMode(const TDestination& d);
