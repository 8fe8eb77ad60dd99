#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "programme.h"
#include "recherchesimulee.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/source/pleinecran.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <atomic>
#include <stdexcept>

#include <gtest/gtest-spi.h>

namespace {

// The captions of a menu in order, "-" for a separator.
QStringList Entrees(const QMenu* menu) {
    QStringList entrees;
    for (const QAction* action : menu->actions())
        entrees << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return entrees;
}

QMenu* Menu(const QString& titre) {
    for (QAction* action : MainForm->menuBar()->actions())
        if (action->text() == titre) return action->menu();
    return nullptr;
}

} // namespace

class MainFormTest : public ProgrammeTest {
protected:
    void SetUp() override {
        Demarre();
        Affiche();
    }
};

TEST_F(MainFormTest, MenusEtSeparateurs) {
    QStringList titres;
    for (const QAction* action : MainForm->menuBar()->actions())
        titres << action->text();
    EXPECT_EQ(titres, (QStringList{"&Fichier", "&Source", "&Destinations", "&Images en double", "&Aide"}));

    EXPECT_EQ(Entrees(Menu("&Fichier")),
              (QStringList{"Gérer les &Signatures des images", "Gérer les &Configurations multiples",
                           "&Préférences", "-", "&Vider la corbeille", "-", "&Quitter"}));
    EXPECT_EQ(Entrees(Menu("&Source")),
              (QStringList{"&Définir une nouvelle source", "&Rafraichir la source"}));
    EXPECT_EQ(
        Entrees(Menu("&Destinations")),
        (QStringList{"A&nnuler la dernière commande", "-", "&Ajouter une destination",
                     "Ajouter une destination avec ses &Sous-dossiers", "&Fermer toutes les destinations"}));
    EXPECT_EQ(Entrees(Menu("&Images en double")),
              (QStringList{"&Désactiver la recherche pour toutes les destinations",
                           "Activer la recherche &LOCALE pour toutes les destinations",
                           "Activer la recherche &GENERALE pour toutes les destinations", "-",
                           "&Montrer la destination en cours de recherche",
                           "Montrer les destinations qui ont des &Images en double"}));
    EXPECT_EQ(Entrees(Menu("&Aide")), (QStringList{"&Sommaire", "Tutorial", "Références"}));
    EXPECT_EQ(
        Entrees(Controle<QMenu>("PopupMenuTri")),
        (QStringList{"Trier par &Nom", "Trier par &Date", "Trier par &Taille", "Trier par &Extension"}));
    EXPECT_EQ(
        Entrees(Controle<QMenu>("PopupMenu2")),
        (QStringList{"&Fermer la destination", "-", "&Modifier les caractéristiques",
                     "Effacer la liste des images en double", "&Renommer les fichiers dans la destination",
                     "Sélectionner cette destination comme source"}));

    // Entries with an image show it; the others show none.
    EXPECT_TRUE(Controle<QAction>("GestiondeSignatures1")->icon().isNull());
    EXPECT_TRUE(Controle<QAction>("Quit1")->icon().isNull());
    EXPECT_TRUE(Controle<QAction>("Tutorial1")->icon().isNull());
    for (const QAction* action :
         {Controle<QAction>("Gestionnairedeconfiguration1"), Controle<QAction>("Prfrences1"),
          Controle<QAction>("Viderlacorbeille1"), Controle<QAction>("Parcourir1"),
          Controle<QAction>("Annulation1"), Controle<QAction>("Montrerlesdestinationsquiontdesdoublons1"),
          Controle<QAction>("Guide1")})
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    EXPECT_EQ(ContexteAide(Controle<QAction>("Viderlacorbeille1")), 2205);
    EXPECT_EQ(ContexteAide(Controle<QAction>("Rafraichir1")), 2210);
    EXPECT_EQ(ContexteAide(Controle<QAction>("Ajouter1")), 2215);
    EXPECT_EQ(ContexteAide(Controle<QAction>("Montrerladestinationencoursdeddoublonnage1")), 2220);
    EXPECT_EQ(ContexteAide(Controle<QAction>("Tutorial1")), 2200);
}

