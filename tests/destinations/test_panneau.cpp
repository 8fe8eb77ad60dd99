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
