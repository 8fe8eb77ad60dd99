#include "controles.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/cacheimages.h"
#include "core/source/sourceliste.h"
#include "core/source/tachesource.h"
#include "photo.h"
#include "photoheif.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"
#include "ui/source/pleinecran.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

// Pictures of distinct sizes, so that each slot tells which file it shows.
QStringList Photos(int nombre) {
    QStringList noms;
    for (int i = 0; i < nombre; ++i)
        noms << QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0'));
    return noms;
}

QSize TailleDe(int i) {
    return QSize(40 + 2 * i, 30 + i);
}

} // namespace

class NavigationTest : public ProgrammeTest {
protected:
    void Lance(int nombre) {
        for (int i = 0; i < nombre; ++i)
            EcritImage(env.Source + u'/' + Photos(nombre)[i], TailleDe(i).width(), TailleDe(i).height());
        Demarre({});
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    static QSize Courante() { return Controle<TImage>("ImageCourante")->TailleNaturelle(); }
    static QSize Suivante() { return Controle<TImage>("ImagePrec")->TailleNaturelle(); }
    static QSize Precedente() { return Controle<TImage>("ImageSuiv")->TailleNaturelle(); }
    static QString Statut(int panneau) {
        return Controle<QLabel>(QStringLiteral("PanneauStatut%1").arg(panneau))->text();
    }
};

TEST_F(NavigationTest, PremiereAffichageEtStatut) {
    Lance(4);
    EXPECT_EQ(Courante(), TailleDe(0));
    EXPECT_EQ(Suivante(), TailleDe(1));
    EXPECT_EQ(Precedente(), QSize(0, 0));
    EXPECT_FALSE(Controle<QLabel>("LabelSuivIllisible")->isVisible());
    EXPECT_EQ(Statut(0), QStringLiteral("1/4"));
    EXPECT_EQ(Statut(1), QStringLiteral("40x30"));
    EXPECT_EQ(Statut(3), env.Source + QStringLiteral("/p00.jpg"));
    EXPECT_EQ(Controle<QScrollBar>("ScrollBar1")->maximum(), 3);
    EXPECT_EQ(Controle<QScrollBar>("ScrollBar1")->value(), 0);
    EXPECT_TRUE(Controle<QListWidget>("ListBox1")->item(0)->isSelected());
    // A picture smaller than its box is shown at its own size, centred.
    const QRect place = Controle<TImage>("ImageCourante")->geometry();
    EXPECT_EQ(place.size(), TailleDe(0));
    EXPECT_EQ(place.left(), (Controle<QFrame>("PanelCourant2")->width() - 40) / 2);
    EXPECT_EQ(place.top(), (Controle<QFrame>("PanelCourant2")->height() - 30) / 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(NavigationTest, SourceVideEtUnSeulFichier) {
    Lance(0);
    EXPECT_EQ(Statut(0), QStringLiteral("1/0"));
    EXPECT_EQ(Statut(1), QStringLiteral("0x0"));
    EXPECT_EQ(Controle<QScrollBar>("ScrollBar1")->maximum(), 0);
    EXPECT_FALSE(Controle<QLabel>("LabelCourantIllisible")->isVisible());
    EXPECT_FALSE(Controle<QLabel>("LabelPrecIllisible")->isVisible());
    // The wheel and the scroll bar do nothing.
    MainForm->FormMouseWheelDown();
    Controle<QScrollBar>("ScrollBar1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());
    EXPECT_EQ(Source()->IndexDemande, 0);
}

TEST_F(NavigationTest, UnFichierSansVoisins) {
    Lance(1);
    EXPECT_EQ(Courante(), TailleDe(0));
    EXPECT_EQ(Suivante(), QSize(0, 0));
    EXPECT_EQ(Precedente(), QSize(0, 0));
    MainForm->FormMouseWheelDown();
    MainForm->FormMouseWheelUp();
    EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());
    EXPECT_EQ(Statut(0), QStringLiteral("1/1"));
}

TEST_F(NavigationTest, PasAPasAvecLesFlechesApresUnClic) {
    Lance(5);
    // Keys in the list box do nothing.
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Down);
    EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());

    const QRect ligne =
        Controle<QListWidget>("ListBox1")->visualItemRect(Controle<QListWidget>("ListBox1")->item(2));
    QTest::mouseClick(Controle<QListWidget>("ListBox1")->viewport(), Qt::LeftButton, {}, ligne.center());
    EXPECT_EQ(Source()->IndexDemande, 2);
    EXPECT_EQ(MainForm->focusWidget(), Controle<QScrollBar>("ScrollBar1"));
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Courante(), TailleDe(2));
    EXPECT_EQ(Suivante(), TailleDe(3));
    EXPECT_EQ(Precedente(), TailleDe(1));

    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Right);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 3);
    EXPECT_EQ(Courante(), TailleDe(3));
    EXPECT_EQ(Precedente(), TailleDe(2));
    EXPECT_EQ(Suivante(), TailleDe(4));
    EXPECT_TRUE(Controle<QListWidget>("ListBox1")->item(3)->isSelected());
    EXPECT_FALSE(Controle<QListWidget>("ListBox1")->item(2)->isSelected());

    // Up and left go back, as on any scroll bar.
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Up);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 2);
    EXPECT_EQ(Suivante(), TailleDe(3));
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_End);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 4);
    EXPECT_EQ(Suivante(), QSize(0, 0));
    // At the last file the arrow changes nothing.
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Right);
    EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Home);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 0);
    EXPECT_EQ(Precedente(), QSize(0, 0));
    // A page is ten files, limited by the scroll bar to the last one.
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_PageDown);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 4);
    EXPECT_EQ(Precedente(), TailleDe(3));
}

