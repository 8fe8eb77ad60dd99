#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"

#include <gtest/gtest.h>

namespace {

// A panel over a list of destinations: the trash, then those the test adds.
class PanneauTest : public testing::Test {
protected:
    PanneauTest() {
        panneau.Couleurs = {QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xFF, 0xFF), QColor(0x80, 0x80, 0x80),
                            QColor(0x40, 0x40, 0x40)};
        QFont police;
        police.setPixelSize(11);
        panneau.PoliceFenetre = police;
        groupes.Destinations = &destinations;
        auto corbeille = std::make_unique<TDestination>();
        corbeille->Titre = TitreCorbeille;
        corbeille->Groupe = corbeille->SousGroupe = -1;
        corbeille->Fonte.setPixelSize(21);
        destinations.Ajoute(TitreCorbeille, std::move(corbeille));
    }
    TDestination* Ajoute(const QString& titre, int groupe = 0, int sousGroupe = -1) {
        auto d = std::make_unique<TDestination>();
        d->Titre = titre;
        d->Chemin = QStringLiteral("/d/") + titre;
        d->Groupe = groupe;
        d->SousGroupe = sousGroupe;
        d->Fonte.setPixelSize(11);
        TDestination* brut = d.get();
        destinations.Ajoute(titre, std::move(d));
        sousGroupe != -1 ? groupes.AjouteGroupe(*brut) : groupes.Ajoute(*brut);
        return brut;
    }
    QRgb Pixel(int x, int y) const { return panneau.ImagePanneau.pixel(x, y); }

    TListeDestinations destinations;
    TListeGroupe groupes;
    TPanneauDestinations panneau;
};

} // namespace