TEST_F(MainFormTest, BarresDOutilsEtBulles) {
    const std::pair<QToolButton*, const char*> boutons[] = {
        {Controle<QToolButton>("ToolButton1"), "Définir une nouvelle source"},
        {Controle<QToolButton>("ToolButton2"), "Rafraichir la source"},
        {Controle<QToolButton>("ToolButton14"), "Annuler la dernière commande"},
        {Controle<QToolButton>("ToolButton3"), "Ajouter une destination"},
        {Controle<QToolButton>("ToolButton12"), "Ajouter une destination avec ses sous-dossiers"},
        {Controle<QToolButton>("ToolButton15"), "Fermer toutes les destinations"},
        {Controle<QToolButton>("ToolButton16"), "Désactiver la recherche pour toutes les destinations"},
        {Controle<QToolButton>("ToolButton17"), "Activer la recherche LOCALE pour toutes les destinations"},
        {Controle<QToolButton>("ToolButton18"), "Activer la recherche GENERALE pour toutes les destinations"},
        {Controle<QToolButton>("ToolButton4"), "Montrer la destination en cours de recherche"},
        {Controle<QToolButton>("ToolButton5"), "Montrer les destinations qui ont des images en double"},
    };
    for (const auto& [bouton, bulle] : boutons) {
        EXPECT_EQ(bouton->toolTip(), QString::fromUtf8(bulle));
        EXPECT_FALSE(bouton->icon().isNull()) << bulle;
        EXPECT_TRUE(bouton->isVisible()) << bulle;
    }
    EXPECT_EQ(Controle<QToolBar>("ToolBar1")->windowTitle(), QStringLiteral("Dédoublonnage"));
    EXPECT_EQ(Controle<QLabel>("StaticDoublons")->toolTip(), QStringLiteral("Nombre de destinations total"));
    EXPECT_EQ(Controle<TImage>("ImageProgress")->size(), QSize(120, 20));
    EXPECT_EQ(Controle<TImage>("ImageProgress")->Image().size(), QSize(120, 20));

    // A button does what its menu entry does: here, it opens the properties dialog.
    QSignalSpy declenche(Controle<QAction>("Ajouter1"), &QAction::triggered);
    QStringList montres;
    dialogues.Modal = [&](QDialog& dialogue) {
        montres << dialogue.objectName();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(Controle<QToolButton>("ToolButton3"), Qt::LeftButton);
    EXPECT_EQ(declenche.count(), 1);
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormNouvDest")});
}

TEST_F(MainFormTest, SeparateursEtLeursMinimums) {
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxDestinations")->width(), 167);
    EXPECT_EQ(Controle<QWidget>("Panel2")->width(), 98);
    EXPECT_EQ(Controle<QWidget>("PanelPrecSuiv")->height(), 65);
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxPrec")->width(), Controle<QWidget>("PanelPrecSuiv")->width() / 2);
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxPrec")->title(), QStringLiteral("Image précédente"));
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxSuiv")->title(), QStringLiteral("Image suivante"));
    // The crossed names: the "previous" box holds ImageSuiv.
    EXPECT_TRUE(Controle<QGroupBox>("GroupBoxPrec")->isAncestorOf(Controle<TImage>("ImageSuiv")));
    EXPECT_TRUE(Controle<QGroupBox>("GroupBoxSuiv")->isAncestorOf(Controle<TImage>("ImagePrec")));

    auto glisse = [](QSplitter* separateur, QPoint vers) {
        QWidget* poignee = separateur->handle(1);
        const QPoint centre = poignee->rect().center();
        QTest::mousePress(poignee, Qt::LeftButton, {}, centre);
        QTest::mouseMove(poignee, centre + vers);
        QTest::mouseRelease(poignee, Qt::LeftButton, {}, centre + vers);
        QCoreApplication::processEvents();
    };
    glisse(Controle<QSplitter>("SplitterMain"), QPoint(3000, 0));
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxDestinations")->width(), 2);
    glisse(Controle<QSplitter>("Splitter1"), QPoint(-3000, 0));
    EXPECT_EQ(Controle<QWidget>("Panel2")->width(), 1);
    glisse(Controle<QSplitter>("SplitterH"), QPoint(0, -3000));
    EXPECT_EQ(Controle<QWidget>("PanelPrecSuiv")->height(), 1);
    EXPECT_EQ(Controle<QGroupBox>("GroupBoxPrec")->height(), 1);

    // The dividers read back what was set.
    MainForm->FixeSeparateurs(200, 120, 90);
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->LargeurDestinations(), 200);
    EXPECT_EQ(MainForm->LargeurListe(), 120);
    EXPECT_EQ(MainForm->HauteurApercus(), 90);
}

