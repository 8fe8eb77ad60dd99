#include "core/duplicates/listegenerale.h"
#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "environnement.h"
#include "photo.h"

#include <QFile>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <thread>

#include <algorithm>
#include <limits>

namespace {

// Cells of given means: a 10 x 10 picture, one grey pixel per cell.
QImage ImageDeCellules(const std::function<int(int c, int r)>& gris) {
    QImage image(10, 10, QImage::Format_RGB32);
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r)
            image.setPixel(c, r, qRgb(gris(c, r), gris(c, r), gris(c, r)));
    return image;
}

// The signature of a picture decoded whole, for comparison with the reduced decoding.
Tminiature SignaturePleine(const QString& chemin) {
    const TImageDecodee image = DecodeImage(QFile::encodeName(chemin), QSize(1 << 20, 1 << 20));
    Tminiature m;
    m.CalculeGrille(image.Image);
    m.Proportion = static_cast<double>(image.Naturelle.width()) / image.Naturelle.height();
    return m;
}

} // namespace

TEST(CalculeGrille, ReglesDeLEtirement) {
    Tminiature m;
    m.CalculeGrille(ImageDeCellules([](int, int) { return 77; }));
    EXPECT_TRUE(std::all_of(m.Grille.begin(), m.Grille.end(), [](uint8_t v) { return v == 128; }));
    m.CalculeGrille(ImageDeCellules([](int, int) { return 0; }));
    EXPECT_TRUE(std::all_of(m.Grille.begin(), m.Grille.end(), [](uint8_t v) { return v == 128; }));

    // The first cell visited never raises the maximum: 200 then 99 cells of 100 stretch nothing.
    m.CalculeGrille(ImageDeCellules([](int c, int r) { return c == 0 && r == 0 ? 200 : 100; }));
    EXPECT_EQ(m.Grille[0], 228);
    EXPECT_TRUE(std::all_of(m.Grille.begin() + 1, m.Grille.end(), [](uint8_t v) { return v == 128; }));

    // Left half white, right half black; column-major storage.
    m.CalculeGrille(ImageDeCellules([](int c, int) { return c < 5 ? 255 : 0; }));
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r)
            EXPECT_EQ(m.Grille[static_cast<size_t>(10 * c + r)], c < 5 ? 255 : 0);

    // A row gradient shows the column-major order: cell (c, r) at 10c + r.
    m.CalculeGrille(ImageDeCellules([](int, int r) { return 10 * r; }));
    EXPECT_LT(m.Grille[0], m.Grille[1]);
    EXPECT_EQ(m.Grille[1], m.Grille[11]);
}

TEST(CalculeGrille, CellulesDePlusieursPixelsEtArrondis) {
    // 20 x 10: two pixels per cell, channels summed then divided by 3 x count.
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(0, 0, qRgb(255, 255, 255));
    Tminiature m;
    m.CalculeGrille(image);
    // Cell (1, 1): (765 + 60) / 6 = 137, the others 60 / 3 = 20. 137 comes first and only lowers
    // the minimum, which 20 lowers again; the maximum becomes 20: 137 is stored as 137 - 20 + 128.
    EXPECT_EQ(m.Grille[0], 245);
    EXPECT_EQ(m.Grille[1], 128);
}

TEST(Calcule, TaillesMinimales) {
    EnvironnementTest env;
    for (const auto& [nom, taille, attendu] :
         {std::tuple{"a.bmp", QSize(9, 500), false}, std::tuple{"b.bmp", QSize(500, 9), false},
          std::tuple{"c.bmp", QSize(10, 10), true}, std::tuple{"d.jpg", QSize(9, 800), false},
          std::tuple{"e.jpg", QSize(1600, 10), true}}) {
        const QString chemin = env.Racine() + u'/' + QLatin1String(nom);
        ASSERT_TRUE(PhotoSynthetique(1, taille.width(), taille.height()).save(chemin));
        Tminiature m;
        EXPECT_EQ(m.Calcule(chemin), attendu) << nom;
        if (attendu) {
            EXPECT_EQ(m.Fichier, chemin);
            EXPECT_DOUBLE_EQ(m.Proportion, static_cast<double>(taille.width()) / taille.height());
        }
    }
    Tminiature m;
    EcritFichier(QFile::encodeName(env.Racine() + QStringLiteral("/texte.jpg")), "non");
    EXPECT_FALSE(m.Calcule(env.Racine() + QStringLiteral("/texte.jpg")));
    EXPECT_FALSE(m.Calcule(env.Racine() + QStringLiteral("/absent.gif")));
}

TEST(Calcule, EchelleDesJpegPourSignature) {
    EXPECT_EQ(EchelleJpegSignature({4000, 3000}), 1); // 500 x 375
    EXPECT_EQ(EchelleJpegSignature({640, 480}), 2);   // 160 x 120
    EXPECT_EQ(EchelleJpegSignature({300, 1000}), 4);  // 150 x 500
    EXPECT_EQ(EchelleJpegSignature({150, 150}), 8);
}

