#include "panneau.h"

#include "destination.h"
#include "listegroupe.h"

#include "core/app/policeajustee.h"
#include "core/source/ajusteimage.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QtMath>

#include <functional>

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

// A line through the points, as a pen moves from one to the next. The lines are all level or
// upright: each segment is filled as the row or column of whole pixels it covers, which on a
// picture of fractional pixel ratio meets the neighbouring fills edge to edge, where a pen centred
// on the line would leave a row of the background between two tiles.
void Trait(QPainter& p, const QColor& couleur, std::initializer_list<QPoint> points) {
    const QPoint* precedent = nullptr;
    for (const QPoint& point : points) {
        if (precedent)
            p.fillRect(
                QRect(QPoint(std::min(precedent->x(), point.x()), std::min(precedent->y(), point.y())),
                      QPoint(std::max(precedent->x(), point.x()), std::max(precedent->y(), point.y()))),
                couleur);
        precedent = &point;
    }
}

// The rectangle from (x1, y1) to (x2, y2), both corners included; empty when they cross, so that
// a zone squeezed out by a narrow panel holds no point.
QRect Zone(int x1, int y1, int x2, int y2) {
    return x2 < x1 || y2 < y1 ? QRect() : QRect(QPoint(x1, y1), QPoint(x2, y2));
}

} // namespace

TGeometrieTuile TGeometrieTuile::Pour(const QRect& tuile, bool ouvreNiveau, bool corbeille) {
    TGeometrieTuile g;
    g.Tuile = tuile;
    const int x = tuile.left(), y = tuile.top(), droite = tuile.right(), bas = tuile.bottom();
    const int bordCompteur = droite - 35, bordPuits = x + 24;
    if (ouvreNiveau) {
        g.Puits = QRect(QPoint(x + 5, y + 4), QPoint(bordPuits, bas - 21));
        g.ZoneNiveau = Zone(x + 1, y, bordPuits, bas);
    }
    // The title stops where the counter begins, on the trash too, which has no counter.
    g.Texte = QRect(QPoint(ouvreNiveau ? x + 26 : x + 2, y + 2), QPoint(bordCompteur - 1, bas - 2));
    g.ZoneTitre = Zone(x, y, bordCompteur - 1, bas);
    if (!corbeille) {
        g.Compteur = QRect(QPoint(bordCompteur, y + 3), QPoint(droite - 5, bas - 21));
        g.Barre = QRect(QPoint(x + 5, bas - 20), QPoint(droite - 5, bas - 5));
        g.ZoneDoublons = Zone(bordCompteur, y, droite, bas);
    }
    return g;
}

TZoneTuile TGeometrieTuile::ZoneA(QPoint point, bool active) const {
    if (ZoneNiveau.contains(point)) return TZoneTuile::Niveau;
    if (!active) return TZoneTuile::Aucune;
    if (ZoneTitre.contains(point)) return TZoneTuile::Titre;
    if (ZoneDoublons.contains(point)) return TZoneTuile::Doublons;
    return TZoneTuile::Aucune;
}

QString SuffixeMode(const TDestination& d) {
    if (d.RechercheGenerale) return QStringLiteral("% (Général)");
    if (d.RechercheLocale) return QStringLiteral("% (Local)");
    return QStringLiteral("% (Désactivé)");
}

