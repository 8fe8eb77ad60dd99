#include "controles.h"
#include "core/app/chemins.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "programme.h"
#include "recherchesimulee.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/app/questionsfenetre.h"
#include "ui/app/trackbar.h"
#include "ui/config/preferences.h"
#include "ui/source/affichagesource.h"
#include "ui/source/nouvsource.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

// Choosing, scanning again and replacing the source, and the preferences, through the real
// windows with the dialogs answered by the test.
class SourceTest : public ProgrammeTest {
protected:
    void Ouvre(const QList<QStringList>& destinations = {}) {
        if (!destinations.isEmpty()) EcritConfiguration(destinations);
        Demarre();
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    // The dialog is shown for real; the action runs once it is up, as a user would act.
    void PendantLeDialogue(const std::function<void(QDialog&)>& action) {
        dialogues.Modal = [action](QDialog& dialogue) {
            QTimer::singleShot(0, &dialogue, [&dialogue, action] {
                ASSERT_TRUE(AttendQue([&] { return dialogue.isVisible(); }, 2000));
                action(dialogue);
                // Whatever the action did, the dialog does not stay open.
                if (dialogue.isVisible()) dialogue.reject();
            });
            return dialogue.exec();
        };
    }
    static QStringList Liste() {
        QStringList noms;
        for (int i = 0; i < Controle<QListWidget>("ListBox1")->count(); ++i)
            noms << Controle<QListWidget>("ListBox1")->item(i)->text();
        return noms;
    }
    static QString Statut(int panneau) {
        return Controle<QLabel>(QStringLiteral("PanneauStatut%1").arg(panneau))->text();
    }
    static QTreeView* Arbre() { return ControleDe<QTreeView>(*FormNouvSource, "DirectoryListBox1"); }
    // The row of the tree that shows that folder, once the tree has read it.
    static QModelIndex LigneDe(const QString& dossier) {
        QModelIndex trouve;
        AttendQue(
            [&] {
                const auto* filtre = Arbre()->model();
                const QModelIndex courant = Arbre()->currentIndex();
                for (int i = 0; i < filtre->rowCount(courant); ++i) {
                    const QModelIndex ligne = filtre->index(i, 0, courant);
                    if (ligne.data(QFileSystemModel::FilePathRole).toString() == dossier) trouve = ligne;
                }
                return trouve.isValid();
            },
            3000);
        return trouve;
    }
    QString DossierAvecImages(const QString& nom, const QStringList& images) {
        const QString dossier = env.Dossier(nom);
        for (const QString& image : images)
            EcritImage(dossier + u'/' + image);
        return dossier;
    }
};

TEST_F(SourceTest, ChoisirAuClavierPuisALaSourisPuisLeMemeDossier) {
    Ouvre();
    const QString photos = DossierAvecImages(QStringLiteral("maison/Photos"), {"z.jpg", "m.gif", "a.bmp"});
    bool focaliseSurLArbre = false;
    PendantLeDialogue([&](QDialog&) {
        // The chooser opens on the current source, the keyboard in its tree.
        focaliseSurLArbre = FormNouvSource->focusWidget() == Arbre();
        EXPECT_EQ(FormNouvSource->Dossier(), env.Source);
        ASSERT_TRUE(LigneDe(photos).isValid());
        QTest::keyClick(Arbre(), Qt::Key_Down);
        QTest::keyClick(Arbre(), Qt::Key_Return);
    });
    Controle<QAction>("Parcourir1")->trigger();
    EXPECT_TRUE(focaliseSurLArbre);
    EXPECT_EQ(Config()->SourcePath, photos);
    EXPECT_EQ(Liste(), (QStringList{"a.bmp", "m.gif", "z.jpg"}));
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Statut(3), photos + QStringLiteral("/a.bmp"));

    // With the mouse, from the folder above; then the same folder again is scanned again.
    PendantLeDialogue([&](QDialog&) {
        // Left closes the folder, then goes up to the one above.
        for (int fois = 0; fois < 2 && FormNouvSource->Dossier() == photos; ++fois)
            QTest::keyClick(Arbre(), Qt::Key_Left);
        ASSERT_EQ(FormNouvSource->Dossier(), env.Source);
        const QModelIndex ligne = LigneDe(photos);
        ASSERT_TRUE(ligne.isValid());
        Arbre()->scrollTo(ligne);
        QTest::mouseClick(Arbre()->viewport(), Qt::LeftButton, {}, Arbre()->visualRect(ligne).center());
        QTest::mouseClick(ControleDe<QPushButton>(*FormNouvSource, "BitBtn2"), Qt::LeftButton);
    });
    EcritImage(photos + QStringLiteral("/0.jpg"));
    Controle<QAction>("Parcourir1")->trigger();
    EXPECT_EQ(Config()->SourcePath, photos);
    EXPECT_EQ(Liste(), (QStringList{"0.jpg", "a.bmp", "m.gif", "z.jpg"}));