TEST_F(NavigationTest, ToursDeRouletteRegroupes) {
    Lance(8);
    for (int i = 0; i < 5; ++i) {
        QWheelEvent roulette(QPointF(10, 10), MainForm->mapToGlobal(QPointF(10, 10)), QPoint(),
                             QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Controle<TImage>("ImageCourante"), &roulette);
    }
    EXPECT_EQ(Source()->IndexDemande, 5);
    // Five ticks at once: the display goes there, each picture shown on the way.
    ASSERT_TRUE(AttendQue([] { return !Controle<QTimer>("TimerCourantAff")->isActive(); }, 2000));
    EXPECT_EQ(Source()->IndexAffiche, 5);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Courante(), TailleDe(5));
    EXPECT_EQ(Precedente(), TailleDe(4));
    EXPECT_EQ(Suivante(), TailleDe(6));
}

TEST_F(NavigationTest, UnPasAttendLApercuEnCours) {
    Lance(6);
    // A large next file, so that its preview takes a while to load.
    EcritImage(env.Source + QStringLiteral("/p02.jpg"), 3000, 2000);
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendQue([] { return Source()->IndexAffiche == 1; }, 2000));
    // The loader's result can only be placed by the event loop: until then the preview is hidden
    // and a new step waits, checking again every 100 ms.
    ASSERT_TRUE(MainForm->Affichage->ApercuEnChargement());
    MainForm->FormMouseWheelDown();
    MainForm->TimerCourantAffTimer();
    EXPECT_EQ(Source()->IndexAffiche, 1);
    EXPECT_TRUE(Controle<QTimer>("TimerCourantAff")->isActive());
    EXPECT_EQ(Controle<QTimer>("TimerCourantAff")->interval(), 100);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 2);
    EXPECT_EQ(Courante(), QSize(3000, 2000));
    EXPECT_EQ(Suivante(), TailleDe(3));
    EXPECT_EQ(Precedente(), TailleDe(1));
}

