// The tile panel at the ratio of the run: a picture of the screen's own pixels, presses that land
// on the part of the tile drawn under them, and texts that stay inside their boxes.

#include "app/programme.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "densite.h"
#include "ui/app/fenetre.h"
#include "ui/app/imagecontrole.h"
#include "ui/duplicates/dedoublonne.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include <cmath>

namespace {

// The device pixels that show the logical rectangle at ratio r, or with dedans those wholly
// inside it (not those it shares with its frame).
QRect AuxPixels(const QRect& l, qreal r, bool dedans = false) {
    const auto bord = [&](double v, bool bas) {
        return static_cast<int>(bas ? std::floor(v * r) : std::ceil(v * r));
    };
    return QRect(QPoint(bord(l.left(), !dedans), bord(l.top(), !dedans)),
                 QPoint(bord(l.right() + 1, dedans) - 1, bord(l.bottom() + 1, dedans) - 1));
}

// Where a press on the device pixel at the middle of a logical rectangle arrives, in the logical
// coordinates the image control reports.
QPoint AppuiAuCentre(const QRect& logique, qreal r) {
    const QPoint pixel = AuxPixels(logique, r).center();
    return QPointF((pixel.x() + 0.5) / r, (pixel.y() + 0.5) / r).toPoint();
}

// A text fits its box when some of it (pixels darker than seuil) is drawn and none reaches the
// box's outer device columns, where a clipped text would be cut. Black titles are told from the
// grey key number beside them by a low threshold; the grey words under a bar need a higher one.
void TientDans(const QImage& image, const QRect& boiteLogique, qreal r, const char* quoi, int seuil = 60) {
    const QRect boite = AuxPixels(boiteLogique, r, true);
    QRect encre;
    for (int y = boite.top(); y <= boite.bottom(); ++y)
        for (int x = boite.left(); x <= boite.right(); ++x)
            if (qGray(image.pixel(x, y)) < seuil) encre |= QRect(x, y, 1, 1);
    ASSERT_FALSE(encre.isEmpty()) << quoi << " : rien d'écrit";
    EXPECT_GT(encre.left(), boite.left() + 1) << quoi;
    EXPECT_LT(encre.right(), boite.right() - 1) << quoi;
}

// A panel on its own, at the ratio of the run: the trash, then the destinations the test adds.
class PanneauDensite : public testing::Test {
protected:
    PanneauDensite() {
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
    TDestination* Ajoute(const QString& titre, int taille = 11) {
        auto d = std::make_unique<TDestination>();
        d->Titre = titre;
        d->Chemin = QStringLiteral("/d/") + titre;
        d->Groupe = 0;
        d->SousGroupe = -1;
        d->RechercheLocale = true;
        d->Fonte.setPixelSize(taille);
        TDestination* brut = d.get();
        destinations.Ajoute(titre, std::move(d));
        groupes.Ajoute(*brut);
        return brut;
    }

    const qreal r = RapportDemande();
    TListeDestinations destinations;
    TListeGroupe groupes;
    TPanneauDestinations panneau;
};

} // namespace

// Down a full column of 51 slots, every tile starts where its slot starts, at the device pixel
// nearest to it, with no row of the background between two tiles; a press on the first row of
// pixels of a tile reaches that tile.
TEST_F(PanneauDensite, ColonneDe51CasesSansDeriveNiJointure) {
    for (int i = 0; i < 60; ++i)
        Ajoute(QStringLiteral("D%1").arg(i));
    panneau.Redimensionne({180, 3000}, r);
    panneau.RafraichisListeDestinations(destinations, groupes);
    const QImage& image = panneau.ImagePanneau;
    ASSERT_EQ(image.size(), QSize(qRound(180 * r), qRound(3000 * r)));
    ASSERT_TRUE(panneau.Tuiles[50]);
    const int h = panneau.HauteurTuile;
    const int x = qRound(60 * r);
    for (int k = 1; k < TPanneauDestinations::NombreCases; ++k) {
        SCOPED_TRACE(k);
        // From the previous tile's bottom edge down through this tile's top bevel.
        int premiere = -1;
        for (int y = static_cast<int>(std::floor((k * h - 1) * r)); y < std::ceil((k * h + 2) * r); ++y) {
            EXPECT_NE(image.pixel(x, y), panneau.Couleurs.Face.rgb()) << "jointure à la ligne " << y;
            if (premiere < 0 && image.pixel(x, y) == panneau.Couleurs.Lumiere.rgb()) premiere = y;
        }
        EXPECT_NEAR(premiere, k * h * r, 1.0);
        const QPoint appui = QPointF(x / r, (premiere + 0.5) / r).toPoint();
        EXPECT_EQ(panneau.Sous(appui).Case, k);
        EXPECT_EQ(panneau.Sous(appui).Destination, panneau.Tuiles[static_cast<size_t>(k)]);
    }
}

// In a narrow panel, a long title, a large font and the words under the bar are written whole
// inside their boxes, however dense the screen.
TEST_F(PanneauDensite, LesTextesDesTuilesTiennentDansLeursCadres) {
    TDestination* longue = Ajoute(QStringLiteral("Photos de l'été"), 16);
    TDestination* sansRecherche = Ajoute(QStringLiteral("Archives"));
    sansRecherche->RechercheLocale = false;
    panneau.Redimensionne({110, 300}, r);
    panneau.RafraichisListeDestinations(destinations, groupes);
    const QImage& image = panneau.ImagePanneau;
    // A title is written above the bar; the area it is clipped to runs down beside the bar.
    const auto titre = [&](int k) {
        const TGeometrieTuile& place = panneau.Places[static_cast<size_t>(k)];
        return place.Barre.isEmpty()
                   ? place.Texte
                   : place.Texte.adjusted(0, 0, 0, place.Barre.top() - 1 - place.Texte.bottom());
    };
    TientDans(image, titre(0), r, "Corbeille");
    TientDans(image, titre(1), r, "titre long");
    TientDans(image, titre(2), r, "Archives");
    // The percentage and the word of a destination not searched, inside the bar's frame.
    for (const TDestination* d : {longue, sansRecherche}) {
        const QRect barre = panneau.Places[static_cast<size_t>(d->Rang)].Barre.adjusted(1, 1, -1, -1);
        TientDans(image, barre, r, qPrintable(d->Titre + QStringLiteral(" : barre")), 150);
    }
}

// The whole program at the ratio of the run, with a level to enter and a plain tile.
class TuilesDensite : public ProgrammeTest {
protected:
    void SetUp() override {
        const QString vacances = env.Dossier(QStringLiteral("Vacances"));
        const QString plage = env.Dossier(QStringLiteral("Vacances/Plage"));
        const QString famille = env.Dossier(QStringLiteral("Famille"));
        const QString local = QStringLiteral("XXXX*X");
        EcritConfiguration({Enregistrement("Vacances", vacances, 1, 0, local),
                            Enregistrement("Plage", plage, -1, 1, local),
                            Enregistrement("Famille", famille, -1, 0, local)});
        Demarre();
        Affiche();
    }
    const qreal r = RapportDemande();
};

// The picture holds the control's size in the screen's pixels, and the control shows it 1:1.
TEST_F(TuilesDensite, LImageDuPanneauEstAuxPixelsDeLEcran) {
    TImage* controle = Controle<TImage>("ImageDestination");
    const QImage& image = MainForm->Panneau->ImagePanneau;
    EXPECT_EQ(image.size(), QSize(qRound(controle->width() * r), qRound(controle->height() * r)));
    EXPECT_DOUBLE_EQ(image.devicePixelRatio(), r);
    const QImage vue = controle->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(vue.size(), image.size());
    EXPECT_EQ(vue, image.convertToFormat(QImage::Format_RGB32).copy()) << "picture shown resampled";
}

// Moved to a screen of another density, the column is drawn again for the screen it is now on.
TEST_F(TuilesDensite, UnChangementDEcranRedessineLaColonne) {
    TImage* controle = Controle<TImage>("ImageDestination");
    MainForm->Panneau->Redimensionne(controle->size(), 3.0);
    QEvent changement(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(controle, &changement);
    EXPECT_DOUBLE_EQ(MainForm->Panneau->ImagePanneau.devicePixelRatio(), r);
    EXPECT_EQ(controle->Image().size(), QSize(qRound(controle->width() * r), qRound(controle->height() * r)));
}

// A press at the middle of each part of each tile, as the screen shows it, reaches that tile and
// that part; a press on a counter darkens the box drawn there, and a click on a level icon
// enters the level.
TEST_F(TuilesDensite, UnAppuiAuCentreDeChaquePartieTombeSurSaTuile) {
    TPanneauDestinations& panneau = *MainForm->Panneau;
    int parties = 0;
    for (int k = 0; k < TPanneauDestinations::NombreCases; ++k) {
        TDestination* d = panneau.Tuiles[static_cast<size_t>(k)];
        if (!d) continue;
        const TGeometrieTuile& place = panneau.Places[static_cast<size_t>(k)];
        for (const auto& [zone, rect] : {std::pair{TZoneTuile::Titre, place.Texte},
                                         {TZoneTuile::Doublons, place.Compteur},
                                         {TZoneTuile::Niveau, place.Puits}}) {
            if (rect.isEmpty()) continue;
            SCOPED_TRACE(d->Titre.toStdString() + " zone " + std::to_string(static_cast<int>(zone)));
            const TCibleTuile cible = panneau.Sous(AppuiAuCentre(rect, r));
            EXPECT_EQ(cible.Case, k);
            EXPECT_EQ(cible.Destination, d);
            EXPECT_EQ(cible.Zone, zone);
            ++parties;
        }
    }
    // The trash's title; the counter and title of both tiles; the level icon of Vacances.
    EXPECT_EQ(parties, 6);

    ASSERT_EQ(panneau.Tuiles[2], Config()->Destinations.Element(3));
    const QRect compteur = panneau.Places[2].Compteur;
    const QPoint appui = AppuiAuCentre(compteur, r);
    QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, appui);
    EXPECT_EQ(panneau.ImagePanneau.pixel(AuxPixels(compteur, r).center()), qRgb(0xFF, 0x80, 0x60));
    // Released off the panel: nothing is asked.
    QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, QPoint(-5, -5));

    const QPoint icone = AppuiAuCentre(panneau.Places[1].Puits, r);
    QTest::mouseClick(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, icone);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 1);
}

// The count of duplicates in the tool bar and the headers of the review grid are shown whole.
TEST_F(TuilesDensite, LeCompteEtLesEntetesDeLaRevueSontEntiers) {
    auto* compte = Controle<QLabel>("StaticDoublons");
    FixeTexteAjuste(compte, QStringLiteral("1234567 images en double"));
    const QFontMetrics mesure(compte->font(), compte);
    EXPECT_GE(compte->contentsRect().width(), mesure.horizontalAdvance(compte->text()));
    EXPECT_GE(compte->contentsRect().height(), mesure.height());

    FormDedoublone->show();
    QCoreApplication::processEvents();
    auto* grille = ControleDe<QTableView>(*FormDedoublone, "StringGrid1");
    for (int colonne = 0; colonne < 3; ++colonne) {
        SCOPED_TRACE(colonne);
        EXPECT_GE(grille->columnWidth(colonne), grille->horizontalHeader()->sectionSizeHint(colonne));
    }
    FormDedoublone->hide();
}