TEST_F(PanneauTest, PeuDeTuilesSEtirentSansBarre) {
    Ajoute(QStringLiteral("A"))->RechercheLocale = true;
    Ajoute(QStringLiteral("B"));
    groupes.FixePositionCourante(3);
    panneau.Redimensionne({200, 600});
    panneau.RafraichisListeDestinations(destinations, groupes);
    // Three tiles share 600 pixels: 200 each, no scroll bar, position back to 0.
    EXPECT_EQ(panneau.HauteurTuile, 200);
    EXPECT_FALSE(panneau.BarreVisible);
    EXPECT_EQ(groupes.PositionCourante(), 0);
    EXPECT_EQ(panneau.Tuiles[0], destinations.Element(0));
    EXPECT_EQ(panneau.Tuiles[2], destinations.Element(2));
    EXPECT_EQ(panneau.TuileA(450), destinations.Element(2));
    EXPECT_EQ(destinations.Element(2)->Rang, 2);
    // The bevel: light on top, dark shadow along the bottom and right edges.
    EXPECT_EQ(Pixel(10, 200), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(Pixel(10, 399), qRgb(0x40, 0x40, 0x40));
    EXPECT_EQ(Pixel(199, 250), qRgb(0x40, 0x40, 0x40));
    // A destination with nothing at all is 100 % done: the whole bar is green.
    EXPECT_EQ(Pixel(15, 200 + 199 - 10), qRgb(0x60, 0xD0, 0x60));
}

TEST_F(PanneauTest, BeaucoupDeTuilesDefilent) {
    for (int i = 0; i < 30; ++i)
        Ajoute(QStringLiteral("D%1").arg(i));
    panneau.Redimensionne({200, 450});
    panneau.RafraichisListeDestinations(destinations, groupes);
    // Minimal height: largest title (11) + 34.
    EXPECT_EQ(panneau.HauteurTuile, 45);
    EXPECT_TRUE(panneau.BarreVisible);
    EXPECT_EQ(panneau.NbTuilesVisibles, 10);
    EXPECT_EQ(panneau.BarreMaximum, 31 - 10 + 1);
    EXPECT_EQ(panneau.Tuiles[1]->Titre, QStringLiteral("D0"));
    groupes.FixePositionCourante(5);
    panneau.RafraichisListeDestinations(destinations, groupes);
    EXPECT_EQ(panneau.Tuiles[0]->Titre, TitreCorbeille);
    EXPECT_EQ(panneau.Tuiles[1]->Titre, QStringLiteral("D5"));
    EXPECT_FALSE(destinations.Element(1)->Visible);
    // Scrolling past the end is held at the maximum.
    groupes.FixePositionCourante(500);
    panneau.RafraichisListeDestinations(destinations, groupes);
    EXPECT_EQ(groupes.PositionCourante(), panneau.BarreMaximum);
}

// Keys 1 to 9: the first nine tiles of the level, whatever the scrolling; in a level, the tile that
// opens it first. Each shows its digit in its top left corner.
TEST_F(PanneauTest, ChiffresDesNeufPremieresTuiles) {
    TDestination* parent = Ajoute(QStringLiteral("P"), 0, 1);
    for (int i = 0; i < 12; ++i)
        Ajoute(QStringLiteral("D%1").arg(i));
    for (int i = 0; i < 3; ++i)
        Ajoute(QStringLiteral("E%1").arg(i), 1);
    panneau.Redimensionne({200, 450});
    groupes.FixePositionCourante(4);
    panneau.RafraichisListeDestinations(destinations, groupes);
    EXPECT_EQ(panneau.Raccourcis[0], parent);
    EXPECT_EQ(panneau.Raccourcis[8]->Titre, QStringLiteral("D7"));
    EXPECT_EQ(panneau.ToucheDe(*destinations.Element(10)), 0); // D8: no key
    const TDestination* d4 = destinations.Element(6);
    ASSERT_EQ(panneau.ToucheDe(*d4), 6);
    // The digit in the corner is all that tells apart two tiles of the same kind.
    auto coin = [&](const TDestination* d) {
        return panneau.ImagePanneau.copy(d->TuileX + 3, d->TuileY + 2, 8, 10);
    };
    const TDestination* d8 = destinations.Element(10);
    ASSERT_TRUE(d8->Visible);
    EXPECT_NE(coin(d4), coin(d8));
    EXPECT_EQ(panneau.ImagePanneau.copy(d4->TuileX + 20, d4->TuileY + 2, 30, 10),
              panneau.ImagePanneau.copy(d8->TuileX + 20, d8->TuileY + 2, 30, 10));
    groupes.Courant = 1;
    panneau.RafraichisListeDestinations(destinations, groupes);
    EXPECT_EQ(panneau.Raccourcis[0], parent);
    EXPECT_EQ(panneau.Raccourcis[1]->Titre, QStringLiteral("E0"));
    EXPECT_EQ(panneau.Raccourcis[3]->Titre, QStringLiteral("E2"));
    EXPECT_EQ(panneau.Raccourcis[4], nullptr);
}

TEST_F(PanneauTest, JamaisPlusDeCasesQueLeTableau) {
    for (int i = 0; i < 80; ++i)
        Ajoute(QStringLiteral("D%1").arg(i));
    panneau.Redimensionne({200, 4000});
    panneau.RafraichisListeDestinations(destinations, groupes);
    EXPECT_GT(panneau.NbTuilesVisibles, TPanneauDestinations::NombreCases);
    EXPECT_EQ(panneau.Tuiles[50]->Titre, QStringLiteral("D49"));
    EXPECT_EQ(panneau.TuileA(3999), nullptr);
}

TEST_F(PanneauTest, SousNiveauTitreGraveEtEtat) {
    TDestination* parent = Ajoute(QStringLiteral("Parent"), 0, 1);
    TDestination* enfant = Ajoute(QStringLiteral("Enfant"), 1);
    enfant->Active = false;
    enfant->RechercheLocale = true;
    enfant->ATraiter << QStringLiteral("/d/Enfant/a.jpg");
    enfant->ListeSignatures->Miniatures.push_back(std::make_shared<Tminiature>());
    enfant->Doublons << QStringLiteral("0000000001*a*b*");
    groupes.Courant = 1;
    panneau.Redimensionne({200, 600});
    panneau.RafraichisListeDestinations(destinations, groupes);
    const int h = panneau.HauteurTuile;
    EXPECT_EQ(h, 600 / 3);
    // Trash and parent stay in slots 0 and 1; the child stands right of the return strip.
    EXPECT_EQ(panneau.Tuiles[1], parent);
    EXPECT_EQ(panneau.Tuiles[2], enfant);
    EXPECT_EQ(enfant->TuileX, 20);
    EXPECT_EQ(parent->TuileX, 0);
    EXPECT_EQ(Pixel(0, 2 * h + 5), qRgb(0xFF, 0xFF, 0xFF)); // return strip bevel
    // Half done: green on the left of the bar, orange on the right; the counter box is yellow.
    const int y = enfant->TuileY, h1 = enfant->TuileHauteur, x = enfant->TuileX, w1 = enfant->TuileLargeur;
    EXPECT_EQ(Pixel(x + 10, y + h1 - 10), qRgb(0x60, 0xD0, 0x60));
    EXPECT_EQ(Pixel(x + w1 - 8, y + h1 - 10), qRgb(0xFF, 0x80, 0x60));
    EXPECT_EQ(Pixel(x + w1 - 30, y + 10), qRgb(0xFF, 0xFF, 0xE0));
    // The inactive title is engraved: shadow and light pixels, no black ones, in the title area.
    bool ombre = false, noir = false;
    for (int yy = y + 2; yy < y + h1 - 25; ++yy)
        for (int xx = x + 2; xx < x + w1 - 35; ++xx) {
            ombre |= Pixel(xx, yy) == qRgb(0x80, 0x80, 0x80);
            noir |= Pixel(xx, yy) == qRgb(0, 0, 0);
        }
    EXPECT_TRUE(ombre);
    EXPECT_FALSE(noir);
    EXPECT_EQ(TPanneauDestinations::Indice(*enfant),
              QStringLiteral("/d/Enfant\rA traiter :1\rTraités :1\rErronés :0"));
    EXPECT_EQ(SuffixeMode(*enfant), QStringLiteral("% (Local)"));
    enfant->RechercheLocale = false;
    EXPECT_EQ(SuffixeMode(*enfant), QStringLiteral("% (Désactivé)"));
    enfant->RechercheGenerale = true;
    EXPECT_EQ(SuffixeMode(*enfant), QStringLiteral("% (Général)"));
}

TEST_F(PanneauTest, CompteurEtBarreAuPixelPres) {
    TDestination* d = Ajoute(QStringLiteral("Un"));
    TDestination* arretee = Ajoute(QStringLiteral("Arrêtée"));
    d->RechercheLocale = true;
    d->Doublons << QStringLiteral("0000000001*a*b*");
    // One done of four: the green part ends a quarter of the way, not at a neighbouring column.
    d->ATraiter << QStringLiteral("/d/Un/a.jpg") << QStringLiteral("/d/Un/b.jpg")
                << QStringLiteral("/d/Un/c.jpg");
    d->ListeSignatures->Miniatures.push_back(std::make_shared<Tminiature>());
    arretee->ATraiter = d->ATraiter;
    panneau.Redimensionne({203, 400});
    panneau.RafraichisListeDestinations(destinations, groupes);
    const int x = d->TuileX, y = d->TuileY, w1 = d->TuileLargeur, h1 = d->TuileHauteur;
    const QRgb vert = qRgb(0x60, 0xD0, 0x60), orange = qRgb(0xFF, 0x80, 0x60);
    const int limite = x + w1 - 5 - 3 * (w1 - 12) / 4;
    EXPECT_EQ(Pixel(limite, y + h1 - 10), vert);
    EXPECT_EQ(Pixel(limite + 1, y + h1 - 10), orange);
    // The counter box: its shadow edge, then its first inner column.
    EXPECT_EQ(Pixel(x + w1 - 35, y + 10), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(Pixel(x + w1 - 34, y + 10), qRgb(0xFF, 0xFF, 0xE0));

    // A tile whose search is off has no bar at all, only a grey word in its empty well.
    const int ya = arretee->TuileY, ha = arretee->TuileHauteur;
    int ecrits = 0, autres = 0;
    for (int yy = ya + ha - 19; yy <= ya + ha - 6; ++yy)
        for (int xx = x + 6; xx <= x + w1 - 6; ++xx) {
            const QRgb p = Pixel(xx, yy);
            autres += p == vert || p == orange || p == qRgb(0, 0, 0);
            ecrits += p != qRgb(0xC0, 0xC0, 0xC0);
        }
    EXPECT_EQ(autres, 0);
    EXPECT_GT(ecrits, 40);
}

namespace {

// The points a drawn part must answer to: its centre and a point on each of its edges.
std::vector<QPoint> CentreEtBords(const QRect& r) {
    const QPoint c = r.center();
    return {c, {r.left(), c.y()}, {r.right(), c.y()}, {c.x(), r.top()}, {c.x(), r.bottom()}};
}

struct CasPanneau {
    const char* nom;
    QSize taille;
    int tuiles;      // destinations in the top level, the first of which opens level 1
    int enfants;     // destinations in level 1
    bool sousNiveau; // shown: level 1, with its return strip
    int position;    // scrolling
};

void PrintTo(const CasPanneau& cas, std::ostream* sortie) {
    *sortie << cas.nom;
}

class PanneauCasTest : public PanneauTest, public testing::WithParamInterface<CasPanneau> {};

} // namespace

// For panels wide, narrow, stretched, scrolled, with and without a return strip: every drawn part
// of every tile answers the hit test where it is drawn, with the colours it is drawn with, and the
// places no tile covers answer nothing.
TEST_P(PanneauCasTest, DessinEtZonesConcordent) {
    const CasPanneau& c = GetParam();
    const QRgb lumiere = qRgb(0xFF, 0xFF, 0xFF), ombre = qRgb(0x80, 0x80, 0x80);
    const QRgb foncee = qRgb(0x40, 0x40, 0x40), face = qRgb(0xC0, 0xC0, 0xC0);
    const QRgb jaune = qRgb(0xFF, 0xFF, 0xE0), vert = qRgb(0x60, 0xD0, 0x60);
    for (int i = 0; i < c.tuiles; ++i) {
        TDestination* d = Ajoute(QStringLiteral("T%1").arg(i), 0, i == 0 ? 1 : -1);
        d->RechercheLocale = true;
        if (i % 2 == 1) d->Doublons << QStringLiteral("0000000001*a*b*");
    }
    for (int i = 0; i < c.enfants; ++i)
        Ajoute(QStringLiteral("E%1").arg(i), 1)->RechercheLocale = true;
    groupes.Courant = c.sousNiveau ? 1 : 0;
    groupes.FixePositionCourante(c.position);
    panneau.Redimensionne(c.taille);
    panneau.RafraichisListeDestinations(destinations, groupes);
    const QRect image(QPoint(0, 0), c.taille);
    const int h = panneau.HauteurTuile;

    int tuilesVues = 0;
    for (int k = 0; k < TPanneauDestinations::NombreCases; ++k) {
        TDestination* d = panneau.Tuiles[static_cast<size_t>(k)];
        if (!d) continue;
        ++tuilesVues;
        SCOPED_TRACE(d->Titre.toStdString());
        const TGeometrieTuile& g = panneau.Places[static_cast<size_t>(k)];
        // The tile fills its slot, right of the return strip for the level's own tiles.
        EXPECT_EQ(g.Tuile.top(), k * h);
        EXPECT_EQ(g.Tuile.height(), h);
        EXPECT_EQ(g.Tuile.right(), c.taille.width() - 1);
        EXPECT_EQ(g.Tuile.left(), c.sousNiveau && k >= 2 ? TPanneauDestinations::LargeurRetour : 0);
        EXPECT_EQ(QRect(d->TuileX, d->TuileY, d->TuileLargeur + 1, d->TuileHauteur + 1), g.Tuile);
        if (!g.Tuile.intersects(image)) continue; // laid below the bottom of the picture
        for (const QPoint& p : CentreEtBords(g.Tuile.intersected(image))) {
            const TCibleTuile cible = panneau.Sous(p);
            EXPECT_EQ(cible.Case, k);
            EXPECT_EQ(cible.Destination, d);
        }
        if (g.Tuile.bottom() < c.taille.height()) {
            EXPECT_EQ(Pixel(g.Tuile.left(), g.Tuile.center().y()), lumiere);
            EXPECT_EQ(Pixel(g.Tuile.right(), g.Tuile.center().y()), foncee);
            EXPECT_EQ(Pixel(g.Tuile.center().x(), g.Tuile.bottom()), foncee);
        }
        if (g.Tuile.bottom() >= c.taille.height()) continue; // the last slot, cut off
        if (d->SousGroupe != -1) {
            ASSERT_FALSE(g.Puits.isEmpty());
            for (const QPoint& p : CentreEtBords(g.Puits))
                EXPECT_EQ(panneau.Sous(p).Zone, TZoneTuile::Niveau) << p.x() << "," << p.y();
            EXPECT_EQ(Pixel(g.Puits.left(), g.Puits.center().y()), ombre);
            EXPECT_EQ(Pixel(g.Puits.center().x(), g.Puits.top()), ombre);
            EXPECT_EQ(Pixel(g.Puits.right(), g.Puits.center().y()), lumiere);
            EXPECT_EQ(Pixel(g.Puits.center().x(), g.Puits.bottom()), lumiere);
            EXPECT_EQ(Pixel(g.Puits.right() - 1, g.Puits.bottom() - 1), face);
        } else {
            EXPECT_TRUE(g.Puits.isEmpty());
        }
        // Whatever is written inside the bevel above the bar, out of the well and the counter
        // (the title, the key), stands where a press files or opens the level; on the trash too,
        // which has no counter to cover the end of a long title.
        const QRect dedans =
            g.Tuile.adjusted(3, 3, -3, g.Barre.isEmpty() ? -3 : g.Barre.top() - g.Tuile.bottom() - 1);
        for (int y = dedans.top(); y <= dedans.bottom(); ++y)
            for (int x = dedans.left(); x <= dedans.right(); ++x) {
                const QPoint p(x, y);
                if (Pixel(x, y) == face || g.Puits.contains(p) || g.Compteur.contains(p)) continue;
                const TZoneTuile zone = panneau.Sous(p).Zone;
                EXPECT_TRUE(zone == TZoneTuile::Titre || zone == TZoneTuile::Niveau) << x << "," << y;
            }
        if (d->Titre == TitreCorbeille) {
            EXPECT_TRUE(g.Compteur.isEmpty() && g.Barre.isEmpty());
            continue;
        }
        for (const QPoint& p : CentreEtBords(g.Compteur))
            EXPECT_EQ(panneau.Sous(p).Zone, TZoneTuile::Doublons) << p.x() << "," << p.y();
        EXPECT_EQ(Pixel(g.Compteur.left(), g.Compteur.center().y()), ombre);
        EXPECT_EQ(Pixel(g.Compteur.center().x(), g.Compteur.top()), ombre);
        EXPECT_EQ(Pixel(g.Compteur.center().x(), g.Compteur.bottom()), lumiere);
        EXPECT_EQ(Pixel(g.Compteur.left() + 1, g.Compteur.top() + 1), d->Doublons.isEmpty() ? face : jaune);
        // The progress well belongs to its tile: left of the counter a press files (or opens
        // the level, below the well), below the counter it reviews.
        for (const QPoint& p : CentreEtBords(g.Barre)) {
            const TCibleTuile cible = panneau.Sous(p);
            EXPECT_EQ(cible.Destination, d);
            const bool sousLePuits = d->SousGroupe != -1 && p.x() <= g.Puits.right();
            EXPECT_EQ(cible.Zone, p.x() >= g.Compteur.left() ? TZoneTuile::Doublons
                                  : sousLePuits              ? TZoneTuile::Niveau
                                                             : TZoneTuile::Titre);
        }
        EXPECT_EQ(Pixel(g.Barre.left(), g.Barre.top()), ombre);
        EXPECT_EQ(Pixel(g.Barre.right(), g.Barre.bottom()), lumiere);
        EXPECT_EQ(Pixel(g.Barre.left() + 1, g.Barre.top() + 1), vert);
        EXPECT_EQ(Pixel(g.Barre.right(), g.Barre.top() + 1), vert);
    }
    EXPECT_GT(tuilesVues, c.sousNiveau ? 2 : 1);

    if (c.sousNiveau) {
        ASSERT_FALSE(panneau.Retour.isEmpty());
        EXPECT_EQ(panneau.Retour, QRect(0, 2 * h, 20, c.taille.height() - 2 * h));
        for (const QPoint& p : CentreEtBords(panneau.Retour))
            EXPECT_EQ(panneau.Sous(p).Zone, TZoneTuile::Retour);
        EXPECT_EQ(Pixel(0, panneau.Retour.center().y()), lumiere);
        EXPECT_EQ(Pixel(19, panneau.Retour.center().y()), foncee);
        // Beside the strip, the trash and the parent keep their left columns.
        EXPECT_EQ(panneau.Sous({5, h + h / 2}).Destination, panneau.Tuiles[1]);
        EXPECT_NE(panneau.Sous({5, h + h / 2}).Zone, TZoneTuile::Retour);
    } else {
        EXPECT_TRUE(panneau.Retour.isEmpty());
    }
    // Below the last tile laid, and outside the picture, nothing answers.
    int bas = 0;
    for (const TGeometrieTuile& g : panneau.Places)
        if (!g.Tuile.isNull()) bas = std::max(bas, g.Tuile.bottom() + 1);
    for (int y = bas; y < c.taille.height(); y += 7)
        for (int x = c.sousNiveau ? 20 : 0; x < c.taille.width(); x += 7) {
            const TCibleTuile cible = panneau.Sous({x, y});
            EXPECT_EQ(cible.Destination, nullptr) << x << "," << y;
            EXPECT_EQ(cible.Zone, TZoneTuile::Aucune) << x << "," << y;
        }
    for (const QPoint& dehors :
         {QPoint(-1, 10), QPoint(10, -1), QPoint(c.taille.width(), 10), QPoint(10, c.taille.height())})
        EXPECT_EQ(panneau.Sous(dehors).Case, -1);
}

INSTANTIATE_TEST_SUITE_P(Panneaux, PanneauCasTest,
                         testing::Values(CasPanneau{"PeuDeTuiles", {200, 600}, 2, 1, false, 0},
                                         CasPanneau{"BeaucoupDefilees", {203, 450}, 30, 1, false, 4},
                                         CasPanneau{"DefileesAuDelaDeLaFin", {203, 450}, 30, 1, false, 40},
                                         CasPanneau{"Etroit", {80, 300}, 4, 1, false, 0},
                                         CasPanneau{"SousNiveau", {220, 500}, 2, 3, true, 0},
                                         CasPanneau{"SousNiveauDefileEtroit", {90, 400}, 2, 25, true, 6}),
                         [](const testing::TestParamInfo<CasPanneau>& cas) {
                             return std::string(cas.param.nom);
                         });

// The press and release protocol on the panel alone: what each zone asks, the pressed drawing
// undone by the release, and the edges of the level well and of the counter box, which a press
// reaches as they are drawn.
TEST_F(PanneauTest, AppuiEtRelache) {
    TDestination* parent = Ajoute(QStringLiteral("Parent"), 0, 1);
    TDestination* simple = Ajoute(QStringLiteral("Simple"));
    TDestination* inactive = Ajoute(QStringLiteral("Source"), 0, 2);
    inactive->Active = false;
    TDestination* enfant = Ajoute(QStringLiteral("Enfant"), 1);
    Ajoute(QStringLiteral("Enfant 2"), 1);
    Ajoute(QStringLiteral("Enfant 3"), 1);
    panneau.Redimensionne({200, 400});
    panneau.RafraichisListeDestinations(destinations, groupes);
    const QImage leve = panneau.ImagePanneau;
    const TGeometrieTuile& p = panneau.Places[1];
    const TGeometrieTuile& s = panneau.Places[2];
    const TGeometrieTuile& inact = panneau.Places[3];
    ASSERT_EQ(panneau.Tuiles[1], parent);
    ASSERT_EQ(panneau.Tuiles[2], simple);
    const QRgb orange = qRgb(0xFF, 0x80, 0x60), blanc = qRgb(0xFF, 0xFF, 0xFF);
    auto clic = [&](QPoint appui, QPoint relache) {
        panneau.Appuie(appui, false);
        return panneau.Relache(relache);
    };

    // The counter box's left frame column reviews, pressed orange from the next column on.
    const QPoint bordCompteur(s.Compteur.left(), s.Compteur.center().y());
    EXPECT_EQ(panneau.Appuie(bordCompteur, false).Zone, TZoneTuile::Doublons);
    EXPECT_EQ(Pixel(s.Compteur.left() + 1, s.Compteur.top()), orange);
    TRelacheTuile r = panneau.Relache(bordCompteur);
    EXPECT_EQ(r.Action, TRelacheTuile::Revoit);
    EXPECT_EQ(r.Destination, simple);
    EXPECT_EQ(panneau.ImagePanneau, leve);

    // The well's right frame column opens the level; the well turns white while pressed.
    const QPoint bordPuits(p.Puits.right(), p.Puits.center().y());
    EXPECT_EQ(panneau.Appuie(bordPuits, false).Zone, TZoneTuile::Niveau);
    EXPECT_EQ(Pixel(p.Puits.right() - 1, p.Puits.bottom() - 1), blanc);
    r = panneau.Relache(bordPuits);
    EXPECT_EQ(r.Action, TRelacheTuile::Ouvre);
    EXPECT_EQ(r.Destination, parent);
    EXPECT_EQ(panneau.ImagePanneau, leve);

    // The title files, even released over the level icon of the same tile, but not left of it on
    // another tile, nor on the panel's first column, nor on the counter.
    const QPoint titre = p.ZoneTitre.center() + QPoint(20, 0);
    const TCibleTuile appui = panneau.Appuie(titre, false);
    EXPECT_EQ(appui.Zone, TZoneTuile::Titre);
    EXPECT_EQ(appui.Case, 1);
    EXPECT_NE(panneau.ImagePanneau, leve);
    EXPECT_EQ(parent->TuileX, 1); // drawn pressed: one pixel down and right
    r = panneau.Relache(p.ZoneNiveau.center());
    EXPECT_EQ(r.Action, TRelacheTuile::Classe);
    EXPECT_EQ(r.Destination, parent);
    EXPECT_EQ(panneau.ImagePanneau, leve);
    EXPECT_EQ(clic(titre, s.ZoneTitre.center()).Action, TRelacheTuile::Rien);
    EXPECT_EQ(panneau.ImagePanneau, leve);
    EXPECT_EQ(clic(titre, {0, titre.y()}).Action, TRelacheTuile::Rien);
    EXPECT_EQ(clic(titre, p.Compteur.center()).Action, TRelacheTuile::Rien);
    EXPECT_EQ(clic(titre, {titre.x(), -3}).Action, TRelacheTuile::Rien);

    // A tile that is not active answers on its level icon only; the trash has no counter.
    EXPECT_EQ(panneau.Sous(inact.ZoneTitre.center() + QPoint(20, 0)).Zone, TZoneTuile::Aucune);
    EXPECT_EQ(panneau.Sous(inact.Compteur.center()).Zone, TZoneTuile::Aucune);
    EXPECT_EQ(clic(inact.Puits.center(), inact.Puits.center()).Destination, inactive);
    EXPECT_EQ(panneau.Sous({199, 10}).Zone, TZoneTuile::Aucune);
    r = clic({100, 10}, {100, 10});
    EXPECT_EQ(r.Action, TRelacheTuile::Classe);
    EXPECT_EQ(r.Destination, destinations.Element(0));
    EXPECT_EQ(panneau.ImagePanneau, leve);

    // A right press remembers the tile and draws nothing.
    EXPECT_EQ(panneau.Appuie(titre, true).Destination, parent);
    EXPECT_EQ(panneau.ImagePanneau, leve);

    // In the level: the strip goes back up to the parent's level, the pressed strip drawn raised again.
    groupes.Courant = 1;
    panneau.RafraichisListeDestinations(destinations, groupes);
    const QImage niveau = panneau.ImagePanneau;
    ASSERT_EQ(panneau.Tuiles[2], enfant);
    const QPoint retour = panneau.Retour.center();
    EXPECT_EQ(panneau.Appuie(retour, false).Zone, TZoneTuile::Retour);
    EXPECT_NE(panneau.ImagePanneau, niveau);
    r = panneau.Relache(retour);
    EXPECT_EQ(r.Action, TRelacheTuile::Remonte);
    EXPECT_EQ(r.Destination, parent);
    EXPECT_EQ(panneau.ImagePanneau, niveau);
    // Pressed on the strip and released on the tile beside it: nothing.
    EXPECT_EQ(clic(retour, {100, retour.y()}).Action, TRelacheTuile::Rien);
}