// A key held over HEIC photos steps on their stored thumbnails while no whole picture, which cannot
// be stopped once begun, is begun: each slot carries its wait for the whole picture along, and the
// whole pictures replace the thumbnails once the key rests.
TEST_F(NavigationTest, UneToucheTenueAvanceSurLesVignettesHeic) {
    struct Calme {
        Calme() { TChargeurImages::CalmeMs = 3600 * 1000; }
        ~Calme() { TChargeurImages::CalmeMs = 150; }
    } calme;
    TOptionsHeif options;
    options.Vignette = 64;
    auto naturelle = [](int i) { return QSize(320 + 16 * i, 240 + 12 * i); };
    for (int i = 0; i < 5; ++i)
        EcritFichier(QFile::encodeName(env.Source + QStringLiteral("/p%1.heic").arg(i)),
                     OctetsHeif(PhotoSynthetique(i, naturelle(i).width(), naturelle(i).height()), options));
    Demarre({});
    Affiche();
    const QSize vignette(64, 48);
    auto vignettesPretes = [] {
        return !Controle<QTimer>("TimerCourantAff")->isActive() && !MainForm->Affichage->ApercuEnChargement();
    };
    ASSERT_TRUE(AttendQue(vignettesPretes, 5000));
    EXPECT_EQ(Controle<TImage>("ImageCourante")->Image().size(), vignette);

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Right);
    ASSERT_TRUE(AttendQue([&] { return Source()->IndexAffiche == 3 && vignettesPretes(); }, 5000));
    EXPECT_EQ(Courante(), naturelle(3));
    EXPECT_EQ(Precedente(), naturelle(2));
    EXPECT_EQ(Suivante(), naturelle(4));
    EXPECT_EQ(Controle<TImage>("ImageCourante")->Image().size(), vignette);
    EXPECT_EQ(Controle<TImage>("ImageSuiv")->Image().size(), vignette);
    EXPECT_EQ(Statut(1), QStringLiteral("368x276"));

    // The key rests on the last photo: its whole picture and the previous one's come.
    TChargeurImages::CalmeMs = 0;
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Right);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 4);
    EXPECT_EQ(Controle<TImage>("ImageCourante")->Image().size(), naturelle(4));
    EXPECT_EQ(Controle<TImage>("ImageSuiv")->Image().size(), naturelle(3));
    EXPECT_EQ(Precedente(), naturelle(3));
}

TEST_F(NavigationTest, DemandeNegativeApresRetrait) {
    Lance(4);
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendRepos());
    // The current file (index 1) leaves the list: what follows it comes into the current slot and
    // the previous slot keeps its picture.
    Source()->Fichiers.Retire(1);
    delete Controle<QListWidget>("ListBox1")->takeItem(1);
    Source()->CouranteRetiree = true;
    Source()->IndexDemande = -1;
    MainForm->ArmeTimerCourantAff();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 1);
    EXPECT_EQ(Source()->IndexDemande, 1);
    EXPECT_FALSE(Source()->CouranteRetiree);
    EXPECT_EQ(Courante(), TailleDe(2));
    EXPECT_EQ(Precedente(), TailleDe(0));
    EXPECT_EQ(Suivante(), TailleDe(3));
}

