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

// Where a press on the device pixel at the middle of a logical rectangle arrives, in logical
// coordinates.
QPoint AppuiAuCentre(const QRect& logique, qreal r) {
    const QPoint pixel = AuxPixels(logique, r).center();
    return QPointF((pixel.x() + 0.5) / r, (pixel.y() + 0.5) / r).toPoint();
}

// A text fits its box when some of it (pixels darker than seuil) is drawn and none reaches the
// box's outer device columns, where a clipped text would be cut. The low default tells black
// titles from the grey key number beside them; the grey words under a bar need a higher one.
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
        panneau.PoliceFenetre.setPixelSize(11);
        groupes.Destinations = &destinations;
        Ajoute(TitreCorbeille, 21, -1);
    }
    TDestination* Ajoute(const QString& titre, int taille = 11, int groupe = 0) {
        auto d = std::make_unique<TDestination>();
        d->Titre = titre;
        d->Chemin = QStringLiteral("/d/") + titre;
        d->Groupe = groupe;
        d->SousGroupe = -1;
        d->RechercheLocale = groupe >= 0;
        d->Fonte.setPixelSize(taille);
        TDestination* brut = d.get();
        destinations.Ajoute(titre, std::move(d));
        if (groupe >= 0) groupes.Ajoute(*brut);
        return brut;
    }

    const qreal r = RapportDemande();
    TListeDestinations destinations;
    TListeGroupe groupes;
    TPanneauDestinations panneau;
};

} // namespace

// Down 51 slots, each tile starts at the device pixel nearest its slot, with no background row
// between two tiles, and a press on its first row of pixels reaches it.
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
        const TCibleTuile cible = panneau.Sous(QPointF(x / r, (premiere + 0.5) / r).toPoint());
        EXPECT_EQ(cible.Case, k);
        EXPECT_EQ(cible.Destination, panneau.Tuiles[static_cast<size_t>(k)]);
    }
}

// In a narrow panel, the trash's title, a long title in a large font and the words under the bar
// are written whole inside their boxes.
TEST_F(PanneauDensite, LesTextesDesTuilesTiennentDansLeursCadres) {
    TDestination* longue = Ajoute(QStringLiteral("Photos de l'été"), 16);
    TDestination* sansRecherche = Ajoute(QStringLiteral("Archives"));
    sansRecherche->RechercheLocale = false;
    panneau.Redimensionne({110, 300}, r);
    panneau.RafraichisListeDestinations(destinations, groupes);
    for (int k = 0; k < 3; ++k) {
        // A title is written above the bar; its clipping area runs down beside the bar.
        const TGeometrieTuile& place = panneau.Places[static_cast<size_t>(k)];
        const QRect titre = place.Barre.isEmpty()
                                ? place.Texte
                                : place.Texte.adjusted(0, 0, 0, place.Barre.top() - 1 - place.Texte.bottom());
        TientDans(panneau.ImagePanneau, titre, r, qPrintable(QStringLiteral("titre %1").arg(k)));
    }
    // The percentage, and the word of a destination not searched, inside the bar's frame.
    for (const TDestination* d : {longue, sansRecherche}) {
        const QRect barre = panneau.Places[static_cast<size_t>(d->Rang)].Barre.adjusted(1, 1, -1, -1);
        TientDans(panneau.ImagePanneau, barre, r, qPrintable(d->Titre), 150);
    }
}

// The whole program, with a level to enter and a plain tile: the panel's picture at the screen's
// pixels and shown 1:1, presses landing on the tile part drawn under them, the picture drawn again
// for a screen of another density; the count and the review grid's headers shown whole.
class TuilesDensite : public ProgrammeTest {};

TEST_F(TuilesDensite, LePanneauEtLesTextesSontAuxPixelsDeLEcran) {
    const QString local = QStringLiteral("XXXX*X");
    EcritConfiguration({Enregistrement("Vacances", env.Dossier(QStringLiteral("Vacances")), 1, 0, local),
                        Enregistrement("Plage", env.Dossier(QStringLiteral("Vacances/Plage")), -1, 1, local),
                        Enregistrement("Famille", env.Dossier(QStringLiteral("Famille")), -1, 0, local)});
    Demarre();
    Affiche();
    const qreal r = RapportDemande();

    TImage* controle = Controle<TImage>("ImageDestination");
    TPanneauDestinations& panneau = *MainForm->Panneau;
    const QSize pixels(qRound(controle->width() * r), qRound(controle->height() * r));
    EXPECT_EQ(panneau.ImagePanneau.size(), pixels);
    EXPECT_DOUBLE_EQ(panneau.ImagePanneau.devicePixelRatio(), r);
    EXPECT_EQ(Peinte(controle), panneau.ImagePanneau.convertToFormat(QImage::Format_RGB32).copy())
        << "image rééchantillonnée";

    int parties = 0;
    for (int k = 0; k < TPanneauDestinations::NombreCases; ++k) {
        TDestination* d = panneau.Tuiles[static_cast<size_t>(k)];
        if (!d) continue;
        const TGeometrieTuile& place = panneau.Places[static_cast<size_t>(k)];
        for (const auto& [zone, rect] : {std::pair{TZoneTuile::Titre, place.Texte},
                                         {TZoneTuile::Doublons, place.Compteur},
                                         {TZoneTuile::Niveau, place.Puits}}) {
            if (rect.isEmpty()) continue;
            const TCibleTuile cible = panneau.Sous(AppuiAuCentre(rect, r));
            EXPECT_TRUE(cible.Case == k && cible.Destination == d && cible.Zone == zone)
                << d->Titre.toStdString() << " zone " << static_cast<int>(zone) << " -> case " << cible.Case;
            ++parties;
        }
    }
    // The trash's title; the counter and title of both tiles; the level icon of Vacances.
    EXPECT_EQ(parties, 6);

    ASSERT_EQ(panneau.Tuiles[2], Config()->Destinations.Element(3));
    const QRect compteur = panneau.Places[2].Compteur;
    QTest::mousePress(controle, Qt::LeftButton, {}, AppuiAuCentre(compteur, r));
    EXPECT_EQ(panneau.ImagePanneau.pixel(AuxPixels(compteur, r).center()), qRgb(0xFF, 0x80, 0x60));
    QTest::mouseRelease(controle, Qt::LeftButton, {}, QPoint(-5, -5)); // off the panel: nothing asked
    QTest::mouseClick(controle, Qt::LeftButton, {}, AppuiAuCentre(panneau.Places[1].Puits, r));
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 1);

    panneau.Redimensionne(controle->size(), 3.0);
    QEvent changement(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(controle, &changement);
    EXPECT_DOUBLE_EQ(panneau.ImagePanneau.devicePixelRatio(), r);
    EXPECT_EQ(controle->Image().size(), pixels);

    auto* compte = Controle<QLabel>("StaticDoublons");
    FixeTexteAjuste(compte, QStringLiteral("1234567 images en double"));
    const QFontMetrics mesure(compte->font(), compte);
    EXPECT_GE(compte->contentsRect().width(), mesure.horizontalAdvance(compte->text()));
    EXPECT_GE(compte->contentsRect().height(), mesure.height());
    FormDedoublone->show();
    QCoreApplication::processEvents();
    auto* grille = ControleDe<QTableView>(*FormDedoublone, "StringGrid1");
    for (int colonne = 0; colonne < 3; ++colonne)
        EXPECT_GE(grille->columnWidth(colonne), grille->horizontalHeader()->sectionSizeHint(colonne))
            << colonne;
    FormDedoublone->hide();
}
