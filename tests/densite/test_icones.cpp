// The icons at the ratio of the run: both sizes in every icon, the 32 x 32 drawings painted on a
// screen at twice the density, and the 16 x 16 ones kept when the dense strip is damaged.

#include "app/programme.h"
#include "core/app/bandeicones.h"
#include "core/destinations/panneau.h"
#include "densite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// Whether the opaque pixels of the cell stand, exactly, somewhere in the picture.
bool Contient(const QImage& image, const QImage& cellule) {
    const QImage ici = image.convertToFormat(QImage::Format_RGB32);
    const QImage icone = cellule.convertToFormat(QImage::Format_ARGB32);
    for (int oy = 0; oy + icone.height() <= ici.height(); ++oy)
        for (int ox = 0; ox + icone.width() <= ici.width(); ++ox) {
            bool egal = true;
            for (int y = 0; y < icone.height() && egal; ++y)
                for (int x = 0; x < icone.width() && egal; ++x) {
                    const QRgb p = icone.pixel(x, y);
                    egal = qAlpha(p) == 0 || (ici.pixel(ox + x, oy + y) & 0xFFFFFFu) == (p & 0xFFFFFFu);
                }
            if (egal) return true;
        }
    return false;
}

QImage EnARGB(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// Every icon of the shipped strips has both sizes, the 32 x 32 drawing being the 16 x 16 one at
// twice the size (the same shape, not another icon); a tree node's chosen picture too.
TEST(IconesDenses, ChaqueIconeALesDeuxTaillesDuMemeDessin) {
    const TBandeIcones bande = ChargeBandeIcones(QStringLiteral(MIRASOLVE_RESOURCES_DIR "/BandeMenu.bmp"));
    for (int i = 0; i < NombreIcones; ++i) {
        SCOPED_TRACE(i);
        const QImage& petite = bande.Images[static_cast<size_t>(i)];
        const QImage& grande = bande.Images2x[static_cast<size_t>(i)];
        ASSERT_EQ(petite.size(), QSize(16, 16));
        ASSERT_EQ(grande.size(), QSize(32, 32));
        int accords = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                int opaques = 0;
                for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                    opaques += qAlpha(grande.pixel(2 * x + d.x(), 2 * y + d.y())) > 0;
                accords += (opaques >= 2) == (qAlpha(petite.pixel(x, y)) > 0);
            }
        EXPECT_GE(accords, 256 * 85 / 100);
        EXPECT_EQ(bande.Icone(i).availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        QIcon noeud = bande.Icone(17);
        bande.AjouteA(noeud, i, QIcon::Selected);
        EXPECT_EQ(EnARGB(noeud.pixmap(QSize(16, 16), 2.0, QIcon::Selected)), grande);
    }
}

// A damaged dense strip, or none, leaves the 16 x 16 icons whole, and the icons hold those alone.
class BandeDenseAbimee : public testing::TestWithParam<const char*> {};

TEST_P(BandeDenseAbimee, LesIconesDe16PixelsRestent) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString bande = dossier.filePath(QStringLiteral("BandeMenu.bmp"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(MIRASOLVE_RESOURCES_DIR "/BandeMenu.bmp"), bande));
    if (qstrlen(GetParam()) > 0) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(MIRASOLVE_FIXTURES_DIR "/icones/") + QLatin1String(GetParam()),
                                FichierBande2x(bande)));
    }
    const TBandeIcones icones = ChargeBandeIcones(bande);
    for (int i = 0; i < NombreIcones; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(icones.Images[static_cast<size_t>(i)].size(), QSize(16, 16));
        EXPECT_TRUE(icones.Images2x[static_cast<size_t>(i)].isNull());
        EXPECT_EQ(icones.Icone(i).availableSizes(), QList<QSize>{QSize(16, 16)});
    }
}

INSTANTIATE_TEST_SUITE_P(Fichiers, BandeDenseAbimee,
                         testing::Values("", // no dense strip beside the strip
                                         "bande-de-16-pixels-de-haut.bmp", "bande-tronquee.bmp",
                                         "pas-une-image.bmp", "bande-demesuree.bmp"),
                         [](const testing::TestParamInfo<const char*>& cas) {
                             QString nom = QString::fromLatin1(cas.param).section(u'.', 0, 0);
                             nom.replace(u'-', u'_');
                             return nom.isEmpty() ? std::string("absente") : nom.toStdString();
                         });

// The tool buttons, the menu commands and the level icon drawn on a tile paint the cell of the
// screen's density: the 32 x 32 one at 200 %, never the 16 x 16 one stretched; at a fractional
// ratio, a picture resampled from the dense cell, checked by its size.
class IconesALEcran : public ProgrammeTest {};

TEST_F(IconesALEcran, LesIconesPeignentLaCelluleDeLaDensite) {
    EcritConfiguration({Enregistrement("Vacances", env.Dossier(QStringLiteral("Vacances")), 1, 0),
                        Enregistrement("Plage", env.Dossier(QStringLiteral("Vacances/Plage")), -1, 1)});
    Demarre();
    Affiche();
    const qreal r = RapportDemande();
    const TBandeIcones& bande = MainForm->ImageList4;
    const auto attendue = [&](int index) -> const QImage* {
        if (r == 2.0) return &bande.Images2x[static_cast<size_t>(index)];
        return r == 1.0 ? &bande.Images[static_cast<size_t>(index)] : nullptr;
    };
    for (const auto& [nom, index] : {std::pair{"ToolButton1", 0},
                                     {"ToolButton2", 1},
                                     {"ToolButton3", 7},
                                     {"ToolButton5", 20},
                                     {"ToolButton4", 21}}) {
        SCOPED_TRACE(nom);
        auto* bouton = Controle<QToolButton>(QString::fromLatin1(nom));
        ASSERT_DOUBLE_EQ(bouton->devicePixelRatioF(), r);
        EXPECT_GE(bouton->icon().pixmap(bouton->iconSize(), r).width(),
                  qRound(bouton->iconSize().width() * r));
        if (!attendue(index)) continue;
        EXPECT_TRUE(Contient(bouton->grab().toImage(), *attendue(index)));
        if (bouton->defaultAction()) {
            EXPECT_EQ(EnARGB(bouton->defaultAction()->icon().pixmap(QSize(16, 16), r)), *attendue(index));
        }
    }

    const TPanneauDestinations& panneau = *MainForm->Panneau;
    ASSERT_FALSE(panneau.Places[1].Puits.isEmpty());
    if (attendue(0)) {
        EXPECT_TRUE(Contient(panneau.ImagePanneau.copy(AuxPixels(panneau.Places[1].Puits, r)), *attendue(0)));
    } else {
        EXPECT_EQ(panneau.IconeNiveau().size(), QSize(32, 32));
    }
}
