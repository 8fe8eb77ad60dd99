#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "core/source/sourceliste.h"
#include "core/source/tachesource.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/app/progression.h"
#include "ui/source/affichagesource.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

class ClassementTest : public ProgrammeTest {
protected:
    void SetUp() override {
        cible = env.Dossier(QStringLiteral("Cible"));
        autre = env.Dossier(QStringLiteral("Autre"));
        EcritConfiguration(
            {Enregistrement(QStringLiteral("Cible"), cible), Enregistrement(QStringLiteral("Autre"), autre)});
        Demarre({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                 QStringLiteral("d.jpg")});
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    static const QList<TEtapeAnnulation>& Etapes() { return Config()->Annulations.Etapes; }
    static QList<bool> Copies() {
        QList<bool> copies;
        for (const TEtapeAnnulation& etape : Etapes())
            copies << etape.Copie;
        return copies;
    }
    static QPoint Titre(const TDestination* d) { return QPoint(d->TuileX + 40, d->TuileY + 10); }
    static void Clic(QPoint appui, QPoint relache, Qt::KeyboardModifiers auRelache = {},
                     Qt::KeyboardModifiers aLAppui = {}) {
        QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, aLAppui, appui);
        QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, auRelache, relache);
    }
    QStringList Noms() const { return QDir(env.Source).entryList(QDir::Files, QDir::Name); }

    QString cible, autre;
    QStringList& avertissements = utilisateur.Avertissements;
};

TEST_F(ClassementTest, UnClicDeplaceEtLImageSuivanteArrive) {
    Clic(Titre(Destination(1)), Titre(Destination(1)));
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));
    ASSERT_EQ(Source()->Fichiers.Count(), 3);
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), 3);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 0);
    EXPECT_EQ(Source()->Fichiers.Element(0)->Nom, QByteArray("b.jpg"));
    ASSERT_EQ(Etapes().size(), 1);
    EXPECT_EQ(Etapes().front().Cible, QFile::encodeName(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Etapes().front().Index, 0);
    EXPECT_EQ(Etapes().front().Destination.lock().get(), Destination(1));
    EXPECT_EQ(Destination(1)->ATraiter, QStringList{cible + QStringLiteral("/a.jpg")});
    EXPECT_TRUE(avertissements.isEmpty());
}

// Keys 1 to 9 file into the first tiles of the level shown, as a click would; Ctrl copies; never
// while a dialog is open or a text is typed, nor past the last tile.
TEST_F(ClassementTest, ChiffresDesTuiles) {
    EXPECT_EQ(MainForm->Panneau->ToucheDe(*Destination(1)), 1);
    EXPECT_EQ(MainForm->Panneau->ToucheDe(*Destination(2)), 2);
    EXPECT_EQ(MainForm->Panneau->ToucheDe(*Destination(0)), 0);
    EXPECT_TRUE(TPanneauDestinations::Indice(*Destination(2), 2).endsWith(QStringLiteral("\rTouche : 2")));
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_2);
    EXPECT_TRUE(QFile::exists(autre + QStringLiteral("/a.jpg")));
    ASSERT_TRUE(AttendRepos());
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Copies(), (QList<bool>{false, true}));
    ASSERT_TRUE(AttendRepos());
    // No third tile; a dialog open; a text being typed.
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_3);
    QDialog dialogue(MainForm);
    dialogue.setModal(true);
    dialogue.show();
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_1);
    dialogue.hide();
    QLineEdit saisie(MainForm);
    saisie.show();
    QTest::keyClick(&saisie, Qt::Key_1);
    EXPECT_EQ(Noms(), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Etapes().size(), 2);
}