// A picture decoded at a reduced scale whose cells are uniform gives the grid that the same cells
// give at full size: a uniform grey g stays g, not a hair below it.
TEST(CalculeGrille, CellulesUniformesDUneImageReduite) {
    QImage image(100, 75, QImage::Format_RGB32);
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 75; ++y) {
            const int gris = x < 10 ? 0 : (x >= 90 ? 255 : 200);
            image.setPixel(x, y, qRgb(gris, gris, gris));
        }
    Tminiature entiere;
    entiere.CalculeGrille(image);
    ASSERT_EQ(entiere.Grille[95], 255);
    for (const QSize naturelle : {QSize(797, 597), QSize(1003, 751), QSize(333, 250), QSize(799, 600)}) {
        Tminiature reduite;
        reduite.CalculeGrille(image, naturelle);
        EXPECT_EQ(reduite.Grille, entiere.Grille) << naturelle.width() << "x" << naturelle.height();
    }
}

TEST(Calcule, LaReductionResteProcheDuCalculPlein) {
    EnvironnementTest env;
    std::vector<int32_t> ecarts;
    for (int i = 0; i < 40; ++i) {
        const int largeur = 600 + 97 * (i % 7), hauteur = 400 + 61 * (i % 5);
        const QString chemin = env.Racine() + QStringLiteral("/photo%1.jpg").arg(i);
        ASSERT_TRUE(PhotoSynthetique(i, i % 2 ? largeur : hauteur, i % 2 ? hauteur : largeur)
                        .save(chemin, "JPEG", 85));
        Tminiature reduite;
        ASSERT_TRUE(reduite.Calcule(chemin));
        ecarts.push_back(Dissemblance(reduite, SignaturePleine(chemin)));
    }
    std::sort(ecarts.begin(), ecarts.end());
    const auto sous1500 = std::count_if(ecarts.begin(), ecarts.end(), [](int32_t d) { return d < 1500; });
    std::printf("reduced against full-size signature, 40 photos: median %d, 95th percentile %d, max %d, %d%% "
                "below 1500\n",
                ecarts[20], ecarts[37], ecarts.back(), static_cast<int>(100 * sous1500 / 40));
    EXPECT_GE(sous1500 * 100, 95 * 40);
}

TEST(Dissemblance, ProduitArrondiEtSaturation) {
    Tminiature a, b;
    EXPECT_EQ(Ecart(a, b), 0);
    a.Grille.fill(255);
    EXPECT_EQ(Ecart(a, b), 6502500);
    a.Grille.fill(0);
    a.Grille[3] = 3;
    a.Proportion = 1.5;
    b.Proportion = 1.0;
    // (0.5 + 1) x 9 = 13.5: ties to even.
    EXPECT_EQ(Dissemblance(a, b), 14);
    a.Grille[3] = 1;
    b.Proportion = 2.0; // (0.5 + 1) x 1 = 1.5 -> 2
    EXPECT_EQ(Dissemblance(a, b), 2);
    a.Proportion = 1.25; // (1.5 + 1) x 1 = 2.5 -> 2
    b.Proportion = 2.75;
    a.Grille[3] = 1;
    EXPECT_EQ(Dissemblance(a, b), 2);
    // Landscape against portrait multiplies by 1.583...
    a.Grille[3] = 30;
    a.Proportion = 4.0 / 3;
    b.Proportion = 0.75;
    EXPECT_EQ(Dissemblance(a, b), 1425); // 900 x 1.58333...

    // A strip against a square does not wrap around: it saturates and is never a duplicate.
    a.Grille.fill(255);
    a.Proportion = 5000;
    b.Proportion = 1;
    EXPECT_EQ(Dissemblance(a, b), std::numeric_limits<int32_t>::max());
    EXPECT_FALSE(EstDoublon(Dissemblance(a, b), std::numeric_limits<int32_t>::max()));
    a.Proportion = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Dissemblance(a, b), std::numeric_limits<int32_t>::max());
}

TEST(Dissemblance, DeuxFichiersIdentiquesEtSeuilStrict) {
    EnvironnementTest env;
    const QString a = env.Racine() + QStringLiteral("/a.jpg"), b = env.Racine() + QStringLiteral("/b.jpg");
    ASSERT_TRUE(PhotoSynthetique(3, 800, 600).save(a, "JPEG", 90));
    ASSERT_TRUE(QFile::copy(a, b));
    Tminiature x, y;
    ASSERT_TRUE(x.Calcule(a));
    ASSERT_TRUE(y.Calcule(b));
    EXPECT_EQ(Dissemblance(x, y), 0);
    EXPECT_TRUE(EstDoublon(0, 1));
    EXPECT_FALSE(EstDoublon(0, 0));
    EXPECT_FALSE(EstDoublon(150000, 150000));
    EXPECT_TRUE(EstDoublon(149999, 150000));
}

// The general list is rebuilt on one thread while another adds to it and a third copies it.
TEST(ListeGenerale, PartageeEntreLesFils) {
    TListeGenerale liste;
    constexpr int Parts = 5000;
    std::thread ajout([&liste] {
        for (int i = 0; i < Parts; ++i)
            liste.Ajoute(std::make_shared<Tminiature>());
    });
    std::thread lecture([&liste] {
        for (int i = 0; i < 200; ++i) {
            const auto copie = liste.Copie();
            for (const auto& signature : copie)
                EXPECT_NE(signature, nullptr);
        }
    });
    ajout.join();
    lecture.join();
    EXPECT_EQ(liste.Taille(), static_cast<size_t>(Parts));
    liste.Remplace({std::make_shared<Tminiature>()});
    EXPECT_EQ(liste.Taille(), 1u);
}