TEST_F(MainFormTest, SupprClasseDansLaCorbeilleSansClicSimule) {
    QSignalSpy appuis(Controle<TImage>("ImageDestination"), &TImage::SourisEnfoncee);
    QSignalSpy relachements(Controle<TImage>("ImageDestination"), &TImage::SourisRelachee);
    Controle<QListWidget>("ListBox1")->setFocus();
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    // It filed the current image into the trash, as a click on the trash tile does, and the tile
    // picture saw no mouse event.
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), 2);
    EXPECT_TRUE(QFile::exists(MainForm->Session().DossierProgramme + QStringLiteral("/Corbeille/A.gif")));
    EXPECT_EQ(appuis.count() + relachements.count(), 0);

    // The same from a control that is not the list.
    ASSERT_TRUE(AttendRepos());
    Controle<QScrollBar>("ScrollBar1")->setFocus();
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Delete);
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), 1);
}

TEST_F(MainFormTest, ToucheDeMasquage) {
    FormPleinEcran->show();
    FormDedoublone->show();
    QTest::keyClick(FormPleinEcran, Qt::Key_twosuperior);
    EXPECT_FALSE(FormPleinEcran->isVisible());
    EXPECT_FALSE(FormDedoublone->isVisible());
    EXPECT_TRUE(AttendQue([] { return MainForm->isMinimized(); }, 2000));

    // While a text is typed, the quote is a character.
    MainForm->showNormal();
    ASSERT_TRUE(AttendQue([] { return !MainForm->isMinimized(); }, 2000));
    QLineEdit saisie;
    saisie.show();
    QTest::keyClick(&saisie, '\'');
    EXPECT_EQ(saisie.text(), QStringLiteral("'"));
    EXPECT_FALSE(MainForm->isMinimized());
    QTest::keyClick(Controle<QListWidget>("ListBox1"), '\'');
    EXPECT_TRUE(AttendQue([] { return MainForm->isMinimized(); }, 2000));
}

TEST_F(MainFormTest, Aide) {
    Controle<QAction>("Tutorial1")->trigger();
    ASSERT_NE(FenetreAide(), nullptr);
    EXPECT_TRUE(FenetreAide()->isVisible());
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2095"));
    Controle<QAction>("Rfrences1")->trigger();
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2100"));
    Controle<QAction>("Guide1")->trigger();
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("sommaire"));

    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_F1);
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2100"));
    QMenu* fichier = Menu("&Fichier");
    fichier->setActiveAction(Controle<QAction>("Viderlacorbeille1"));
    QTest::keyClick(fichier, Qt::Key_F1);
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2205"));
    QTest::keyClick(Controle<QToolBar>("ToolBarSource"), Qt::Key_F1);
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2200"));
}

TEST_F(MainFormTest, FermetureAttendLaRecherche) {
    QSignalSpy fermee(MainForm, &TMainForm::Fermee);
    // The window owns the task from here, as it does the tasks it starts.
    auto* tache = new TRechercheSimulee(MainForm->Session().Occupe);
    TRechercheSimulee& recherche = *tache;
    recherche.Libre = false;
    MainForm->Session().TacheRecherche = tache;
    recherche.start();

    Controle<QAction>("Quit1")->trigger();
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(Controle<QTimer>("Timer2")->isActive());
    EXPECT_FALSE(MainForm->Session().RechercheAutorisee);
    EXPECT_TRUE(Controle<QTimer>("TimerFermeture")->isActive());
    EXPECT_TRUE(recherche.isInterruptionRequested());

    // The window keeps asking while the search runs.
    QSignalSpy relances(Controle<QTimer>("TimerFermeture"), &QTimer::timeout);
    EXPECT_TRUE(AttendQue([&] { return relances.count() >= 3; }, 3000));
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(fermee.count(), 0);
    EXPECT_NE(Source(), nullptr);

    recherche.Libre = true;
    EXPECT_TRUE(AttendQue([] { return !MainForm->isVisible(); }, 3000));
    recherche.wait();
    EXPECT_EQ(fermee.count(), 1);
    EXPECT_FALSE(Controle<QTimer>("TimerFermeture")->isActive());
    EXPECT_EQ(Source(), nullptr);
    EXPECT_EQ(Config()->ContexteDestinations.ReponseMemorisee, ReponseConfirmation::NonPourTous);
    // Asked again, nothing runs twice.
    MainForm->close();
    EXPECT_EQ(fermee.count(), 1);
}

