#include "panneau.h"

#include "destination.h"
#include "listegroupe.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace {

const QColor JaunePale(0xFF, 0xFF, 0xE0);
const QColor Jaune(0xF0, 0xF0, 0x50);
const QColor Orange(0xFF, 0x80, 0x60);
const QColor Vert(0x60, 0xD0, 0x60);

// Fills the rectangle from (x1, y1) to (x2, y2), both corners included.
void Remplit(QPainter& p, int x1, int y1, int x2, int y2, const QColor& couleur) {
    if (x2 < x1 || y2 < y1) return;
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), couleur);
}

void Polygone(QPainter& p, const QColor& couleur, std::initializer_list<QPoint> points) {
    p.setPen(couleur);
    p.setBrush(couleur);
    p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

// A line through the points, as a pen moves from one to the next.
void Trait(QPainter& p, const QColor& couleur, std::initializer_list<QPoint> points) {
    p.setPen(couleur);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygon(QList<QPoint>(points)));
}

} // namespace

QString SuffixeMode(const TDestination& d) {
    if (d.RechercheGenerale) return QStringLiteral("% (Général)");
    if (d.RechercheLocale) return QStringLiteral("% (Local)");
    return QStringLiteral("% (Désactivé)");
}

void TPanneauDestinations::Redimensionne(QSize taille) {
    ImagePanneau = QImage(taille.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    ImagePanneau.fill(Couleurs.Face);
}

void TPanneauDestinations::RafraichisListeDestinations(const ListeDestinations& destinations,
                                                       TListeGroupe& groupes) {
    if (destinations.Vide() || ImagePanneau.isNull()) return;
    const int hauteur = ImagePanneau.height(), largeur = ImagePanneau.width();
    const int32_t courant = groupes.Courant;
    const bool sousNiveau = courant != 0;
    HauteurTuile = groupes.HauteurCourante() + 34;
    const int nombre = groupes.NbCourant();
    const int ajuste = hauteur / std::max(1, sousNiveau ? nombre + 1 : nombre);
    if (ajuste <= HauteurTuile) {
        BarreVisible = true;
    } else {
        HauteurTuile = ajuste;
        BarreVisible = false;
        groupes.FixePositionCourante(0);
    }
    NbTuilesVisibles = hauteur / HauteurTuile;
    BarreMaximum = (nombre - 1 - NbTuilesVisibles < 0 ? 0 : nombre - NbTuilesVisibles) + 1;
    if (groupes.PositionCourante() > BarreMaximum) groupes.FixePositionCourante(BarreMaximum);

    Raccourcis.fill(TTuile());
    std::size_t raccourcis = 0;
    if (sousNiveau)
        for (int i = 1; i < destinations.Count() && raccourcis == 0; ++i)
            if (destinations.Element(i)->SousGroupe == courant)
                Raccourcis[raccourcis++] = destinations.Partage(i);
    for (int i = 1; i < destinations.Count() && raccourcis < Raccourcis.size(); ++i)
        if (destinations.Element(i)->Groupe == courant) Raccourcis[raccourcis++] = destinations.Partage(i);

    ImagePanneau.fill(Couleurs.Face);
    Tuiles.fill(TTuile());
    Dessine(*destinations.Element(0), 0, 0, 0, false, HauteurTuile, largeur, courant);
    Tuiles[0] = destinations.Partage(0);

    int shown = 0, fixed = 0;
    const int p = groupes.PositionCourante();
    if (sousNiveau) {
        for (int i = 1; i < destinations.Count(); ++i) {
            TDestination* parent = destinations.Element(i);
            if (parent->SousGroupe != courant) continue;
            Dessine(*parent, 0, HauteurTuile, i, false, HauteurTuile, largeur, courant);
            Tuiles[1] = destinations.Partage(i);
            shown = fixed = 1;
            break;
        }
        DessineRetour(0, 2 * HauteurTuile, false, hauteur - 2 * HauteurTuile, 20);
    }
    // Never more slots than there are: a very tall panel leaves its bottom empty.
    const int derniere = std::min(NbTuilesVisibles, NombreCases - 1);
    for (int i = 1; i < destinations.Count(); ++i) {
        TDestination* e = destinations.Element(i);
        e->Visible = e->SousGroupe == courant;
        if (e->Groupe != courant) continue;
        ++shown;
        if (shown > p + fixed && shown <= p + NbTuilesVisibles && shown - p <= derniere) {
            e->Visible = true;
            const int slot = shown - p;
            Dessine(*e, 0, slot * HauteurTuile, i, false, HauteurTuile, largeur, courant);
            Tuiles[static_cast<size_t>(slot)] = destinations.Partage(i);
        }
    }
}

void TPanneauDestinations::Biseau(QPainter& p, int x, int y, int w1, int h1, bool enfonce) {
    Polygone(p, Couleurs.Lumiere, {{x, y}, {x + w1, y}, {x + w1 - 2, y + 2}, {x + 2, y + 2}});
    Polygone(p, Couleurs.Lumiere, {{x, y}, {x, y + h1}, {x + 2, y + h1 - 2}, {x + 2, y + 2}});
    const int bas = enfonce ? y + h1 - 1 : y + h1;
    Polygone(p, Couleurs.Ombre, {{x, bas}, {x + w1, bas}, {x + w1 - 2, y + h1 - 2}, {x + 2, y + h1 - 2}});
    Polygone(p, Couleurs.Ombre,
             {{x + w1, y + h1}, {x + w1, y}, {x + w1 - 2, y + 2}, {x + w1 - 2, y + h1 - 2}});
    Trait(p, Couleurs.OmbreFoncee, {{x, bas}, {x + w1, bas}, {x + w1, y}});
}

void TPanneauDestinations::Dessine(TDestination& d, int x, int y, int rang, bool enfonce, int h, int w,
                                   int32_t courant) {
    if (d.Groupe != 0 && d.SousGroupe != courant && d.Titre != TitreCorbeille) {
        x += 20;
        w -= 20;
    }
    d.Rang = rang;
    const int w1 = w - 1, h1 = h - 1;
    if (enfonce) {
        ++x;
        ++y;
    }
    d.TuileX = x;
    d.TuileY = y;
    d.TuileHauteur = h1;
    d.TuileLargeur = w1;

    QPainter p(&ImagePanneau);
    Remplit(p, x, y, x + w1, y + h1, Couleurs.Face);
    Biseau(p, x, y, w1, h1, enfonce);
    const bool ouvreNiveau = d.SousGroupe != -1;
    if (ouvreNiveau) {
        Remplit(p, x + 5, y + 5, x + 24, y + h1 - 21, Couleurs.Face);
        Trait(p, Couleurs.Ombre, {{x + 24, y + 4}, {x + 5, y + 4}, {x + 5, y + h1 - 21}});
        Trait(p, Couleurs.Lumiere, {{x + 5, y + h1 - 21}, {x + 24, y + h1 - 21}, {x + 24, y + 4}});
        if (!IconeSousGroupe.isNull()) p.drawImage(x + 6, y + (h - 26) / 2, IconeSousGroupe);
    }

    p.setFont(d.Fonte);
    const QFontMetrics mesure(d.Fonte);
    const int largeurTexte = mesure.horizontalAdvance(d.Titre);
    const int ty = (h - 21 - mesure.height()) / 2;
    const int tx = ((ouvreNiveau ? w1 - 60 : w1 - 30) - largeurTexte) / 2;
    const int x0 = ouvreNiveau ? x + 30 + tx : x + tx;
    p.setClipRect(QRect(QPoint(ouvreNiveau ? x + 26 : x + 2, y + 2), QPoint(x + w1 - 32, y + h1 - 2)));
    auto ecrit = [&](const QColor& couleur, int gauche, int haut) {
        p.setPen(couleur);
        p.drawText(gauche, haut + mesure.ascent(), d.Titre);
    };
    if (!d.Active) {
        ecrit(Couleurs.Ombre, x0 + 1, y + ty + 3);
        ecrit(Couleurs.Lumiere, x0, y + ty + 2);
    } else {
        const uint32_t bgr = static_cast<uint32_t>(d.FonteCouleur);
        ecrit(d.FonteCouleur >= 0 ? QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF)
                                  : QColor(Qt::black),
              x0, y + ty + 2);
    }
    p.setClipping(false);
    if (const int touche = ToucheDe(d)) {
        // The key, small and grey in the top left corner, inside the bevel.
        QFont petite = PoliceFenetre;
        petite.setPixelSize(9);
        p.setFont(petite);
        p.setPen(Couleurs.Ombre);
        p.drawText(x + 3, y + 2 + QFontMetrics(petite).ascent(), QString::number(touche));
    }
    if (Copies.contains(&d)) {
        // A near copy of the current image is here: a thin orange bar inside the right bevel.
        Remplit(p, x + w1 - 4, y + 3, x + w1 - 3, y + h1 - 3, QColor(0xF0, 0x8A, 0x24));
    }
    if (enfonce) Trait(p, Qt::black, {{x - 1, y + h1 - 1}, {x - 1, y - 1}, {x + w1 - 1, y - 1}});
    p.end();
    DessineEtat(d, enfonce);
}