    // Escape cancels: nothing changes.
    PendantLeDialogue([](QDialog&) { QTest::keyClick(Arbre(), Qt::Key_Escape); });
    Controle<QAction>("Parcourir1")->trigger();
    EXPECT_EQ(Config()->SourcePath, photos);
    EXPECT_EQ(Liste().size(), 4);
}

TEST_F(SourceTest, AnnulerArreteLaRechercheEtUneSourceDisparueDevientLeDossierPersonnel) {
    Ouvre();
    const QString partie = DossierAvecImages(QStringLiteral("partie"), {"x.jpg"});
    MainForm->ChargeSource(partie);
    ASSERT_TRUE(QDir(partie).removeRecursively());
    // A stand-in for the search thread: it runs until asked to stop. The window owns it.
    auto* recherche = new TRechercheSimulee(MainForm->Session().Occupe);
    recherche->start();
    MainForm->Session().TacheRecherche = recherche;
    QString montre;
    PendantLeDialogue([&](QDialog&) {
        montre = FormNouvSource->Dossier();
        ControleDe<QPushButton>(*FormNouvSource, "BitBtn1")->click();
    });
    Controle<QAction>("Parcourir1")->trigger();
    EXPECT_TRUE(recherche->wait(5000));
    EXPECT_EQ(montre, env.Source);
    EXPECT_EQ(Config()->SourcePath, env.Source);
    // Cancelled: the list is still the one of the folder that went.
    EXPECT_EQ(Liste(), QStringList{"x.jpg"});
    // A folder that vanished is not shown; the chooser keeps the one it had.
    EXPECT_FALSE(FormNouvSource->FixeDossier(partie));
    EXPECT_EQ(FormNouvSource->Dossier(), env.Source);
}

TEST_F(SourceTest, ChoisirUnVolumeMontreSesDossiers) {
    Ouvre();
    QComboBox* volumes = ControleDe<QComboBox>(*FormNouvSource, "DriveComboBox1");
    ASSERT_GE(volumes->currentIndex(), 0);
    const QString volume = volumes->currentData().toString();
    EXPECT_TRUE(env.Source.startsWith(volume));
    emit volumes->activated(volumes->currentIndex());
    EXPECT_EQ(FormNouvSource->Dossier(), Chemins::SansSeparateurFinal(volume));
    // The tree holds that volume alone, at its top.
    const QAbstractItemModel* arbre = Arbre()->model();
    ASSERT_EQ(arbre->rowCount(Arbre()->rootIndex()), 1);
    EXPECT_EQ(arbre->index(0, 0, Arbre()->rootIndex()).data(QFileSystemModel::FilePathRole).toString(),
              volume);

    // A folder reached through a link is shown, and chosen, by the path given.
    const QString lien = env.Racine() + QStringLiteral("/lien-vers-maison");
    ASSERT_TRUE(QFile::link(env.Source, lien));
    ASSERT_TRUE(FormNouvSource->FixeDossier(lien + u'/'));
    EXPECT_TRUE(Arbre()->currentIndex().isValid());
    EXPECT_EQ(FormNouvSource->Dossier(), lien);
}

TEST_F(SourceTest, RafraichirListeLesFichiersAjoutesEtGardeLeFichierCourant) {
    Ouvre();
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendRepos());
    ASSERT_EQ(Source()->IndexAffiche, 1);
    EcritImage(env.Source + QStringLiteral("/0-nouvelle.jpg"));
    EcritImage(env.Source + QStringLiteral("/bb.gif"));
    ASSERT_TRUE(QFile::remove(env.Source + QStringLiteral("/c.jpg")));
    Controle<QToolButton>("ToolButton2")->click();
    EXPECT_EQ(Liste(), (QStringList{"0-nouvelle.jpg", "A.gif", "b.bmp", "bb.gif"}));
    ASSERT_TRUE(AttendRepos());
    // The file shown stays current, where the name order now puts it.
    EXPECT_EQ(Source()->IndexAffiche, 2);
    EXPECT_EQ(Statut(3), env.Source + QStringLiteral("/b.bmp"));
    EXPECT_EQ(Statut(0), QStringLiteral("3/4"));
    EXPECT_TRUE(Controle<QListWidget>("ListBox1")->item(2)->isSelected());

    // Gone since: back to the first file.
    ASSERT_TRUE(QFile::remove(env.Source + QStringLiteral("/b.bmp")));
    Controle<QAction>("Rafraichir1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Source()->IndexAffiche, 0);
    EXPECT_EQ(Statut(3), env.Source + QStringLiteral("/0-nouvelle.jpg"));
    EXPECT_EQ(Statut(0), QStringLiteral("1/3"));
}

