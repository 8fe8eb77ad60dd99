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
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <atomic>

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
    EXPECT_EQ(Entrees(MainForm->PopupMenuTri), (QStringList{"Trier par &Nom", "Trier par &Date",
                                                            "Trier par &Taille", "Trier par &Extension"}));
    EXPECT_EQ(
        Entrees(MainForm->PopupMenu2),
        (QStringList{"&Fermer la destination", "-", "&Modifier les caractéristiques",
                     "Effacer la liste des images en double", "&Renommer les fichiers dans la destination",
                     "Sélectionner cette destination comme source"}));

    // Entries with an image show it; the others show none.
    EXPECT_TRUE(MainForm->GestiondeSignatures1->icon().isNull());
    EXPECT_TRUE(MainForm->Quit1->icon().isNull());
    EXPECT_TRUE(MainForm->Tutorial1->icon().isNull());
    for (const QAction* action : {MainForm->Gestionnairedeconfiguration1, MainForm->Prfrences1,
                                  MainForm->Viderlacorbeille1, MainForm->Parcourir1, MainForm->Annulation1,
                                  MainForm->Montrerlesdestinationsquiontdesdoublons1, MainForm->Guide1})
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    EXPECT_EQ(ContexteAide(MainForm->Viderlacorbeille1), 2205);
    EXPECT_EQ(ContexteAide(MainForm->Rafraichir1), 2210);
    EXPECT_EQ(ContexteAide(MainForm->Ajouter1), 2215);
    EXPECT_EQ(ContexteAide(MainForm->Montrerladestinationencoursdeddoublonnage1), 2220);
    EXPECT_EQ(ContexteAide(MainForm->Tutorial1), 2200);
}

TEST_F(MainFormTest, BarresDOutilsEtBulles) {
    const std::pair<QToolButton*, const char*> boutons[] = {
        {MainForm->ToolButton1, "Définir une nouvelle source"},
        {MainForm->ToolButton2, "Rafraichir la source"},
        {MainForm->ToolButton14, "Annuler la dernière commande"},
        {MainForm->ToolButton3, "Ajouter une destination"},
        {MainForm->ToolButton12, "Ajouter une destination avec ses sous-dossiers"},
        {MainForm->ToolButton15, "Fermer toutes les destinations"},
        {MainForm->ToolButton16, "Désactiver la recherche pour toutes les destinations"},
        {MainForm->ToolButton17, "Activer la recherche LOCALE pour toutes les destinations"},
        {MainForm->ToolButton18, "Activer la recherche GENERALE pour toutes les destinations"},
        {MainForm->ToolButton4, "Montrer la destination en cours de recherche"},
        {MainForm->ToolButton5, "Montrer les destinations qui ont des images en double"},
    };
    for (const auto& [bouton, bulle] : boutons) {
        EXPECT_EQ(bouton->toolTip(), QString::fromUtf8(bulle));
        EXPECT_FALSE(bouton->icon().isNull()) << bulle;
        EXPECT_TRUE(bouton->isVisible()) << bulle;
    }
    EXPECT_EQ(MainForm->ToolBar1->windowTitle(), QStringLiteral("Dédoublonnage"));
    EXPECT_EQ(MainForm->StaticDoublons->toolTip(), QStringLiteral("Nombre de destinations total"));
    EXPECT_EQ(MainForm->ImageProgress->size(), QSize(120, 20));
    EXPECT_EQ(MainForm->ImageProgress->Image().size(), QSize(120, 20));

    // A button does what its menu entry does: here, it opens the properties dialog.
    QSignalSpy declenche(MainForm->Ajouter1, &QAction::triggered);
    QStringList montres;
    dialogues.Modal = [&](QDialog& dialogue) {
        montres << dialogue.objectName();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(MainForm->ToolButton3, Qt::LeftButton);
    EXPECT_EQ(declenche.count(), 1);
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormNouvDest")});
}

TEST_F(MainFormTest, SeparateursEtLeursMinimums) {
    EXPECT_EQ(MainForm->GroupBoxDestinations->width(), 167);
    EXPECT_EQ(MainForm->Panel2->width(), 98);
    EXPECT_EQ(MainForm->PanelPrecSuiv->height(), 65);
    EXPECT_EQ(MainForm->GroupBoxPrec->width(), MainForm->PanelPrecSuiv->width() / 2);
    EXPECT_EQ(MainForm->GroupBoxPrec->title(), QStringLiteral("Image précédente"));
    EXPECT_EQ(MainForm->GroupBoxSuiv->title(), QStringLiteral("Image suivante"));
    // The crossed names: the "previous" box holds ImageSuiv.
    EXPECT_TRUE(MainForm->GroupBoxPrec->isAncestorOf(MainForm->ImageSuiv));
    EXPECT_TRUE(MainForm->GroupBoxSuiv->isAncestorOf(MainForm->ImagePrec));

    auto glisse = [](QSplitter* separateur, QPoint vers) {
        QWidget* poignee = separateur->handle(1);
        const QPoint centre = poignee->rect().center();
        QTest::mousePress(poignee, Qt::LeftButton, {}, centre);
        QTest::mouseMove(poignee, centre + vers);
        QTest::mouseRelease(poignee, Qt::LeftButton, {}, centre + vers);
        QCoreApplication::processEvents();
    };
    glisse(MainForm->SplitterMain, QPoint(3000, 0));
    EXPECT_EQ(MainForm->GroupBoxDestinations->width(), 2);
    glisse(MainForm->Splitter1, QPoint(-3000, 0));
    EXPECT_EQ(MainForm->Panel2->width(), 1);
    glisse(MainForm->SplitterH, QPoint(0, -3000));
    EXPECT_EQ(MainForm->PanelPrecSuiv->height(), 1);
    EXPECT_EQ(MainForm->GroupBoxPrec->height(), 1);

    // The dividers read back what was set.
    MainForm->FixeSeparateurs(200, 120, 90);
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->LargeurDestinations(), 200);
    EXPECT_EQ(MainForm->LargeurListe(), 120);
    EXPECT_EQ(MainForm->HauteurApercus(), 90);
}

