#include "app/globaux.h"
#include "app/imagecontrole.h"
#include "app/mainform.h"
#include "app/textefichier.h"
#include "config/configuration.h"
#include "programme.h"
#include "source/sourceliste.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

// Where the program starts: the file it was at when it quit, the window's size on a first start,
// and what an empty source says.
class PositionTest : public ProgrammeTest {
protected:
    void Lance(const QStringList& images) {
        Demarre(images);
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    // As the program starts, for what the window's size depends on: minimised until the start-up
    // timer brings it up.
    void LanceCommeLeProgramme() {
        Demarre({});
        MainForm->showMinimized();
        ASSERT_TRUE(AttendQue([] { return MainForm->isVisible() && !MainForm->isMinimized(); }, 5000));
        ASSERT_TRUE(AttendRepos());
    }
    // "&Quitter", the program's end.
    void Quitte() {
        ASSERT_TRUE(AttendRepos());
        MainForm->Quit1Click();
        ASSERT_EQ(ListeSource, nullptr);
        DetruitFenetres();
    }
    static QString Courante() { return MainForm->PanneauxStatut[3]->text(); }
    static QString Numero() { return MainForm->PanneauxStatut[0]->text(); }
    static void Descend(int fois) {
        for (int i = 0; i < fois; ++i)
            MainForm->FormMouseWheelDown();
        ASSERT_TRUE(AttendRepos());
    }
    QString Ini() const { return env.Programme + QStringLiteral("/Mirasolve.ini"); }
};

TEST_F(PositionTest, LaSourceRevientAuFichierDuDepart) {
    EcritImage(env.Source + QStringLiteral("/d.jpg"), 64, 48); // larger than c.jpg
    Lance({"c.jpg", "A.gif", "b.bmp"});
    // Sorted by size, the third file is another one; that one is current when the program quits.
    Descend(2);
    MainForm->TrierparTaille1Click();
    ASSERT_TRUE(AttendRepos());
    const QString quittee = Courante();
    ASSERT_EQ(ListeSource->IndexAffiche, 2);
    ASSERT_NE(quittee, env.Source + QStringLiteral("/c.jpg"));

    Quitte();
    Lance({});
    // In name order again, at the same file, selected in the list.
    EXPECT_EQ(Courante(), quittee);
    const int index = ListeSource->IndexAffiche;
    EXPECT_NE(index, 0);
    EXPECT_EQ(env.Source + u'/' + MainForm->ListBox1->item(index)->text(), quittee);
    EXPECT_TRUE(MainForm->ListBox1->item(index)->isSelected());
    EXPECT_EQ(MainForm->ScrollBar1->value(), index);
    // The configuration file keeps its own lines and no more.
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(Ini(), lignes));
    EXPECT_EQ(lignes.size(), 15);

    // The file gone since: the first one, as without a position.
    Quitte();
    ASSERT_TRUE(QFile::remove(quittee));
    Lance({});
    EXPECT_EQ(ListeSource->IndexAffiche, 0);
    EXPECT_EQ(Courante(), env.Source + QStringLiteral("/A.gif"));
    EXPECT_EQ(Numero(), QStringLiteral("1/3"));

    // Another source folder in the configuration, holding a file of the same name: its first file.
    Descend(2);
    const QString nom = MainForm->ListBox1->item(2)->text();
    const QString autre = env.Dossier(QStringLiteral("autre"));
    for (const QString& image : {QStringLiteral("0.jpg"), nom})
        EcritImage(autre + u'/' + image);
    Quitte();
    ASSERT_TRUE(TexteFichier::Lit(Ini(), lignes));
    lignes.replaceInStrings(QStringLiteral("SourcePath=") + env.Source,
                            QStringLiteral("SourcePath=") + autre);
    ASSERT_TRUE(TexteFichier::Ecrit(Ini(), lignes));
    Lance({});
    EXPECT_EQ(ListeSource->IndexAffiche, 0);
    EXPECT_EQ(Courante(), autre + QStringLiteral("/0.jpg"));
}

TEST_F(PositionTest, PremierDemarrageALaMesureDeLEcran) {
    ASSERT_FALSE(QFile::exists(Ini()));
    LanceCommeLeProgramme();
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect premiere = MainForm->geometry();
    EXPECT_GT(premiere.width(), 640);
    EXPECT_GT(premiere.height(), 480);
    EXPECT_TRUE(ecran.contains(premiere));

    // Once there is a configuration, its size wins.
    Quitte();
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(Ini(), lignes));
    EXPECT_TRUE(lignes.contains(QStringLiteral("WindowWidth=%1").arg(premiere.width())));
    lignes.replaceInStrings(QStringLiteral("WindowWidth=%1").arg(premiere.width()),
                            QStringLiteral("WindowWidth=660"));
    ASSERT_TRUE(TexteFichier::Ecrit(Ini(), lignes));
    LanceCommeLeProgramme();
    EXPECT_EQ(MainForm->width(), 660);
    EXPECT_EQ(MainForm->height(), premiere.height());
}

// An empty source says, in place of the picture, how to choose one; a source with images does not.
TEST_F(PositionTest, UneSourceVideDitCommentEnChoisirUne) {
    Lance({});
    const QLabel* invite = MainForm->LabelSourceVide;
    const auto clairs = [] {
        const QImage vue = MainForm->PanelCourant2->grab().toImage();
        int nombre = 0;
        for (int y = 0; y < vue.height(); ++y)
            for (int x = 0; x < vue.width(); ++x)
                nombre += qGray(vue.pixel(x, y)) > 160;
        return nombre;
    };
    EXPECT_TRUE(invite->isVisible());
    EXPECT_EQ(invite->text(),
              QStringLiteral("Choisissez un dossier de photos : Source > Définir une nouvelle source"));
    EXPECT_TRUE(MainForm->PanelCourant2->rect().contains(invite->geometry()));
    EXPECT_LE(invite->heightForWidth(invite->width()), invite->height());
    EXPECT_GT(clairs(), 100);

    const QString photos = env.Dossier(QStringLiteral("photos"));
    EcritImage(photos + QStringLiteral("/seule.jpg"));
    MainForm->ChargeSource(photos);
    ASSERT_TRUE(AttendRepos());
    EXPECT_FALSE(invite->isVisible());

    // Its only image filed away: empty again, at once.
    QTest::keyClick(MainForm->ListBox1, Qt::Key_Delete);
    ASSERT_TRUE(AttendRepos());
    ASSERT_TRUE(ListeSource->Fichiers.Vide());
    EXPECT_TRUE(invite->isVisible());
    EXPECT_TRUE(MainForm->ImageCourante->Image().isNull());
}