TEST_F(ClassementTest, CtrlAuRelacheCopie) {
    Clic(Titre(Destination(1)), Titre(Destination(1)), Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/a.jpg")));
    EXPECT_EQ(Noms().size(), 4);
    EXPECT_EQ(Source()->Fichiers.Count(), 4);
    EXPECT_EQ(Copies(), QList<bool>{true});
    // Ctrl only at the press moves; the name taken by the copy gives a1.jpg.
    Clic(Titre(Destination(1)), Titre(Destination(1)), {}, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/a1.jpg")));
    EXPECT_EQ(Noms().size(), 3);
}

TEST_F(ClassementTest, RelacheSurUneAutreTuileNeClasseRien) {
    Clic(Titre(Destination(1)), Titre(Destination(2)));
    EXPECT_EQ(Noms().size(), 4);
    EXPECT_TRUE(Etapes().isEmpty());
}

TEST_F(ClassementTest, SupprEnvoieALaCorbeille) {
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(env.Programme + QStringLiteral("/Corbeille/a.jpg")));
    EXPECT_EQ(Noms().size(), 3);
    // The trash queues nothing for the search.
    EXPECT_TRUE(Destination(0)->ATraiter.isEmpty());
}

// Delete and the digits are shortcuts of the window (Ctrl with a digit copies, the keypad's digits
// count), acting from the control that has the keyboard.
TEST_F(ClassementTest, TouchesRaccourcisDeLaFenetre) {
    QList<QKeySequence> raccourcis;
    for (const QAction* action : MainForm->actions())
        raccourcis << action->shortcut();
    EXPECT_TRUE(raccourcis.contains(QKeySequence(Qt::Key_Delete)));
    for (int n = 1; n <= 9; ++n) {
        const auto chiffre = static_cast<Qt::Key>(Qt::Key_0 + n);
        EXPECT_TRUE(raccourcis.contains(QKeySequence(chiffre))) << n;
        EXPECT_TRUE(raccourcis.contains(QKeySequence(Qt::ControlModifier | chiffre))) << n;
    }
    Controle<QScrollBar>("ScrollBar1")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Controle<QScrollBar>("ScrollBar1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
    EXPECT_TRUE(QFile::exists(autre + QStringLiteral("/a.jpg")));
    ASSERT_TRUE(AttendRepos());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    ASSERT_TRUE(AttendRepos());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::KeypadModifier);
    EXPECT_TRUE(QFile::exists(autre + QStringLiteral("/b.jpg")));
    EXPECT_EQ(Noms(), (QStringList{"c.jpg", "d.jpg"}));
    EXPECT_EQ(Copies(), (QList<bool>{false, true, false}));
}

// Delete files the selected images into the trash, as a click on its tile without Ctrl; a text
// being typed keeps the key, and an open dialog keeps it from the window.
TEST_F(ClassementTest, SupprSelectionSaisieEtDialogue) {
    const QString corbeille = env.Programme + QStringLiteral("/Corbeille");
    auto* liste = Controle<QListWidget>("ListBox1");
    liste->clearSelection();
    for (const int i : {1, 3})
        liste->item(i)->setSelected(true);
    MainForm->Affichage->NoteMultiSelection();
    Controle<QScrollBar>("ScrollBar1")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Controle<QScrollBar>("ScrollBar1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "c.jpg"}));
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files, QDir::Name), (QStringList{"b.jpg", "d.jpg"}));
    EXPECT_EQ(Copies(), (QList<bool>{false, false}));
    ASSERT_TRUE(AttendRepos());

    QLineEdit saisie(QStringLiteral("ab"), MainForm);
    saisie.show();
    saisie.setFocus();
    saisie.setCursorPosition(0);
    ASSERT_EQ(QApplication::focusWidget(), &saisie);
    QTest::keyClick(&saisie, Qt::Key_Delete);
    EXPECT_EQ(saisie.text(), QStringLiteral("b"));
    QTest::keyClick(&saisie, Qt::Key_1, Qt::ControlModifier);
    saisie.hide();

    QDialog dialogue(MainForm);
    dialogue.setModal(true);
    auto* bouton = new QPushButton(QStringLiteral("OK"), &dialogue);
    dialogue.show();
    bouton->setFocus();
    QTest::keyClick(bouton, Qt::Key_Delete);
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    dialogue.hide();
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "c.jpg"}));
    EXPECT_EQ(Etapes().size(), 2);
}

// Delete while the mouse holds a tile down: one filing, into the trash; the release files nothing.
TEST_F(ClassementTest, SupprPendantUnAppuiSurUneTuile) {
    const QPoint titre = Titre(Destination(1));
    QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
    QTest::keyClick(Controle<QScrollBar>("ScrollBar1"), Qt::Key_Delete);
    QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Etapes().size(), 1);
    EXPECT_EQ(QDir(env.Programme + QStringLiteral("/Corbeille")).entryList(QDir::Files),
              QStringList{"a.jpg"});
    EXPECT_TRUE(QDir(Destination(1)->Chemin).entryList(QDir::Files).isEmpty());
}