void TPanneauDestinations::DessineEtat(TDestination& d, bool) {
    if (d.Titre == TitreCorbeille) return;
    const int x = d.TuileX, y = d.TuileY, h1 = d.TuileHauteur, w1 = d.TuileLargeur;
    QPainter p(&ImagePanneau);
    Trait(p, Couleurs.Lumiere, {{x + 5, y + h1 - 5}, {x + w1 - 5, y + h1 - 5}, {x + w1 - 5, y + h1 - 20}});
    Trait(p, Couleurs.Ombre, {{x + w1 - 5, y + h1 - 20}, {x + 5, y + h1 - 20}, {x + 5, y + h1 - 5}});
    p.setFont(PoliceFenetre);
    const QFontMetrics mesure(PoliceFenetre);

    const TDestination::TComptes comptes = d.Comptes();
    Remplit(p, x + w1 - 34, y + 3, x + w1 - 5, y + h1 - 21,
            comptes.Doublons == 0 ? Couleurs.Face : JaunePale);
    Trait(p, Couleurs.Ombre, {{x + w1 - 5, y + 3}, {x + w1 - 35, y + 3}, {x + w1 - 35, y + h1 - 21}});
    Trait(p, Couleurs.Lumiere, {{x + w1 - 35, y + h1 - 21}, {x + w1 - 5, y + h1 - 21}});
    const QString compte = QString::number(comptes.Doublons);
    p.setPen(Qt::black);
    p.drawText(x + (w1 - 38) + (35 - mesure.horizontalAdvance(compte)) / 2,
               y + (h1 - 20) / 2 - mesure.height() / 2 + mesure.ascent(), compte);

    if (!d.RechercheLocale) {
        // Not searched: an empty well and a grey word, rather than a progress that never moves.
        const QString texte = QStringLiteral("Recherche désactivée");
        p.setPen(Couleurs.Ombre);
        p.drawText(x + w1 / 2 - mesure.horizontalAdvance(texte) / 2, y + h1 - 20 + mesure.ascent(), texte);
        return;
    }
    const qint64 enAttente = comptes.ATraiter;
    const qint64 faites = comptes.Signatures;
    const qint64 n = enAttente + faites;
    const int droite = x + w1 - 5, haut = y + h1 - 19, bas = y + h1 - 6;
    const int gauche = n == 0 ? droite : droite - static_cast<int>(enAttente * (w1 - 12) / n);
    Remplit(p, gauche, haut, droite, bas, d.EnTraitement ? Jaune : Orange);
    Remplit(p, x + 6, haut, gauche, bas, Vert);
    const QString pourcentage = QString::number(n == 0 ? 100 : faites * 100 / n) + SuffixeMode(d);
    p.setPen(Qt::black);
    p.drawText(x + w1 / 2 - mesure.horizontalAdvance(pourcentage) / 2, y + h1 - 20 + mesure.ascent(),
               pourcentage);
}