TEST_F(NavigationTest, SelectionMultipleEtTri) {
    Lance(4);
    auto* liste = Controle<QListWidget>("ListBox1");
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      liste->visualItemRect(liste->item(2)).center());
    EXPECT_TRUE(MainForm->MultiSelection());
    EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());
    EXPECT_EQ(liste->selectedItems().size(), 2);

    // Sizes grow with the index: by size the order is the same; by date, p02 given the oldest date.
    Source()->Fichiers.Element(2)->Date = -5;
    Source()->IndexAffiche = 2;
    Controle<QAction>("TrierparDate1")->trigger();
    EXPECT_FALSE(MainForm->MultiSelection());
    EXPECT_EQ(liste->selectedItems().size(), 1);
    EXPECT_EQ(Source()->IndexAffiche, 2);
    EXPECT_EQ(liste->item(0)->text(), QStringLiteral("p02.jpg"));
    EXPECT_EQ(Statut(3), QFile::decodeName(Source()->Fichiers.Texte(2)));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(NavigationTest, FichierIllisibleEtPleinEcran) {
    EcritFichier(QFile::encodeName(env.Source + QStringLiteral("/a-texte.jpg")), "pas une image");
    Lance(2);
    EXPECT_TRUE(Controle<QLabel>("LabelCourantIllisible")->isVisible());
    EXPECT_EQ(Statut(1), QStringLiteral("0x0"));
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendRepos());
    // The label moved with the picture into the previous slot.
    EXPECT_TRUE(Controle<QLabel>("LabelSuivIllisible")->isVisible());
    EXPECT_FALSE(Controle<QLabel>("LabelCourantIllisible")->isVisible());

    // Any button released over the current image opens the viewer; a click closes it.
    QTest::mouseClick(Controle<TImage>("ImageCourante"), Qt::RightButton);
    EXPECT_TRUE(FormPleinEcran->isVisible());
    EXPECT_EQ(ControleDe<TImage>(*FormPleinEcran, "Image1")->TailleNaturelle(), TailleDe(0));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    const QRect vue = ControleDe<TImage>(*FormPleinEcran, "Image1")->geometry();
    EXPECT_EQ(vue.size(), TailleDe(0));
    EXPECT_EQ(vue.left(), (FormPleinEcran->width() - TailleDe(0).width()) / 2);
    QTest::mouseClick(ControleDe<TImage>(*FormPleinEcran, "Image1"), Qt::LeftButton);
    EXPECT_FALSE(FormPleinEcran->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(NavigationTest, FermetureAvecUnChargementEnVol) {
    Lance(3);
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendQue([] { return Source()->IndexAffiche == 1; }, 2000));
    // Closing at once: the loader's late result must reach nothing.
    EXPECT_TRUE(MainForm->close());
    EXPECT_EQ(Source(), nullptr);
    AttendQue([] { return TTacheSource::Vivantes() == 0; }, 5000);
    EXPECT_EQ(TTacheSource::Vivantes(), 0);
}

TEST_F(NavigationTest, UneDemandeProcheEstAtteintePasAPas) {
    Lance(8);
    // Three files ahead, as an arrow key held faster than the display: every step is taken.
    Source()->IndexDemande = 3;
    MainForm->ArmeTimerCourantAff();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 3);
    EXPECT_EQ(Courante(), TailleDe(3));
    EXPECT_EQ(Precedente(), TailleDe(2));
    EXPECT_EQ(Suivante(), TailleDe(4));
    Source()->IndexDemande = 1;
    MainForm->ArmeTimerCourantAff();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Courante(), TailleDe(1));
    EXPECT_EQ(Suivante(), TailleDe(2));
}

TEST_F(NavigationTest, LesFichiersDevantSontPretsEtUnFichierClasseEstOublie) {
    const QString classees = env.Dossier(QStringLiteral("classees"));
    EcritConfiguration({Enregistrement("Classees", classees)});
    Lance(8);
    TCacheImages& cache = MainForm->Affichage->Cache();
    const QSize ecran = QGuiApplication::primaryScreen()->geometry().size();
    auto chemin = [this](int i) { return QFile::encodeName(env.Source + u'/' + Photos(8)[i]); };
    // Every file ahead is decoded while the first one is shown.
    ASSERT_TRUE(AttendQue(
        [&] {
            for (int i = 0; i < 8; ++i)
                if (!cache.Cherche(chemin(i), ecran)) return false;
            return true;
        },
        10000));
    const QByteArray premier = chemin(0);
    MainForm->Classe(*Config()->Destinations.Element(1), false);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Courante(), TailleDe(1));
    // Put back by hand, same bytes and same time: its picture was dropped when it was filed.
    ASSERT_TRUE(QFile::rename(classees + QStringLiteral("/p00.jpg"), QFile::decodeName(premier)));
    EXPECT_FALSE(cache.Cherche(premier, ecran));
    EXPECT_TRUE(cache.Cherche(chemin(2), ecran));
}

TEST_F(NavigationTest, UnePageEstDeDixFichiers) {
    Lance(12);
    Controle<QScrollBar>("ScrollBar1")->setFocus();
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_PageDown);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 10);
    EXPECT_EQ(Courante(), TailleDe(10));
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Right);
    ASSERT_TRUE(AttendRepos());
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_PageUp);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 1);
}