TEST_F(ClassementTest, SelectionClasseeDuPlusHautAuPlusBas) {
    auto* liste = Controle<QListWidget>("ListBox1");
    liste->clearSelection();
    for (const int i : {0, 2, 3})
        liste->item(i)->setSelected(true);
    MainForm->Affichage->NoteMultiSelection();
    Clic(Titre(Destination(2)), Titre(Destination(2)));
    EXPECT_EQ(Noms(), QStringList{"b.jpg"});
    EXPECT_EQ(QDir(autre).entryList(QDir::Files, QDir::Name), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
    ASSERT_EQ(Etapes().size(), 3);
    EXPECT_EQ(QList<int>({Etapes()[0].Index, Etapes()[1].Index, Etapes()[2].Index}), (QList<int>{3, 2, 0}));
    EXPECT_FALSE(MainForm->MultiSelection());
    EXPECT_EQ(Source()->IndexAffiche, 0);
    EXPECT_EQ(Destination(2)->ATraiter.size(), 3);
}

TEST_F(ClassementTest, EchecsSignalesSansRienPerdre) {
    // The destination's folder vanished, and a listed file was removed meanwhile.
    ASSERT_TRUE(QDir(cible).removeRecursively());
    Clic(Titre(Destination(1)), Titre(Destination(1)));
    ASSERT_EQ(avertissements.size(), 1);
    EXPECT_TRUE(avertissements[0].contains(QStringLiteral("a.jpg")));
    EXPECT_EQ(Source()->Fichiers.Count(), 4);
    EXPECT_TRUE(Etapes().isEmpty());
    EXPECT_TRUE(Destination(1)->ATraiter.isEmpty());

    ASSERT_TRUE(QFile::remove(env.Source + QStringLiteral("/c.jpg")));
    auto* liste = Controle<QListWidget>("ListBox1");
    liste->clearSelection();
    for (const int i : {1, 2})
        liste->item(i)->setSelected(true);
    MainForm->Affichage->NoteMultiSelection();
    Clic(Titre(Destination(2)), Titre(Destination(2)));
    ASSERT_EQ(avertissements.size(), 2);
    EXPECT_TRUE(avertissements[1].contains(QStringLiteral("c.jpg")));
    EXPECT_TRUE(QFile::exists(autre + QStringLiteral("/b.jpg")));
    EXPECT_EQ(Etapes().size(), 1);
    // The file that could not be filed stays listed.
    EXPECT_EQ(Source()->Fichiers.Count(), 3);
}

TEST_F(ClassementTest, RienQuandLaCorbeilleEstLaSource) {
    EcritImage(env.Programme + QStringLiteral("/Corbeille/z.jpg"));
    Config()->ChangeSource(env.Programme + QStringLiteral("/Corbeille"));
    Source()->Trie(TriNom);
    MainForm->RemplitListe();
    MainForm->Affichage->AfficheTout();
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(env.Programme + QStringLiteral("/Corbeille/z.jpg")));
    EXPECT_TRUE(Etapes().isEmpty());
}

TEST_F(ClassementTest, AnnulationsEnOrdreInverse) {
    // Nothing recorded: nothing happens.
    Controle<QAction>("Annulation1")->trigger();
    EXPECT_EQ(Noms().size(), 4);

    EcritImage(cible + QStringLiteral("/b.jpg")); // b.jpg will be filed as b1.jpg
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(AttendRepos());
        Source()->IndexDemande = 1; // always the second file
        MainForm->ArmeTimerCourantAff();
        ASSERT_TRUE(AttendRepos());
        Clic(Titre(Destination(1)), Titre(Destination(1)));
    }
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Noms(), QStringList{"a.jpg"});
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b1.jpg")));
    EXPECT_EQ(Destination(1)->ATraiter.size(), 3);

    for (const QStringList& attendu : {QStringList{"a.jpg", "d.jpg"}, QStringList{"a.jpg", "c.jpg", "d.jpg"},
                                       QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}}) {
        Controle<QAction>("Annulation1")->trigger();
        ASSERT_TRUE(AttendRepos());
        EXPECT_EQ(Noms(), attendu);
    }
    // Each came back at its old place in the list, under its old name.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Controle<QListWidget>("ListBox1")->item(i)->text(),
                  QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"})[i]);
    EXPECT_EQ(Source()->Fichiers.Element(1)->Nom, QByteArray("b.jpg"));
    EXPECT_EQ(Source()->Fichiers.Element(1)->Taille, QFileInfo(env.Source + QStringLiteral("/b.jpg")).size());
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    EXPECT_TRUE(Destination(1)->ATraiter.isEmpty());
    EXPECT_TRUE(Etapes().isEmpty());
}