TEST_F(SourceTest, UneDestinationPriseCommeSourceDevientInactiveAussitot) {
    const QString plage = DossierAvecImages(QStringLiteral("Plage"), {"p1.jpg", "p2.jpg"});
    Ouvre({Enregistrement(QStringLiteral("Plage"), plage)});
    TDestination* d = Config()->Destinations.Element(1);
    ASSERT_TRUE(d->Active);
    const QImage active = Controle<TImage>("ImageDestination")->Image();

    Controle<QMenu>("PopupMenu2")->setProperty("Tag", d->Rang);
    Controle<QAction>("Slectionnercettedestinationcommesource1")->trigger();
    EXPECT_EQ(Config()->SourcePath, plage);
    EXPECT_EQ(Liste(), (QStringList{"p1.jpg", "p2.jpg"}));
    EXPECT_FALSE(d->Active);
    // Its tile is drawn inactive at once.
    EXPECT_NE(Controle<TImage>("ImageDestination")->Image(), active);

    PendantLeDialogue([&](QDialog&) {
        ASSERT_TRUE(FormNouvSource->FixeDossier(env.Source));
        QTest::keyClick(Arbre(), Qt::Key_Return);
    });
    Controle<QAction>("Parcourir1")->trigger();
    EXPECT_EQ(Config()->SourcePath, env.Source);
    EXPECT_TRUE(d->Active);
    EXPECT_EQ(Controle<TImage>("ImageDestination")->Image(), active);
}

TEST_F(SourceTest, AnnulerUnClassementDUneAncienneSource) {
    const QString album = env.Dossier(QStringLiteral("Album"));
    Ouvre({Enregistrement(QStringLiteral("Album"), album)});
    MainForm->Classe(*Config()->Destinations.Element(1), false);
    ASSERT_TRUE(AttendRepos());
    ASSERT_TRUE(QFile::exists(album + QStringLiteral("/A.gif")));
    const QString autre = DossierAvecImages(QStringLiteral("autre"), {"o.jpg"});
    MainForm->ChargeSource(autre);

    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    // The file is back in its own folder, and the list still holds only this folder's files.
    EXPECT_TRUE(QFile::exists(env.Source + QStringLiteral("/A.gif")));
    EXPECT_FALSE(QFile::exists(album + QStringLiteral("/A.gif")));
    EXPECT_EQ(Liste(), QStringList{"o.jpg"});
    EXPECT_EQ(Source()->Fichiers.Count(), 1);
}

TEST_F(SourceTest, ClicDroitDansLaListeGardeLaSelection) {
    Ouvre();
    auto* liste = Controle<QListWidget>("ListBox1");
    const QPoint surSelectionnee = liste->visualItemRect(liste->item(0)).center();
    const QPoint surAutre = liste->visualItemRect(liste->item(2)).center();
    for (const QPoint point : {surAutre, surSelectionnee}) {
        QTest::mouseClick(liste->viewport(), Qt::RightButton, {}, point);
        EXPECT_EQ(liste->selectedItems().size(), 1);
        EXPECT_TRUE(liste->item(0)->isSelected());
        EXPECT_FALSE(Controle<QTimer>("TimerCourantAff")->isActive());
        EXPECT_EQ(Source()->IndexDemande, 0);
    }
    // Through the window, as the system delivers it, the press still opens the sort menu.
    QWindow* fenetre = MainForm->windowHandle();
    QTest::mouseClick(fenetre, Qt::RightButton, {}, liste->viewport()->mapTo(MainForm, surAutre));
    EXPECT_TRUE(AttendQue([] { return Controle<QMenu>("PopupMenuTri")->isVisible(); }, 2000));
    Controle<QMenu>("PopupMenuTri")->hide();
    EXPECT_TRUE(liste->item(0)->isSelected());
    EXPECT_FALSE(liste->item(2)->isSelected());
    EXPECT_EQ(Source()->IndexAffiche, 0);
}

TEST_F(SourceTest, BarreDEtatEntiere) {
    const QString nom = QStringLiteral("une-photo-de-vacances-au-bord-de-la-mer-en-juillet.jpg");
    EcritImage(env.Source + u'/' + nom, 3088, 2056);
    Demarre({});
    Affiche();
    MainForm->resize(1600, 900);
    ASSERT_TRUE(AttendRepos());
    QLabel* taille = Controle<QLabel>("PanneauStatut1");
    QLabel* chemin = Controle<QLabel>("PanneauStatut3");
    EXPECT_EQ(taille->text(), QStringLiteral("3088x2056"));
    EXPECT_LE(taille->fontMetrics().horizontalAdvance(QStringLiteral("20000x20000")),
              taille->contentsRect().width());
    // The path panel reaches the end of the bar and shows the whole path.
    EXPECT_EQ(chemin->text(), env.Source + u'/' + nom);
    EXPECT_GE(chemin->geometry().right(), Controle<QStatusBar>("StatusBarCourant")->width() - 8);
    EXPECT_LE(chemin->fontMetrics().horizontalAdvance(chemin->text()), chemin->contentsRect().width());
    // A long path never widens the window.
    MainForm->resize(640, 480);
    QCoreApplication::processEvents();
    EXPECT_LE(MainForm->width(), 640);
}