void TPanneauDestinations::DessineRetour(int x, int y, bool enfonce, int h, int w) {
    const int h1 = h - 1;
    int w1 = w - 1;
    if (enfonce) {
        ++x;
        ++y;
        --w1;
    }
    QPainter p(&ImagePanneau);
    Remplit(p, x, y, x + w1, y + h1, Couleurs.Face);
    Biseau(p, x, y, w1, h1, enfonce);
    QFont gras = PoliceFenetre;
    gras.setBold(true);
    p.setFont(gras);
    const QFontMetrics mesure(gras);
    const int ty = (h - 7 - mesure.height()) / 2;
    if (ty > 0) {
        p.setPen(Qt::black);
        p.drawText(x + (enfonce ? 3 : 2), y + ty + 2 + mesure.ascent(), QStringLiteral("<<"));
    }
}

void TPanneauDestinations::DessineSousGroupeEnfonce(const TDestination& d, int y, int h, int32_t courant) {
    const int x = d.Groupe != 0 && d.SousGroupe != courant ? 20 : 0;
    QPainter p(&ImagePanneau);
    Remplit(p, x + 5, y + 4, x + 24, y + h - 22, Qt::white);
    Trait(p, Couleurs.Ombre, {{x + 24, y + 3}, {x + 5, y + 3}, {x + 5, y + h - 22}});
    Trait(p, Couleurs.Lumiere, {{x + 5, y + h - 22}, {x + 24, y + h - 22}, {x + 24, y + 3}});
    if (!IconeSousGroupe.isNull()) p.drawImage(x + 6, y - 1 + (h - 25) / 2, IconeSousGroupe);
}

void TPanneauDestinations::DessineDoublonsEnfonce(int y, int h, int w) {
    QPainter p(&ImagePanneau);
    Remplit(p, w - 35, y + 2, w - 6, y + h - 22, Orange);
}

TDestination* TPanneauDestinations::TuileA(int y) const {
    if (y < 0 || HauteurTuile <= 0) return nullptr;
    const int slot = y / HauteurTuile;
    return slot < NombreCases ? static_cast<TDestination*>(Tuiles[static_cast<size_t>(slot)]) : nullptr;
}

QString TPanneauDestinations::Indice(const TDestination& d, int touche, const QString& copie) {
    const TDestination::TComptes comptes = d.Comptes();
    return d.Chemin +
           QStringLiteral("\rA traiter :%1\rTraités :%2\rErronés :%3")
               .arg(comptes.ATraiter)
               .arg(comptes.Signatures)
               .arg(comptes.Intraitables) +
           (touche > 0 ? QStringLiteral("\rTouche : %1").arg(touche) : QString()) +
           (copie.isEmpty() ? QString() : QStringLiteral("\rDéjà ici : %1").arg(QFileInfo(copie).fileName()));
}

int TPanneauDestinations::ToucheDe(const TDestination& d) const {
    for (std::size_t i = 0; i < Raccourcis.size(); ++i)
        if (Raccourcis[i] == &d) return static_cast<int>(i) + 1;
    return 0;
}
