#include "core/app/textefichier.h"
#include "core/source/sourceliste.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/plateforme.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>

// Where the program starts: the file it quit at, the window's size on a first start, and what an
// empty source says.
class PositionTest : public ProgrammeTest {
protected:
    void Lance() {
        Demarre({});
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    void Quitte() {
        ASSERT_TRUE(AttendRepos());
        MainForm->Quit1Click();
        DetruitFenetres();
    }
    static QString Courante() { return Controle<QLabel>("PanneauStatut3")->text(); }
    QString Ini() const { return env.Programme + QStringLiteral("/Mirasolve.ini"); }
};

// Quit at a file (the third after a sort by size), started again: that file, in name order. Another
// folder in the configuration, even one holding a file of that name: the first file.
TEST_F(PositionTest, LaSourceRevientAuFichierQuitte) {
    EcritImage(env.Source + QStringLiteral("/d.jpg"), 64, 48);
    Demarre();
    Affiche();
    MainForm->FormMouseWheelDown();
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendRepos());
    MainForm->TrierparTaille1Click();
    ASSERT_TRUE(AttendRepos());
    const QString quittee = Courante();
    ASSERT_NE(quittee, env.Source + QStringLiteral("/c.jpg"));
    Quitte();
    Lance();
    EXPECT_EQ(Courante(), quittee);
    EXPECT_TRUE(Controle<QListWidget>("ListBox1")->item(Source()->IndexAffiche)->isSelected());

    const QString autre = env.Dossier(QStringLiteral("autre"));
    for (const QString& nom : {QStringLiteral("0.jpg"), QFileInfo(quittee).fileName()})
        EcritImage(autre + u'/' + nom);
    Quitte();
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(Ini(), lignes));
    EXPECT_EQ(lignes.size(), 15); // the configuration's own lines, and no more
    lignes.replaceInStrings(QStringLiteral("SourcePath=") + env.Source,
                            QStringLiteral("SourcePath=") + autre);
    ASSERT_TRUE(TexteFichier::Ecrit(Ini(), lignes));
    Lance();
    EXPECT_EQ(Courante(), autre + QStringLiteral("/0.jpg"));
}

// No configuration and no photo: a window sized for the screen, and the way to choose a source
// written where the picture would be, readable, until the source has one.
TEST_F(PositionTest, PremierDemarrageSansPhoto) {
    ASSERT_FALSE(QFile::exists(Ini()));
    Demarre({});
    MainForm->showMinimized(); // as the program starts, until the start-up timer brings it up
    ASSERT_TRUE(AttendQue([] { return MainForm->isVisible() && !MainForm->isMinimized(); }, 5000));
    EXPECT_GT(MainForm->width(), 640);
    EXPECT_GT(MainForm->height(), 480);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(MainForm->geometry()));

    const QLabel* invite = Controle<QLabel>("LabelSourceVide");
    EXPECT_TRUE(invite->isVisible());
    EXPECT_EQ(invite->text(),
              QStringLiteral("Choisissez un dossier de photos : Source > Définir une nouvelle source"));
    EXPECT_LE(invite->heightForWidth(invite->width()), invite->height());
    const QImage vue = Controle<QFrame>("PanelCourant2")->grab().toImage();
    int clairs = 0;
    for (int y = 0; y < vue.height(); ++y)
        for (int x = 0; x < vue.width(); ++x)
            clairs += qGray(vue.pixel(x, y)) > 160;
    EXPECT_GT(clairs, 100);

    const QString photos = env.Dossier(QStringLiteral("photos"));
    EcritImage(photos + QStringLiteral("/seule.jpg"));
    MainForm->ChargeSource(photos);
    ASSERT_TRUE(AttendRepos());
    EXPECT_FALSE(invite->isVisible());
}

// Names of the platforms that place the windows themselves, and of those that let the program.
TEST(PlacementFenetres, SelonLaPlateforme) {
    for (const char* nom : {"wayland", "wayland-egl", "Wayland"})
        EXPECT_FALSE(PlateformePlaceLesFenetres(QLatin1String(nom))) << nom;
    for (const char* nom : {"xcb", "offscreen", "windows", ""})
        EXPECT_TRUE(PlateformePlaceLesFenetres(QLatin1String(nom))) << nom;
    EXPECT_TRUE(PlateformePlaceLesFenetres()); // the tests' offscreen platform
}

// Where the platform places the windows itself, the saved bounds give the window its size and its
// maximised state, never its position; elsewhere it moves to them. Saving writes what it reports.
TEST_F(PositionTest, LaPositionEnregistreeNEstPasAppliqueeOuLaPlateformePlace) {
    struct Retablit {
        ~Retablit() { ForcePlacementDesFenetres(std::nullopt); }
    } retablit;
    ForcePlacementDesFenetres(false);
    ASSERT_TRUE(TexteFichier::Ecrit(Ini(), {"WindowWidth=660", "WindowHeight=500", "WindowLeft=100",
                                            "WindowTop=60", "DestinationCount=0"}));
    Demarre({});
    MainForm->showMinimized(); // as the program starts, until the start-up timer brings it up
    ASSERT_TRUE(AttendQue([] { return MainForm->isVisible() && !MainForm->isMinimized(); }, 5000));
    EXPECT_EQ(MainForm->geometry().size(), QSize(660, 500));
    EXPECT_NE(MainForm->geometry().topLeft(), QPoint(100, 60));

    MainForm->move(40, 30); // where the platform puts the window
    QCoreApplication::processEvents();
    const QPoint placee = MainForm->geometry().topLeft();
    MainForm->FixeBornes(QRect(300, 200, 700, 520));
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->geometry(), QRect(placee, QSize(700, 520)));
    MainForm->FixeMaximisee(true);
    EXPECT_TRUE(AttendQue([] { return MainForm->isMaximized(); }, 2000));
    MainForm->FixeMaximisee(false);
    EXPECT_TRUE(AttendQue([] { return !MainForm->isMaximized(); }, 2000));
    EXPECT_EQ(MainForm->geometry(), QRect(placee, QSize(700, 520)));
    Config()->ReleveFenetre(*MainForm);
    EXPECT_EQ(QRect(Config()->WindowLeft, Config()->WindowTop, Config()->WindowWidth, Config()->WindowHeight),
              QRect(placee, QSize(700, 520)));

    ForcePlacementDesFenetres(true);
    MainForm->FixeBornes(QRect(300, 200, 700, 520));
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->geometry(), QRect(300, 200, 700, 520));
}