TEST_F(SourceTest, PreferencesArrondiesParOKJusquAuFichier) {
    Ouvre();
    TTrackBar* barre = ControleDe<TTrackBar>(*FormPreference, "TrackBar1");
    EXPECT_EQ(barre->maximum(), 30);
    EXPECT_EQ(std::make_pair(barre->SelStart(), barre->SelEnd()), std::make_pair(13, 17));
    // The labels stand under both ends and the middle.
    const auto sous = [barre](const QLabel* libelle, int position) {
        const int x = barre->x() + barre->CentreDe(position);
        return libelle->geometry().left() <= x && x <= libelle->geometry().right() &&
               libelle->y() > barre->y();
    };
    EXPECT_TRUE(sous(ControleDe<QLabel>(*FormPreference, "Label3"), 0) &&
                sous(ControleDe<QLabel>(*FormPreference, "Label2"), 15) &&
                sous(ControleDe<QLabel>(*FormPreference, "Label1"), 30));

    // A value between two positions shows the lower one; Cancel after moving the thumb keeps it
    // exactly, OK alone rounds it down.
    Config()->Sensibilite = 123456;
    int montree = -1;
    PendantLeDialogue([&](QDialog&) {
        montree = barre->value();
        barre->setValue(25);
        ControleDe<QPushButton>(*FormPreference, "BitBtn2")->click();
    });
    Controle<QAction>("Prfrences1")->trigger();
    EXPECT_EQ(montree, 12);
    EXPECT_EQ(Config()->Sensibilite, 123456);
    PendantLeDialogue([&](QDialog&) { ControleDe<QPushButton>(*FormPreference, "BitBtn1")->click(); });
    Controle<QAction>("Prfrences1")->trigger();
    EXPECT_EQ(Config()->Sensibilite, 120000);

    // With the keyboard: two steps right, the hints turned off, Return.
    auto indiceDeLaTuile = [x = 30]() mutable {
        QTest::mouseMove(Controle<TImage>("ImageDestination"), QPoint(++x, 10));
        return Controle<TImage>("ImageDestination")->toolTip();
    };
    EXPECT_FALSE(indiceDeLaTuile().isEmpty());
    PendantLeDialogue([barre](QDialog&) {
        barre->setFocus();
        QTest::keyClick(barre, Qt::Key_Right);
        QTest::keyClick(barre, Qt::Key_Right);
        ControleDe<QCheckBox>(*FormPreference, "CheckBox1")->setFocus();
        QTest::keyClick(ControleDe<QCheckBox>(*FormPreference, "CheckBox1"), Qt::Key_Space);
        QTest::keyClick(ControleDe<QCheckBox>(*FormPreference, "CheckBox1"), Qt::Key_Return);
    });
    Controle<QAction>("Prfrences1")->trigger();
    EXPECT_EQ(Config()->Sensibilite, 140000);
    // The tiles lose their hints at the next move over them.
    EXPECT_TRUE(indiceDeLaTuile().isEmpty());
    Controle<QAction>("Quit1")->trigger();
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(env.Programme + QStringLiteral("/Mirasolve.ini"), lignes));
    EXPECT_TRUE(lignes.contains(QStringLiteral("Sensibilite=140000")));
    EXPECT_TRUE(lignes.contains(QStringLiteral("Bullesaide=1")));
}

TEST_F(SourceTest, QuestionDeLaCorbeilleDansLOrdreOuiNonTout) {
    Ouvre();
    QStringList boutons;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(
            AttendQue([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }, 2000));
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QList<QAbstractButton*> liste = boite->buttons();
        std::sort(liste.begin(), liste.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (const QAbstractButton* bouton : liste)
            boutons << bouton->text();
        QTest::keyClick(boite, Qt::Key_Escape);
    });
    // Escape answers no.
    TQuestionsFenetre fenetre(MainForm);
    EXPECT_EQ(fenetre.DemandeOuiNonTout(QStringLiteral("Le fichier est en lecture seule")),
              ReponseOuiNonTout::Non);
    EXPECT_EQ(boutons, (QStringList{"&Oui", "&Non", "&Tout"}));
}
