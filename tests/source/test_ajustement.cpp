#include "core/source/ajusteimage.h"
#include "core/source/navigation.h"

#include <gtest/gtest.h>

TEST(AjusteImage, ExemplesDuViseurEtDesApercus) {
    // 800 x 600 on 1024 x 768: its own size, centred.
    EXPECT_EQ(AjusteImage({800, 600}, {1024, 768}, {1024, 768}, QRect(0, 0, 1024, 768)),
              QRect(112, 84, 800, 600));
    // 3000 x 1000 on 1500 x 1000: ratio 0.5, full width, top 250.
    EXPECT_EQ(AjusteImage({3000, 1000}, {1500, 1000}, {1500, 1000}, QRect()), QRect(0, 250, 1500, 500));
    // A 400 x 300 preview with 4000 x 1000: 400 x 100 at top 100.
    EXPECT_EQ(AjusteImage({4000, 1000}, {400, 300}, {400, 300}, QRect()), QRect(0, 100, 400, 100));
    // Shrunk by height: full height, centred across.
    EXPECT_EQ(AjusteImage({1000, 2000}, {400, 300}, {400, 300}, QRect()), QRect(125, 0, 150, 300));
}

TEST(AjusteImage, ArrondisEtCasLimites) {
    // 333 x 100 into 100 x 100: height 100 / 3.33 = 30.03 -> 30; halves go to even.
    EXPECT_EQ(AjusteImage({333, 100}, {100, 100}, {100, 100}, QRect()).size(), QSize(100, 30));
    EXPECT_EQ(AjusteImage({400, 10}, {100, 100}, {100, 100}, QRect()).size(), QSize(100, 2)); // 2.5 -> 2
    EXPECT_EQ(AjusteImage({400, 14}, {100, 100}, {100, 100}, QRect()).size(), QSize(100, 4)); // 3.5 -> 4
    // Centring halves toward zero.
    EXPECT_EQ(AjusteImage({10, 10}, {15, 15}, {15, 15}, QRect()), QRect(2, 2, 10, 10));
    // Exactly the box: no move.
    EXPECT_EQ(AjusteImage({640, 480}, {640, 480}, {640, 480}, QRect()), QRect(0, 0, 640, 480));
    // An empty picture keeps the last rectangle, still centred against the reference.
    EXPECT_EQ(AjusteImage({0, 0}, {400, 300}, {400, 300}, QRect(0, 0, 100, 50)), QRect(150, 125, 100, 50));
    EXPECT_EQ(AjusteImage({0, 0}, {400, 300}, {400, 300}, QRect(0, 0, 400, 300)), QRect(0, 0, 400, 300));
}

struct CasEtape {
    int a, d;
    bool retiree;
    int nombre;
    EtapeAffichage etape;
    int affiche, demande;
};

class DecideEtapeTest : public testing::TestWithParam<CasEtape> {};

TEST_P(DecideEtapeTest, EtapeLaMoinsChere) {
    const CasEtape& c = GetParam();
    const DecisionAffichage d = DecideEtape(c.a, c.d, c.retiree, c.nombre, false);
    EXPECT_EQ(d.Etape, c.etape);
    EXPECT_EQ(d.IndexAffiche, c.affiche);
    EXPECT_EQ(d.IndexDemande, c.demande);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, DecideEtapeTest,
    testing::Values(CasEtape{3, 4, false, 10, EtapeAffichage::Avance, 4, 4},
                    CasEtape{3, 2, false, 10, EtapeAffichage::Recule, 2, 2},
                    CasEtape{0, 9, false, 10, EtapeAffichage::AfficheTout, 9, 9},
                    CasEtape{9, 0, false, 10, EtapeAffichage::AfficheTout, 0, 0},
                    // A few files away: one step on the way, the request kept.
                    CasEtape{3, 6, false, 10, EtapeAffichage::Avance, 4, 6},
                    CasEtape{3, 1, false, 10, EtapeAffichage::Recule, 2, 1},
                    CasEtape{3, 3, false, 10, EtapeAffichage::AfficheTout, 3, 3},
                    // The removed current file: what followed it comes in, the position stays.
                    CasEtape{3, 3, true, 9, EtapeAffichage::Avance, 3, 3},
                    CasEtape{3, -3, true, 9, EtapeAffichage::Avance, 3, 3},
                    CasEtape{0, -0, true, 4, EtapeAffichage::Avance, 0, 0},
                    // One past the last file: nothing shown, the request stays.
                    CasEtape{9, 10, false, 10, EtapeAffichage::Rien, 9, 10},
                    CasEtape{0, 1, false, 1, EtapeAffichage::Rien, 0, 1},
                    CasEtape{0, -1, false, 0, EtapeAffichage::Avance, 0, 1}));

TEST(DecideEtape, AttendQuandUnApercuCharge) {
    const DecisionAffichage d = DecideEtape(3, 4, false, 10, true);
    EXPECT_EQ(d.Etape, EtapeAffichage::Attente);
    EXPECT_EQ(d.IndexAffiche, 3);
    EXPECT_EQ(d.IndexDemande, 4);
}
