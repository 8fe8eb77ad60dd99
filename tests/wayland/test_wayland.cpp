// The whole program as a client of a real Wayland compositor (run by lance_wayland.sh): it starts
// there, shows its window where the compositor puts it, files a photo, undoes it and quits.

#include "app/programme.h"
#include "application.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/plateforme.h"
#include "ui/tools/nouvdest.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cstdio>

namespace {

class WaylandTest : public ProgrammeTest {
protected:
    QString Ini() const { return env.Programme + QStringLiteral("/Mirasolve.ini"); }
    QStringList Noms() const { return QDir(env.Source).entryList(QDir::Files, QDir::Name); }
    // The photo shown, told by its name in the status bar and its size.
    void Montre(const char* nom, QSize taille) const {
        EXPECT_EQ(Controle<QLabel>("PanneauStatut3")->text(), env.Source + u'/' + QLatin1String(nom));
        EXPECT_EQ(Controle<TImage>("ImageCourante")->TailleNaturelle(), taille);
    }

    // Started as the program starts: the window stays hidden behind the loading window until the
    // start-up timer brings it up (a Wayland window cannot start minimised, and would stand empty).
    void Lance(const QStringList& configuration) {
        ASSERT_TRUE(TexteFichier::Ecrit(Ini(), configuration));
        Demarre({});
        QObject::connect(MainForm, &TMainForm::Fermee, [this] { fermee = true; });
        MontreAuDemarrage(*MainForm);
        ASSERT_TRUE(Controle<QTimer>("Timer1")->isActive());
        EXPECT_FALSE(MainForm->isVisible());
        EXPECT_TRUE(MainForm->findChild<QWidget*>(QStringLiteral("FenetreChargement"))->isVisible());
        ASSERT_TRUE(AttendQue(
            [] {
                return !Controle<QTimer>("Timer1")->isActive() && MainForm->isVisible() &&
                       !MainForm->isMinimized() && MainForm->windowHandle() &&
                       MainForm->windowHandle()->isExposed();
            },
            10000));
        ASSERT_TRUE(AttendRepos());
    }
    // Closed as the compositor asks a window to close: it writes the configuration, these lines too.
    void Quitte(const QStringList& attendues) {
        QFile::remove(Ini());
        MainForm->windowHandle()->close();
        EXPECT_TRUE(AttendQue([this] { return fermee; }, 10000));
        EXPECT_FALSE(MainForm->isVisible());
        QStringList lignes;
        EXPECT_TRUE(TexteFichier::Lit(Ini(), lignes));
        for (const QString& ligne : attendues)
            EXPECT_TRUE(lignes.contains(ligne)) << qPrintable(ligne);
    }

    bool fermee = false;
};

TEST_F(WaylandTest, DemarreClasseAnnuleEtQuitte) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    EXPECT_FALSE(PlateformePlaceLesFenetres());
    // Three photos of different shapes, so that the one shown is told by its size.
    for (const auto& [nom, l, h] : {std::tuple{"a.jpg", 64, 48}, {"b.jpg", 40, 60}, {"c.jpg", 50, 50}})
        EcritImage(env.Source + u'/' + QLatin1String(nom), l, h);
    // A saved window: its size comes back, its position is the compositor's.
    Lance({"WindowWidth=900", "WindowHeight=600", "WindowLeft=300", "WindowTop=150", "DestinationCount=0"});

    // Shown on the screen the launcher asked the compositor for ("1280x800" logical pixels at its
    // scale), whole, at its saved size.
    ASSERT_NE(MainForm->screen(), nullptr);
    const QRect ecran = MainForm->screen()->geometry(), fenetre = MainForm->geometry();
    EXPECT_EQ(QStringLiteral("%1x%2").arg(ecran.width()).arg(ecran.height()),
              qEnvironmentVariable("MIRASOLVE_WESTON_ECRAN"));
    EXPECT_EQ(MainForm->devicePixelRatioF(),
              qEnvironmentVariable("MIRASOLVE_WESTON_ECHELLE", "1").toDouble());
    EXPECT_EQ(fenetre.size(), QSize(900, 600));
    EXPECT_NE(fenetre.topLeft(), QPoint(300, 150));
    EXPECT_TRUE(ecran.contains(fenetre)) << fenetre.x() << ',' << fenetre.y();
    Montre("a.jpg", QSize(64, 48));

    // A destination opened with "Ajouter": the folder picked with "Parcourir", then OK.
    const QString cible = env.Dossier(QStringLiteral("Cible"));
    dialogues.Dossier = [cible](const QString&) { return cible; };
    dialogues.Modal = [](QDialog&) {
        ControleDe<QPushButton>(*FormNouvDest, "BitBtn1")->click();
        return int(QDialog::Accepted);
    };
    Controle<QAction>("Ajouter1")->trigger();
    ASSERT_EQ(Config()->Destinations.Count(), 2);
    const TDestination* destination = Config()->Destinations.Element(1);
    ASSERT_EQ(destination->Chemin, cible);
    MainForm->RafraichisListeDestinations();
    ASSERT_TRUE(destination->Visible);

    // A click on its tile files the photo shown; the next one comes up.
    TImage* tuiles = Controle<TImage>("ImageDestination");
    const QPoint titre(destination->TuileX + 40, destination->TuileY + 10);
    QTest::mousePress(tuiles, Qt::LeftButton, {}, titre);
    QTest::mouseRelease(tuiles, Qt::LeftButton, {}, titre);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"b.jpg", "c.jpg"}));
    ASSERT_TRUE(AttendRepos());
    Montre("b.jpg", QSize(40, 60));

    // Undone: the photo is back in the source, and shown.
    Controle<QAction>("Annulation1")->trigger();
    EXPECT_FALSE(QFile::exists(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    ASSERT_TRUE(AttendRepos());
    Montre("a.jpg", QSize(64, 48));

    Quitte({"WindowWidth=900", "WindowHeight=600", "Maximized=N", "DestinationCount=1"});
}

// Saved maximised: the compositor maximises it over its normal size, which is written back, with
// the state, when it quits so.
TEST_F(WaylandTest, LaFenetreMaximiseeLeRedevient) {
    Lance({"WindowWidth=700", "WindowHeight=500", "WindowLeft=300", "WindowTop=150", "Maximized=M",
           "DestinationCount=0"});
    ASSERT_TRUE(AttendQue([] { return MainForm->isMaximized(); }, 5000));
    EXPECT_GT(MainForm->width(), 700);
    EXPECT_GT(MainForm->height(), 500);
    EXPECT_TRUE(MainForm->screen()->geometry().contains(MainForm->geometry()));

    Quitte({"Maximized=M", "WindowWidth=700", "WindowHeight=500"});
}

} // namespace

// Set up as the program's own entry, on the platform the launcher chose. Without Qt's Wayland
// plugin the application could not start; that is said once, plainly.
int main(int argc, char* argv[]) {
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    if (plugins.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty()) {
        std::fprintf(stderr,
                     "ÉCHEC : le module Wayland de Qt est introuvable dans %s ; installez le "
                     "paquet « qt6-wayland » (bash scripts/dependances.sh).\n",
                     qPrintable(plugins.path()));
        return 1;
    }
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QStringLiteral("wayland") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "ÉCHEC : à lancer par lance_wayland.sh, qui ouvre un compositeur Wayland.\n");
        return 1;
    }
    return LanceTestsAvecApplication(argc, argv);
}