TEST_F(MainFormTest, SupprClasseDansLaCorbeilleSansClicSimule) {
    QSignalSpy appuis(MainForm->ImageDestination, &TImage::SourisEnfoncee);
    QSignalSpy relachements(MainForm->ImageDestination, &TImage::SourisRelachee);
    MainForm->ListBox1->setFocus();
    QTest::keyClick(MainForm->ListBox1, Qt::Key_Delete);
    // It filed the current image into the trash, as a click on the trash tile does, and the tile
    // picture saw no mouse event.
    EXPECT_EQ(MainForm->ListBox1->count(), 2);
    EXPECT_TRUE(QFile::exists(MainForm->Session().DossierProgramme + QStringLiteral("/Corbeille/A.gif")));
    EXPECT_EQ(appuis.count() + relachements.count(), 0);

    // The same from a control that is not the list.
    ASSERT_TRUE(AttendRepos());
    MainForm->ScrollBar1->setFocus();
    QTest::keyClick(MainForm->ScrollBar1, Qt::Key_Delete);
    EXPECT_EQ(MainForm->ListBox1->count(), 1);
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
    QTest::keyClick(MainForm->ListBox1, '\'');
    EXPECT_TRUE(AttendQue([] { return MainForm->isMinimized(); }, 2000));
}

TEST_F(MainFormTest, Aide) {
    MainForm->Tutorial1->trigger();
    ASSERT_NE(FenetreAide(), nullptr);
    EXPECT_TRUE(FenetreAide()->isVisible());
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2095"));
    MainForm->Rfrences1->trigger();
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2100"));
    MainForm->Guide1->trigger();
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("sommaire"));

    QTest::keyClick(MainForm->ListBox1, Qt::Key_F1);
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2100"));
    QMenu* fichier = Menu("&Fichier");
    fichier->setActiveAction(MainForm->Viderlacorbeille1);
    QTest::keyClick(fichier, Qt::Key_F1);
    EXPECT_EQ(FenetreAide()->AncreCourante(), QStringLiteral("2205"));
    QTest::keyClick(MainForm->ToolBarSource, Qt::Key_F1);
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

    MainForm->Quit1->trigger();
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->Timer2->isActive());
    EXPECT_FALSE(MainForm->Session().RechercheAutorisee);
    EXPECT_TRUE(MainForm->TimerFermeture->isActive());
    EXPECT_TRUE(recherche.isInterruptionRequested());

    // The window keeps asking while the search runs.
    QSignalSpy relances(MainForm->TimerFermeture, &QTimer::timeout);
    EXPECT_TRUE(AttendQue([&] { return relances.count() >= 3; }, 3000));
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(fermee.count(), 0);
    EXPECT_NE(Source(), nullptr);

    recherche.Libre = true;
    EXPECT_TRUE(AttendQue([] { return !MainForm->isVisible(); }, 3000));
    recherche.wait();
    EXPECT_EQ(fermee.count(), 1);
    EXPECT_FALSE(MainForm->TimerFermeture->isActive());
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
    EXPECT_EQ(Config()->Divider1, MainForm->GroupBoxDestinations->width());
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
