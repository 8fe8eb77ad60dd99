// The whole program as a client of a real Wayland compositor (run by lance_wayland.sh): it starts
// there, shows its window where the compositor puts it, files a photo, undoes it and quits.

#include "app/programme.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/decodage.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/plateforme.h"
#include "ui/app/traduction.h"
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
#include <QStyleFactory>
#include <QTest>
#include <QWindow>

#include <cstdio>

namespace {

// The screen the launcher asked the compositor for ("1280x800", in logical pixels), and its scale.
QSize EcranDemande() {
    const QStringList cotes = qEnvironmentVariable("MIRASOLVE_WESTON_ECRAN").split(u'x');
    return cotes.size() == 2 ? QSize(cotes[0].toInt(), cotes[1].toInt()) : QSize();
}

qreal EchelleDemandee() {
    return qEnvironmentVariable("MIRASOLVE_WESTON_ECHELLE", QStringLiteral("1")).toDouble();
}

class WaylandTest : public ProgrammeTest {
protected:
    QString Ini() const { return env.Programme + QStringLiteral("/Mirasolve.ini"); }
    QStringList Noms() const { return QDir(env.Source).entryList(QDir::Files, QDir::Name); }
    static QString Courante() { return Controle<QLabel>("PanneauStatut3")->text(); }

    // Started with this configuration, as the program starts: the window stays hidden behind the
    // loading window until the start-up timer brings it up (a Wayland window cannot start
    // minimised, and would stand empty meanwhile).
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
    // Closed as the compositor asks a window to close; the configuration it wrote, line by line.
    QStringList Quitte() {
        QFile::remove(Ini());
        MainForm->windowHandle()->close();
        EXPECT_TRUE(AttendQue([this] { return fermee; }, 10000));
        EXPECT_FALSE(MainForm->isVisible());
        QStringList lignes;
        EXPECT_TRUE(TexteFichier::Lit(Ini(), lignes));
        return lignes;
    }

    bool fermee = false;
};

TEST_F(WaylandTest, DemarreClasseAnnuleEtQuitte) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    EXPECT_FALSE(PlateformePlaceLesFenetres());
    // Three photos of different shapes, so that the one shown is told by its size.
    EcritImage(env.Source + QStringLiteral("/a.jpg"), 64, 48);
    EcritImage(env.Source + QStringLiteral("/b.jpg"), 40, 60);
    EcritImage(env.Source + QStringLiteral("/c.jpg"), 50, 50);
    // A saved window: its size comes back, its position is the compositor's.
    Lance({"WindowWidth=900", "WindowHeight=600", "WindowLeft=300", "WindowTop=150", "DestinationCount=0"});

    // Shown on the compositor's screen, whole, at its saved size and at the screen's ratio.
    const QScreen* ecran = MainForm->screen();
    ASSERT_NE(ecran, nullptr);
    EXPECT_EQ(ecran->geometry().size(), EcranDemande());
    EXPECT_EQ(MainForm->devicePixelRatioF(), EchelleDemandee());
    EXPECT_EQ(MainForm->geometry().size(), QSize(900, 600));
    EXPECT_NE(MainForm->geometry().topLeft(), QPoint(300, 150));
    EXPECT_TRUE(ecran->geometry().contains(MainForm->geometry()))
        << MainForm->geometry().x() << ',' << MainForm->geometry().y();
    EXPECT_EQ(Courante(), env.Source + QStringLiteral("/a.jpg"));
    EXPECT_EQ(Controle<TImage>("ImageCourante")->TailleNaturelle(), QSize(64, 48));

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
    EXPECT_EQ(Courante(), env.Source + QStringLiteral("/b.jpg"));
    EXPECT_EQ(Controle<TImage>("ImageCourante")->TailleNaturelle(), QSize(40, 60));

    // Undone: the photo is back in the source, and shown.
    Controle<QAction>("Annulation1")->trigger();
    EXPECT_FALSE(QFile::exists(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Courante(), env.Source + QStringLiteral("/a.jpg"));
    EXPECT_EQ(Controle<TImage>("ImageCourante")->TailleNaturelle(), QSize(64, 48));

    // Closed: the settings are written, the size with them.
    const QStringList lignes = Quitte();
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowWidth=900")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowHeight=600")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("Maximized=N")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("DestinationCount=1")));
}

// Saved maximised: the compositor maximises it over its normal size, which is written back, with
// the state, when it quits so.
TEST_F(WaylandTest, LaFenetreMaximiseeLeRedevient) {
    Lance({"WindowWidth=700", "WindowHeight=500", "WindowLeft=300", "WindowTop=150", "Maximized=M",
           "DestinationCount=0"});
    ASSERT_TRUE(AttendQue([] { return MainForm->isMaximized(); }, 5000));
    const QRect ecran = MainForm->screen()->geometry();
    EXPECT_GT(MainForm->width(), 700);
    EXPECT_GT(MainForm->height(), 500);
    EXPECT_TRUE(ecran.contains(MainForm->geometry()));

    const QStringList lignes = Quitte();
    EXPECT_TRUE(lignes.contains(QStringLiteral("Maximized=M")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowWidth=700")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowHeight=500")));
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
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirasolve"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.mirasolve.Mirasolve"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    InstalleTraductionsQt();
    FixeLimiteDecodage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