TEST_F(ClassementTest, AnnulerApresSupprEtUneCopie) {
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    ASSERT_TRUE(AttendRepos());
    Clic(Titre(Destination(1)), Titre(Destination(1)), Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    // Undoing the copy deletes the copy and leaves the list alone.
    Controle<QAction>("Annulation1")->trigger();
    EXPECT_FALSE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    EXPECT_EQ(Source()->Fichiers.Count(), 3);
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_FALSE(QFile::exists(env.Programme + QStringLiteral("/Corbeille/a.jpg")));
    EXPECT_EQ(Noms().size(), 4);
    EXPECT_EQ(Source()->Fichiers.Count(), 4);
}

TEST_F(ClassementTest, AnnulationImpossibleNEcraseRien) {
    Clic(Titre(Destination(1)), Titre(Destination(1))); // a.jpg
    ASSERT_TRUE(AttendRepos());
    Clic(Titre(Destination(1)), Titre(Destination(1))); // b.jpg
    ASSERT_TRUE(AttendRepos());
    // Someone made a new b.jpg in the source: the filed one cannot come back over it.
    EcritFichier(QFile::encodeName(env.Source + QStringLiteral("/b.jpg")), "nouvelle");
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_EQ(avertissements.size(), 1);
    EXPECT_TRUE(avertissements[0].contains(QStringLiteral("b.jpg")));
    EXPECT_TRUE(QFile::exists(cible + QStringLiteral("/b.jpg")));
    QFile nouvelle(env.Source + QStringLiteral("/b.jpg"));
    ASSERT_TRUE(nouvelle.open(QIODevice::ReadOnly));
    EXPECT_EQ(nouvelle.readAll(), QByteArray("nouvelle"));
    // The entry is dropped: the older one can still be undone.
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_TRUE(Etapes().isEmpty());
}

TEST_F(ClassementTest, ViderLaCorbeilleDepuisLeMenu) {
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    ASSERT_TRUE(AttendRepos());
    const QString dansLaCorbeille = env.Programme + QStringLiteral("/Corbeille/a.jpg");
    ASSERT_TRUE(QFile::exists(dansLaCorbeille));
    QStringList questions;
    utilisateur.OkAnnuler = [&](const QString& q) {
        questions << q;
        return false;
    };
    Controle<QAction>("Viderlacorbeille1")->trigger();
    EXPECT_EQ(questions, QStringList{"Etes-vous sur de vouloir vider la corbeille ?"});
    EXPECT_TRUE(QFile::exists(dansLaCorbeille));

    utilisateur.OkAnnuler = [](const QString&) { return true; };
    Controle<QAction>("Viderlacorbeille1")->trigger();
    EXPECT_FALSE(QFile::exists(dansLaCorbeille));
    EXPECT_FALSE(FormProgress->isVisible());
    // Its undo step went with it, and the user is told once.
    EXPECT_EQ(avertissements, QStringList{MessageEtapesPerdues(1)});
    EXPECT_TRUE(Etapes().isEmpty());
}

// Renaming the destination's files from the tile menu: undo still brings the filed file back.
TEST_F(ClassementTest, RenommerLaDestinationPuisAnnuler) {
    Clic(Titre(Destination(1)), Titre(Destination(1))); // a.jpg
    ASSERT_TRUE(AttendRepos());
    dialogues.Texte = [](const QString&, const QString&, const QString&) -> std::optional<QString> {
        return QStringLiteral("Ete");
    };
    utilisateur.OkAnnuler = [](const QString&) { return true; };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Renommerlesfichiers1")->trigger();
    ASSERT_EQ(QDir(cible).entryList(QDir::Files), QStringList{"Ete0.jpg"});
    Controle<QAction>("Annulation1")->trigger();
    EXPECT_TRUE(avertissements.isEmpty()) << avertissements.join(u'\n').toStdString();
    EXPECT_EQ(Noms().size(), 4);
    EXPECT_TRUE(QDir(cible).isEmpty());
}