void TPanneauDestinations::Redimensionne(QSize taille, qreal rapport) {
    Taille = taille.expandedTo(QSize(1, 1));
    Rapport = rapport > 0 ? rapport : 1.0;
    // Rounded as the image control rounds its own device size, so that it shows the picture 1:1.
    ImagePanneau = QImage(TailleEnPixels(Taille, Rapport).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    ImagePanneau.setDevicePixelRatio(Rapport);
    ImagePanneau.fill(Couleurs.Face);
}

QImage TPanneauDestinations::IconeNiveau() const {
    QImage icone = Rapport > 1.0 && !IconeSousGroupe2x.isNull() ? IconeSousGroupe2x : IconeSousGroupe;
    if (!icone.isNull()) icone.setDevicePixelRatio(icone.width() / 16.0);
    return icone;
}

void TPanneauDestinations::RafraichisListeDestinations(const ListeDestinations& destinations,
                                                       TListeGroupe& groupes) {
    if (destinations.Vide() || ImagePanneau.isNull()) return;
    // Laid out in logical pixels: the slots and hit zones are the same at every ratio.
    const int hauteur = Taille.height(), largeur = Taille.width();
    const int32_t courant = groupes.Courant;
    const bool sousNiveau = courant != 0;
    Courant = courant;
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
    Places.fill(TGeometrieTuile());
    // Lays destination i into a slot: its place is kept for the hit testing, then drawn there.
    auto pose = [&](int slot, int i) {
        const auto k = static_cast<size_t>(slot);
        Places[k] = PlaceDe(*destinations.Element(i), 0, slot * HauteurTuile, HauteurTuile, largeur, courant);
        DessineTuile(*destinations.Element(i), Places[k], i, false);
        Tuiles[k] = destinations.Partage(i);
    };
    pose(0, 0);

    int shown = 0, fixed = 0;
    const int p = groupes.PositionCourante();
    Retour = QRect();
    if (sousNiveau) {
        for (int i = 1; i < destinations.Count(); ++i) {
            if (destinations.Element(i)->SousGroupe != courant) continue;
            pose(1, i);
            shown = fixed = 1;
            break;
        }
        // The strip runs from below the parent to the bottom of the picture.
        if (hauteur > 2 * HauteurTuile)
            Retour = QRect(0, 2 * HauteurTuile, LargeurRetour, hauteur - 2 * HauteurTuile);
        DessineRetour(false);
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
            pose(shown - p, i);
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

TGeometrieTuile TPanneauDestinations::PlaceDe(const TDestination& d, int x, int y, int h, int w,
                                              int32_t courant) {
    if (d.Groupe != 0 && d.SousGroupe != courant && d.Titre != TitreCorbeille) {
        x += LargeurRetour;
        w -= LargeurRetour;
    }
    return TGeometrieTuile::Pour(QRect(x, y, w, h), d.SousGroupe != -1, d.Titre == TitreCorbeille);
}

void TPanneauDestinations::Dessine(TDestination& d, int x, int y, int rang, bool enfonce, int h, int w,
                                   int32_t courant) {
    TGeometrieTuile place = PlaceDe(d, x, y, h, w, courant);
    // Pressed, the whole tile moves one pixel down and right.
    if (enfonce)
        place = TGeometrieTuile::Pour(place.Tuile.translated(1, 1), d.SousGroupe != -1,
                                      d.Titre == TitreCorbeille);
    DessineTuile(d, place, rang, enfonce);
}

void TPanneauDestinations::DessineTuile(TDestination& d, const TGeometrieTuile& place, int rang,
                                        bool enfonce) {
    d.Rang = rang;
    const int x = place.Tuile.left(), y = place.Tuile.top();
    const int w1 = place.Tuile.width() - 1, h1 = place.Tuile.height() - 1, h = h1 + 1;
    d.TuileX = x;
    d.TuileY = y;
    d.TuileHauteur = h1;
    d.TuileLargeur = w1;

    QPainter p(&ImagePanneau);
    // A pressed tile moves within its slot and never draws over its neighbours.
    const QRect cadre = enfonce ? place.Tuile.translated(-1, -1) : place.Tuile;
    p.setClipRect(cadre);
    Remplit(p, x, y, x + w1, y + h1, Couleurs.Face);
    Biseau(p, x, y, w1, h1, enfonce);
    const bool ouvreNiveau = d.SousGroupe != -1;
    if (ouvreNiveau) {
        const QRect& puits = place.Puits;
        Remplit(p, puits.left(), puits.top() + 1, puits.right(), puits.bottom(), Couleurs.Face);
        Trait(p, Couleurs.Ombre, {puits.topRight(), puits.topLeft(), puits.bottomLeft()});
        Trait(p, Couleurs.Lumiere, {puits.bottomLeft(), puits.bottomRight(), puits.topRight()});
        const QImage icone = IconeNiveau();
        // At a fractional ratio the dense cell is reduced: filtered, not pixels dropped.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (!icone.isNull()) p.drawImage(puits.left() + 1, y + (h - 26) / 2, icone);
    }

    // The title is measured on the picture itself, so that the width it is centred by is the width
    // it is drawn at, whatever dots per inch the picture and the screen hold; one wider than its
    // room is written smaller rather than cut. It is centred on the middle of the span left of the
    // counter (right of the well), not on the middle of the area it is clipped to: it may be as
    // wide as twice the room on its narrower side, less a pixel of margin each side.
    const int debut = ouvreNiveau ? x + 30 : x, etendue = ouvreNiveau ? w1 - 60 : w1 - 30;
    const int centreDouble = 2 * debut + etendue;
    const int largeurPossible =
        std::min(centreDouble - 2 * (place.Texte.left() + 1), 2 * place.Texte.right() - centreDouble);
    const QFont titre = PoliceAjustee(d.Fonte, d.Titre, largeurPossible - 2, &ImagePanneau);
    p.setFont(titre);
    const QFontMetrics mesure(titre, &ImagePanneau);
    const int largeurTexte = qCeil(QFontMetricsF(titre, &ImagePanneau).horizontalAdvance(d.Titre));
    const int ty = (h - 21 - mesure.height()) / 2;
    const int x0 = debut + (etendue - largeurTexte) / 2;
    p.setClipRect(place.Texte, Qt::IntersectClip);
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
    p.setClipRect(cadre);
    if (const int touche = ToucheDe(d)) {
        // The key, small and grey in the top left corner, inside the bevel.
        QFont petite = PoliceFenetre;
        petite.setPixelSize(9);
        p.setFont(petite);
        p.setPen(Couleurs.Ombre);
        p.drawText(x + 3, y + 2 + QFontMetrics(petite, &ImagePanneau).ascent(), QString::number(touche));
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
    const TGeometrieTuile place =
        TGeometrieTuile::Pour(QRect(x, y, w1 + 1, h1 + 1), d.SousGroupe != -1, false);
    const QRect &boite = place.Compteur, &barre = place.Barre;
    QPainter p(&ImagePanneau);
    Trait(p, Couleurs.Lumiere, {barre.bottomLeft(), barre.bottomRight(), barre.topRight()});
    Trait(p, Couleurs.Ombre, {barre.topRight(), barre.topLeft(), barre.bottomLeft()});
    // Each text in the window's font, made smaller when its box is too narrow for it.
    auto ecrit = [&](const QString& texte, int largeur,
                     const std::function<QPoint(const QFontMetrics&)>& ou) {
        const QFont police = PoliceAjustee(PoliceFenetre, texte, largeur, &ImagePanneau);
        p.setFont(police);
        p.drawText(ou(QFontMetrics(police, &ImagePanneau)), texte);
    };

    const TDestination::TComptes comptes = d.Comptes();
    Remplit(p, boite.left() + 1, boite.top(), boite.right(), boite.bottom(),
            comptes.Doublons == 0 ? Couleurs.Face : JaunePale);
    Trait(p, Couleurs.Ombre, {boite.topRight(), boite.topLeft(), boite.bottomLeft()});
    Trait(p, Couleurs.Lumiere, {boite.bottomLeft(), boite.bottomRight()});
    const QString compte = QString::number(comptes.Doublons);
    p.setPen(Qt::black);
    ecrit(compte, boite.width() - 3, [&](const QFontMetrics& mesure) {
        return QPoint(boite.left() - 3 + (35 - mesure.horizontalAdvance(compte)) / 2,
                      y + (h1 - 20) / 2 - mesure.height() / 2 + mesure.ascent());
    });
    const auto auCentreDeLaBarre = [&](const QString& texte) {
        return [&, texte](const QFontMetrics& mesure) {
            return QPoint(x + w1 / 2 - mesure.horizontalAdvance(texte) / 2, barre.top() + mesure.ascent());
        };
    };

    if (!d.RechercheLocale) {
        // Not searched: an empty well and a grey word, rather than a progress that never moves.
        const QString texte = QStringLiteral("Recherche désactivée");
        p.setPen(Couleurs.Ombre);
        ecrit(texte, barre.width() - 4, auCentreDeLaBarre(texte));
        return;
    }
    const qint64 enAttente = comptes.ATraiter;
    const qint64 faites = comptes.Signatures;
    const qint64 n = enAttente + faites;
    const int droite = barre.right(), haut = barre.top() + 1, bas = barre.bottom() - 1;
    const int gauche = n == 0 ? droite : droite - static_cast<int>(enAttente * (w1 - 12) / n);
    Remplit(p, gauche, haut, droite, bas, d.EnTraitement ? Jaune : Orange);
    Remplit(p, barre.left() + 1, haut, gauche, bas, Vert);
    const QString pourcentage = QString::number(n == 0 ? 100 : faites * 100 / n) + SuffixeMode(d);
    p.setPen(Qt::black);
    ecrit(pourcentage, barre.width() - 4, auCentreDeLaBarre(pourcentage));
}

void TPanneauDestinations::DessineRetour(bool enfonce) {
    if (Retour.isEmpty()) return;
    int x = Retour.left(), y = Retour.top();
    const int h = Retour.height(), h1 = h - 1;
    int w1 = Retour.width() - 1;
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
    gras = PoliceAjustee(gras, QStringLiteral("<<"), w1 - 3, &ImagePanneau);
    p.setFont(gras);
    const QFontMetrics mesure(gras, &ImagePanneau);
    const int ty = (h - 7 - mesure.height()) / 2;
    if (ty > 0) {
        p.setPen(Qt::black);
        p.drawText(x + (enfonce ? 3 : 2), y + ty + 2 + mesure.ascent(), QStringLiteral("<<"));
    }
}

void TPanneauDestinations::DessineSousGroupeEnfonce(const TGeometrieTuile& place) {
    // Pressed, the well's frame starts one row higher and its inside turns white.
    const QRect& puits = place.Puits;
    const QPoint hautGauche(puits.left(), puits.top() - 1), hautDroite(puits.right(), puits.top() - 1);
    QPainter p(&ImagePanneau);
    Remplit(p, puits.left(), puits.top(), puits.right(), puits.bottom(), Qt::white);
    Trait(p, Couleurs.Ombre, {hautDroite, hautGauche, puits.bottomLeft()});
    Trait(p, Couleurs.Lumiere, {puits.bottomLeft(), puits.bottomRight(), hautDroite});
    const QImage icone = IconeNiveau();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!icone.isNull())
        p.drawImage(puits.left() + 1, place.Tuile.top() - 1 + (place.Tuile.height() - 25) / 2, icone);
}

void TPanneauDestinations::DessineDoublonsEnfonce(const TGeometrieTuile& place) {
    const QRect& boite = place.Compteur;
    QPainter p(&ImagePanneau);
    Remplit(p, boite.left() + 1, boite.top() - 1, boite.right(), boite.bottom(), Orange);
}

TDestination* TPanneauDestinations::TuileA(int y) const {
    if (y < 0 || HauteurTuile <= 0) return nullptr;
    const int slot = y / HauteurTuile;
    return slot < NombreCases ? static_cast<TDestination*>(Tuiles[static_cast<size_t>(slot)]) : nullptr;
}

TCibleTuile TPanneauDestinations::Sous(QPoint point) const {
    TCibleTuile cible;
    if (HauteurTuile <= 0 || !QRect(QPoint(0, 0), Taille).contains(point)) return cible;
    cible.Case = point.y() / HauteurTuile;
    if (cible.Case >= NombreCases) return cible;
    const auto k = static_cast<size_t>(cible.Case);
    cible.Destination = Tuiles[k];
    if (Retour.contains(point))
        cible.Zone = TZoneTuile::Retour;
    else if (cible.Destination)
        cible.Zone = Places[k].ZoneA(point, cible.Destination->Active);
    return cible;
}

TCibleTuile TPanneauDestinations::Appuie(QPoint point, bool droit) {
    const TCibleTuile cible = Sous(point);
    TDestination* d = cible.Destination;
    YEnfonce = point.y();
    TuileEnfoncee = d && d->Active ? d->Rang : -1;
    Enfoncee = d ? Tuiles[static_cast<size_t>(cible.Case)] : TTuile();
    if (droit || cible.Zone == TZoneTuile::Aucune) return cible;
    const TGeometrieTuile& place = Places[static_cast<size_t>(cible.Case)];
    switch (cible.Zone) {
    case TZoneTuile::Retour:
        // The strip and the level icon answer even beside a tile that is not active.
        TuileEnfoncee = d ? d->Rang : -1;
        DessineRetour(true);
        break;
    case TZoneTuile::Niveau:
        TuileEnfoncee = d->Rang;
        DessineSousGroupeEnfonce(place);
        break;
    case TZoneTuile::Titre:
        Dessine(*d, 0, place.Tuile.top(), d->Rang, true, HauteurTuile, Taille.width(), Courant);
        break;
    case TZoneTuile::Doublons:
        DessineDoublonsEnfonce(place);
        break;
    case TZoneTuile::Aucune:
        break;
    }
    ZoneEnfoncee = cible.Zone;
    return cible;
}

TRelacheTuile TPanneauDestinations::Relache(QPoint point) {
    const TCibleTuile cible = Sous(point);
    // A release on the panel's first column counts as off every tile.
    const int r = point.x() >= 1 && cible.Destination ? cible.Destination->Rang : -1;
    if (ZoneEnfoncee == TZoneTuile::Retour) DessineRetour(false);
    TDestination* enfonce = TuileEnfoncee >= 0 ? static_cast<TDestination*>(Enfoncee) : nullptr;
    if (enfonce) {
        const int y = enfonce->Titre == TitreCorbeille ? 0 : (YEnfonce / HauteurTuile) * HauteurTuile;
        Dessine(*enfonce, 0, y, TuileEnfoncee, false, HauteurTuile, Taille.width(), Courant);
    }
    if (cible.Case < 0 || r != TuileEnfoncee) return {};
    switch (ZoneEnfoncee) {
    case TZoneTuile::Retour:
        if (cible.Zone == TZoneTuile::Retour) return {TRelacheTuile::Remonte, Tuiles[1]};
        break;
    case TZoneTuile::Niveau:
        if (cible.Zone == TZoneTuile::Niveau && enfonce) return {TRelacheTuile::Ouvre, enfonce};
        break;
    case TZoneTuile::Titre:
        // Anywhere left of the counter files, the level icon included.
        if (enfonce && point.x() <= Places[static_cast<size_t>(cible.Case)].ZoneTitre.right())
            return {TRelacheTuile::Classe, enfonce};
        break;
    case TZoneTuile::Doublons:
        if (cible.Zone == TZoneTuile::Doublons && enfonce) return {TRelacheTuile::Revoit, enfonce};
        break;
    case TZoneTuile::Aucune:
        break;
    }
    return {};
}

void TPanneauDestinations::OublieAppui() {
    Relache(QPoint(-1, -1));
    TuileEnfoncee = -1;
    Enfoncee = {};
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