TEST_F(MainFormTest, FermetureImmediateSansRecherche) {
    QSignalSpy fermee(MainForm, &TMainForm::Fermee);
    for (const QString& titre : {QStringLiteral("Vacances"), QStringLiteral("Plage")}) {
        auto destination = std::make_unique<TDestination>();
        destination->Titre = titre;
        Config()->Destinations.Ajoute(titre, std::move(destination));
    }
    // A command holding the search still without a thread: the refusal is only retried.
    MainForm->Session().Occupe = 1;
    EXPECT_FALSE(MainForm->close());
    EXPECT_TRUE(MainForm->isVisible());
    MainForm->Session().Occupe = 0;
    EXPECT_TRUE(AttendQue([] { return !MainForm->isVisible(); }, 3000));
    EXPECT_EQ(fermee.count(), 1);

    // The window's normal bounds and dividers were collected at close.
    EXPECT_EQ(Config()->WindowWidth, MainForm->width());
    EXPECT_EQ(Config()->Divider1, Controle<QGroupBox>("GroupBoxDestinations")->width());
    // Every destination went but the trash.
    ASSERT_EQ(Config()->Destinations.Count(), 1);
    EXPECT_EQ(Config()->Destinations.Element(0)->Titre, QStringLiteral("Corbeille"));
}

TEST_F(MainFormTest, FermetureFenetreMaximiseeReleveLesBornesNormales) {
    MainForm->setGeometry(50, 60, 700, 520);
    QCoreApplication::processEvents();
    MainForm->showMaximized();
    ASSERT_TRUE(AttendQue([] { return MainForm->isMaximized(); }, 2000));
    EXPECT_TRUE(MainForm->close());
    EXPECT_TRUE(Config()->Maximized);
    EXPECT_EQ(Config()->WindowWidth, 700);
    EXPECT_EQ(Config()->WindowHeight, 520);
    EXPECT_EQ(Config()->WindowLeft, 50);
}

namespace {

// Looks a label up, the failure it throws caught.
void ChercheLibelle(const char* nom) {
    try {
        Controle<QLabel>(nom);
    } catch (const std::logic_error&) {
    }
}

} // namespace

// A control is found by its name only when the window holds exactly one of that type; a dialog's
// control of the same name is the dialog's, not the window's.
TEST_F(MainFormTest, ControleTrouveParSonNomSeulementSIlEstUnique) {
    EXPECT_NONFATAL_FAILURE(ChercheLibelle("Absent"), "0 controls named \"Absent\"");
    EXPECT_NONFATAL_FAILURE(ChercheLibelle("ListBox1"), "0 controls named \"ListBox1\""); // not a label
    QLabel* doublons = Controle<QLabel>("StaticDoublons");
    auto* homonyme = new QLabel(MainForm->centralWidget());
    homonyme->setObjectName(QStringLiteral("StaticDoublons"));
    EXPECT_NONFATAL_FAILURE(ChercheLibelle("StaticDoublons"), "2 controls named \"StaticDoublons\"");
    delete homonyme;
    EXPECT_EQ(Controle<QLabel>("StaticDoublons"), doublons);

    // The configuration manager, a child of the window, has a tile menu of the same name.
    ASSERT_EQ(MainForm->findChildren<QMenu*>(QStringLiteral("PopupMenu2")).size(), 2);
    QMenu* menu = Controle<QMenu>("PopupMenu2");
    EXPECT_EQ(menu->parent(), MainForm);
    EXPECT_TRUE(Controle<QAction>("Effacer1")->associatedObjects().contains(menu));
}

// No two objects of the window bear the same name, so that each name finds one control.
TEST_F(MainFormTest, ChaqueObjetNommeDeLaFenetreEstUnique) {
    QMap<QString, int> noms;
    for (const QObject* objet : ControlesDeLaFenetre<QObject>(*MainForm, QString()))
        if (!objet->objectName().isEmpty() && !objet->objectName().startsWith(QLatin1String("qt_")))
            ++noms[objet->objectName()];
    EXPECT_GT(noms.size(), 80);
    for (auto n = noms.cbegin(); n != noms.cend(); ++n)
        EXPECT_EQ(n.value(), 1) << qPrintable(n.key());
}
