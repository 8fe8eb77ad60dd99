#include "controles.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "core/source/ajusteimage.h"
#include "programme.h"
#include "ui/app/fenetre.h"
#include "ui/app/imagecontrole.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/duplicates/gestmini.h"
#include "ui/source/pleinecran.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

namespace {

// Two destinations, P and Q, whose pairs name images of P; the trash already holds a b.jpg and a
// b.jpg1.
class RevueTest : public ProgrammeTest {
protected:
    void SetUp() override {
        p = env.Dossier(QStringLiteral("P"));
        q = env.Dossier(QStringLiteral("Q"));
        for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", "e.jpg"})
            EcritImage(p + u'/' + QLatin1String(nom));
        EcritImage(q + QStringLiteral("/d.jpg"));
        EcritConfiguration({Enregistrement("P", p), Enregistrement("Q", q)});
        Demarre();
        corbeille = Config()->Destinations.Element(0)->Chemin;
        EcritFichier(QFile::encodeName(corbeille + QStringLiteral("/b.jpg")), "ancienne");
        EcritFichier(QFile::encodeName(corbeille + QStringLiteral("/b.jpg1")), "plus ancienne");
        Affiche();
        Controle<QTimer>("Timer2")->stop();
    }
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    QString Ligne(int d, const char* un, const char* deux) const {
        return QStringLiteral("%1*%2/%3*%2/%4*")
            .arg(d, 10, 10, QChar(u'0'))
            .arg(p, QLatin1String(un), QLatin1String(deux));
    }
    static int Rangees() {
        return ControleDe<QTableView>(*FormDedoublone, "StringGrid1")->model()->rowCount();
    }
    static QStringList Colonne(int c) {
        QStringList textes;
        for (int r = 1; r <= Rangees(); ++r)
            textes << FormDedoublone->Cellule(r, c);
        return textes;
    }
    // The review opened by a click on P's counter; the action runs once the window is up.
    void Revoit(const std::function<void()>& action) {
        dialogues.Modal = [this, action](QDialog& dialogue) {
            montres << dialogue.objectName();
            QTimer::singleShot(0, &dialogue, [&dialogue, action] {
                ASSERT_TRUE(AttendQue([&] { return dialogue.isVisible(); }, 2000));
                ASSERT_TRUE(AttendQue([] { return !FormDedoublone->ChargementEnCours(); }, 5000));
                action();
                if (dialogue.isVisible()) dialogue.reject();
            });
            return dialogue.exec();
        };
        TDestination* d = Destination(1);
        const QPoint compteur(Controle<TImage>("ImageDestination")->width() - 10, d->TuileY + 8);
        QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, compteur);
        QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, compteur);
    }
    static void ChoisitRangees(int premiere, int derniere) {
        QAbstractItemModel* modele = ControleDe<QTableView>(*FormDedoublone, "StringGrid1")->model();
        ControleDe<QTableView>(*FormDedoublone, "StringGrid1")
            ->setCurrentIndex(modele->index(premiere - 1, 0));
        ControleDe<QTableView>(*FormDedoublone, "StringGrid1")
            ->selectionModel()
            ->select(QItemSelection(modele->index(premiere - 1, 0), modele->index(derniere - 1, 2)),
                     QItemSelectionModel::ClearAndSelect);
    }

    QString p, q, corbeille;
    QStringList montres;
};

} // namespace

TEST_F(RevueTest, EffacerUneImageEtGarderLesDeux) {
    Destination(1)->AjouteSignature(
        std::make_shared<Tminiature>(),
        {Ligne(0, "b.jpg", "a.jpg"), Ligne(150000, "c.jpg", "b.jpg"), Ligne(300001, "c.jpg", "a.jpg")});
    auto signatureDeB = std::make_shared<Tminiature>();
    signatureDeB->Fichier = p + QStringLiteral("/b.jpg");
    Destination(1)->AjouteSignature(signatureDeB, {});
    Destination(2)->AjouteSignature(std::make_shared<Tminiature>(),
                                    {QStringLiteral("0000000100*%1/d.jpg*%2/b.jpg*").arg(q, p)});
    bool fermeeSeule = false;
    Revoit([&] {
        EXPECT_EQ(ControleDe<QGroupBox>(*FormDedoublone, "GroupBoxList")->title(),
                  QStringLiteral("Liste des images en double (3)"));
        EXPECT_EQ(Colonne(2), (QStringList{"100.00 %", " 50.00 %", "  0.00 %"}));
        // The first pair shown, each side with its size and its path.
        EXPECT_EQ(ControleDe<TImage>(*FormDedoublone, "Image1")->TailleNaturelle(), QSize(32, 24));
        EXPECT_EQ(ControleDe<QLabel>(*FormDedoublone, "Panneaux1_0")->text(), QStringLiteral("32x24"));
        EXPECT_EQ(ControleDe<QLabel>(*FormDedoublone, "Panneaux2_1")->text(), FormDedoublone->Cellule(1, 1));
        // The hint over a cell is the whole path; a click on a picture shows it full screen.
        QWidget* grille = ControleDe<QTableView>(*FormDedoublone, "StringGrid1")->viewport();
        const QPoint caseA =
            ControleDe<QTableView>(*FormDedoublone, "StringGrid1")
                ->visualRect(ControleDe<QTableView>(*FormDedoublone, "StringGrid1")->model()->index(0, 0))
                .center();
        QMouseEvent survol(QEvent::MouseMove, caseA, grille->mapToGlobal(caseA), Qt::NoButton, Qt::NoButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(grille, &survol);
        EXPECT_EQ(Indice(ControleDe<QTableView>(*FormDedoublone, "StringGrid1")),
                  p + QStringLiteral("/b.jpg"));
        QTest::mouseClick(ControleDe<TImage>(*FormDedoublone, "Image1"), Qt::LeftButton);
        EXPECT_TRUE(FormPleinEcran->isVisible());
        EXPECT_EQ(ControleDe<TImage>(*FormPleinEcran, "Image1")->TailleNaturelle(), QSize(32, 24));
        FormPleinEcran->hide();
        // Image 1 of the first pair, b.jpg, goes: its two pairs here and Q's leave with it.
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(ControleDe<QGroupBox>(*FormDedoublone, "GroupBoxList")->title(),
                  QStringLiteral("Liste des images en double (1)"));
        // The main window follows at once: its total, and its tiles as drawn again from the counts.
        EXPECT_EQ(Controle<QLabel>("StaticDoublons")->text(), QStringLiteral("1 images en double"));
        const QImage tuiles = Controle<TImage>("ImageDestination")->Image();
        MainForm->RafraichisListeDestinations();
        EXPECT_TRUE(Controle<TImage>("ImageDestination")->Image() == tuiles);
        ASSERT_EQ(Rangees(), 1);
        EXPECT_EQ(Colonne(2), QStringList{"  0.00 %"});
        // Both kept: the last pair goes, and the window closes.
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn3"), Qt::LeftButton);
        fermeeSeule = !FormDedoublone->isVisible();
    });
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormDedoublone")});
    EXPECT_TRUE(fermeeSeule);
    EXPECT_TRUE(Destination(1)->CopieDoublons().isEmpty());
    EXPECT_TRUE(Destination(2)->CopieDoublons().isEmpty());
    EXPECT_EQ(Destination(1)->Comptes().Signatures, 1);
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
    // On disk: b.jpg in the trash under its name, the one there before under the next free number.
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("/b.jpg")));
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files, QDir::Name), (QStringList{"b.jpg", "b.jpg1", "b.jpg2"}));
    EXPECT_EQ(QDir(p).entryList(QDir::Files, QDir::Name), (QStringList{"a.jpg", "c.jpg", "e.jpg"}));
    EXPECT_TRUE(QFile::exists(q + QStringLiteral("/d.jpg")));
    // The store written after the window has closed holds what the window left.
    ASSERT_TRUE(Destination(1)->SauveSignatures());
    TListeDoublons relue(p);
    QStringList lignesRelues;
    TMagasinSignatures(Config()->ContexteDestinations.DossierSignatures()).Charge(p, relue, lignesRelues);
    EXPECT_TRUE(lignesRelues.isEmpty());
}

// The source's c.jpg went to the trash; the review then sends P's own c.jpg there, and the trash
// puts the first one aside as c.jpg1: undo still brings back the source's file.
TEST_F(RevueTest, LAnnulationSuitLeFichierEcarteParLaCorbeille) {
    EcritImage(p + QStringLiteral("/c.jpg"), 40, 30);
    const qint64 deLaSource = QFileInfo(env.Source + QStringLiteral("/c.jpg")).size();
    const qint64 deP = QFileInfo(p + QStringLiteral("/c.jpg")).size();
    ASSERT_NE(deLaSource, deP);
    const QList<QListWidgetItem*> c =
        Controle<QListWidget>("ListBox1")->findItems(QStringLiteral("c.jpg"), Qt::MatchExactly);
    ASSERT_EQ(c.size(), 1);
    Controle<QListWidget>("ListBox1")->clearSelection();
    c.front()->setSelected(true);
    MainForm->Affichage->NoteMultiSelection();
    MainForm->Classe(*Destination(0), false);
    Destination(1)->AjouteSignature(std::make_shared<Tminiature>(), {Ligne(1, "c.jpg", "a.jpg")});
    Revoit([] { QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn1"), Qt::LeftButton); });
    // The deletion first: P's c.jpg back into P, to be signed again, not into the source list.
    const int sources = Controle<QListWidget>("ListBox1")->count();
    MainForm->Annulation1Click();
    EXPECT_EQ(QFileInfo(p + QStringLiteral("/c.jpg")).size(), deP);
    EXPECT_TRUE(Destination(1)->ATraiter.contains(p + QStringLiteral("/c.jpg")));
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), sources);
    // Then the filing, from where the trash put it.
    MainForm->Annulation1Click();
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty());
    EXPECT_EQ(QFileInfo(env.Source + QStringLiteral("/c.jpg")).size(), deLaSource);
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files), (QStringList{"b.jpg", "b.jpg1"}));
}

TEST_F(RevueTest, SelectionDePlusieursLignesEtCorbeilleAbsente) {
    Destination(1)->AjouteSignature(
        std::make_shared<Tminiature>(),
        {Ligne(1, "a.jpg", "e.jpg"), Ligne(2, "b.jpg", "e.jpg"), Ligne(3, "c.jpg", "a.jpg")});
    QStringList questions;
    bool accord = false;
    utilisateur.OkAnnuler = [&](const QString& question) {
        questions << question;
        return accord;
    };
    Revoit([&] {
        ChoisitRangees(1, 2);
        // Both deleted with two rows chosen: nothing.
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn4"), Qt::LeftButton);
        EXPECT_EQ(Rangees(), 3);
        // Image 2 of both rows is e.jpg: asked once, cancelled, then deleted once.
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn2"), Qt::LeftButton);
        EXPECT_EQ(Rangees(), 3);
        accord = true;
        ChoisitRangees(1, 2);
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn2"), Qt::LeftButton);
        ASSERT_EQ(Rangees(), 1);
        // The trash gone: the move fails, the row and the file stay, and the user is told.
        ASSERT_TRUE(QDir(corbeille).removeRecursively());
        ChoisitRangees(1, 1);
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(Rangees(), 1);
    });
    EXPECT_EQ(questions,
              (QStringList(2, "Etes-vous sur de vouloir effacer toutes les images 2 de la sélection ?")));
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("/e.jpg")));
    EXPECT_TRUE(QFile::exists(p + QStringLiteral("/c.jpg")));
    ASSERT_EQ(utilisateur.Avertissements.size(), 1);
    EXPECT_TRUE(utilisateur.Avertissements.front().contains(p + QStringLiteral("/c.jpg")));
    EXPECT_EQ(Destination(1)->CopieDoublons(), QStringList{Ligne(3, "c.jpg", "a.jpg")});
}

TEST_F(RevueTest, PairesDeFichiersDisparusNeMontrentRien) {
    Destination(1)->AjouteSignature(std::make_shared<Tminiature>(), {Ligne(1, "x.jpg", "a.jpg")});
    Revoit([] {});
    EXPECT_TRUE(montres.isEmpty());
    EXPECT_TRUE(Destination(1)->CopieDoublons().isEmpty());
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
}

TEST_F(RevueTest, GestionnaireDeSignatures) {
    // P saved with its signatures; Q open with nothing signed yet; a folder never opened here.
    auto signature = std::make_shared<Tminiature>();
    signature->Fichier = p + QStringLiteral("/a.jpg");
    Destination(1)->AjouteSignature(signature, {Ligne(1, "a.jpg", "b.jpg")});
    ASSERT_TRUE(Destination(1)->SauveSignatures());
    TListeDoublons ailleurs(env.Dossier(QStringLiteral("Ailleurs")));
    const QString dossierSignatures = Config()->ContexteDestinations.DossierSignatures();
    ASSERT_TRUE(TMagasinSignatures(dossierSignatures).Sauve(ailleurs, {}));
    QStringList lignes;
    QList<bool> ouvertes;
    utilisateur.OkAnnuler = [](const QString&) { return true; };
    QStringList questions;
    dialogues.Modal = [&](QDialog& dialogue) {
        dialogue.show();
        QTreeWidget* arbre = ControleDe<QTreeWidget>(*FormMiniatures, "TreeView1");
        for (int i = 0; i < arbre->topLevelItemCount(); ++i) {
            QTreeWidgetItem* dossier = arbre->topLevelItem(i);
            lignes << dossier->text(0);
            for (int k = 0; k < dossier->childCount(); ++k)
                lignes << dossier->child(k)->text(0);
            ouvertes << (dossier->icon(0).pixmap(16).toImage() ==
                         MainForm->ImageList4.Icone(27).pixmap(16).toImage());
        }
        // A right click on a child line does nothing; on a folder, it erases after the question:
        // an open destination's line stays, with what its lists hold now.
        utilisateur.OkAnnuler = [&](const QString& question) {
            questions << question;
            return true;
        };
        FormMiniatures->TreeView1MouseUp(Qt::RightButton, arbre->topLevelItem(0)->child(0));
        FormMiniatures->TreeView1MouseUp(Qt::LeftButton, arbre->topLevelItem(0));
        FormMiniatures->TreeView1MouseUp(Qt::RightButton, arbre->topLevelItem(0));
        FormMiniatures->TreeView1MouseUp(Qt::RightButton, arbre->topLevelItem(1));
        EXPECT_EQ(arbre->topLevelItemCount(), 2);
        EXPECT_EQ(arbre->topLevelItem(0)->child(0)->text(0), QStringLiteral("Signatures : 0"));
        dialogue.hide();
        return int(QDialog::Accepted);
    };
    Controle<QAction>("GestiondeSignatures1")->trigger();
    ASSERT_EQ(lignes.size(), 15);
    EXPECT_EQ(lignes.mid(0, 4), (QStringList{p, "Signatures : 1", "Erronés : 0", "Images en double : 1"}));
    EXPECT_TRUE(lignes[4].startsWith(QStringLiteral("Date : ")) && lignes[4].size() > 7);
    EXPECT_EQ(lignes.mid(5, 5), (QStringList{ailleurs.Dossier, "Signatures : 0", "Erronés : 0",
                                             "Images en double : 0", "Date : "}));
    EXPECT_EQ(lignes.mid(10, 4), (QStringList{q, "Signatures : 0", "Erronés : 0", "Images en double : 0"}));
    EXPECT_EQ(ouvertes, (QList<bool>{true, false, true}));
    const QString question = QStringLiteral("Voulez-vous effacer les signatures du dossier '");
    EXPECT_EQ(questions, (QStringList{question + p + u'\'', question + ailleurs.Dossier + u'\''}));
    TMagasinSignatures magasin(dossierSignatures);
    EXPECT_TRUE(magasin.NomDeBase(p).isEmpty());
    EXPECT_TRUE(magasin.NomDeBase(ailleurs.Dossier).isEmpty());
    // The open destination forgot what was erased, its four images to be signed anew: its next
    // save does not bring the erased signatures back.
    const TDestination::TComptes comptes = Destination(1)->Comptes();
    EXPECT_EQ(comptes.Signatures + comptes.Doublons, 0);
    EXPECT_EQ(comptes.ATraiter, 4);
    ASSERT_TRUE(Destination(1)->SauveSignatures());
    EXPECT_EQ(magasin.Inventaire().back().Dossier, p);
    EXPECT_EQ(magasin.Inventaire().back().Signatures + magasin.Inventaire().back().Doublons, 0);
    // Midnight shows the date alone.
    const QDateTime minuit(QDate(2026, 3, 4), QTime(0, 0));
    EXPECT_EQ(DateDuMagasin(minuit), QLocale().toString(minuit.date(), QLocale::ShortFormat));
    EXPECT_TRUE(DateDuMagasin({}).isEmpty());
}

TEST_F(RevueTest, UneLigneQuiAPerduUneImageEstSautee) {
    // Rows (a, e) and (c, a): deleting image 1 of both deletes a.jpg, and the second row goes with it.
    Destination(1)->AjouteSignature(std::make_shared<Tminiature>(),
                                    {Ligne(1, "a.jpg", "e.jpg"), Ligne(2, "c.jpg", "a.jpg")});
    utilisateur.OkAnnuler = [](const QString&) { return true; };
    Revoit([&] {
        ChoisitRangees(1, 2);
        QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn1"), Qt::LeftButton);
    });
    EXPECT_EQ(QDir(p).entryList(QDir::Files, QDir::Name), (QStringList{"b.jpg", "c.jpg", "e.jpg"}));
}

TEST_F(RevueTest, ParcourirLesLignesNEmpileAucuneLecture) {
    // Thirty pairs whose images' sizes tell their row; the down arrow held over all of them.
    QStringList lignes;
    for (int i = 0; i < 30; ++i) {
        EcritImage(p + QStringLiteral("/u%1.jpg").arg(i), 400 + i, 300);
        EcritImage(p + QStringLiteral("/d%1.jpg").arg(i), 300, 200 + i);
        lignes << Ligne(i, qPrintable(QStringLiteral("u%1.jpg").arg(i)),
                        qPrintable(QStringLiteral("d%1.jpg").arg(i)));
    }
    Destination(1)->AjouteSignature(std::make_shared<Tminiature>(), lignes);
    int auPlus = 0;
    Revoit([&] {
        for (int r = 1; r < 30; ++r) {
            QTest::keyClick(ControleDe<QTableView>(*FormDedoublone, "StringGrid1"), Qt::Key_Down);
            auPlus =
                std::max({auPlus, FormDedoublone->LecturesEnCours(1), FormDedoublone->LecturesEnCours(2)});
        }
        ASSERT_TRUE(AttendQue([] { return !FormDedoublone->ChargementEnCours(); }, 10000));
        EXPECT_EQ(ControleDe<TImage>(*FormDedoublone, "Image1")->TailleNaturelle(), QSize(429, 300));
        EXPECT_EQ(ControleDe<QLabel>(*FormDedoublone, "Panneaux2_0")->text(), QStringLiteral("300x229"));
    });
    // One picture read and one waiting, at most, on each side.
    EXPECT_LE(auPlus, 2);
}

// A photo larger than its box, full screen from the review: read for the screen; closed by a click,
// then by Escape, back to the review, which takes clicks again.
TEST_F(RevueTest, PleinEcranDepuisLaRevue) {
    EcritImage(p + QStringLiteral("/grande.jpg"), 2000, 1000);
    Destination(1)->AjouteSignature(
        std::make_shared<Tminiature>(),
        {Ligne(1, "grande.jpg", "a.jpg"), Ligne(2, "grande.jpg", "b.jpg"), Ligne(3, "grande.jpg", "c.jpg")});
    const QRect ajustee = AjusteImage(QSize(2000, 1000), FormPleinEcran->size(), FormPleinEcran->size(), {});
    auto clic = [](QWidget* fenetre, QWidget* cible) {
        QTest::mouseClick(fenetre->windowHandle(), Qt::LeftButton, {},
                          cible->mapTo(fenetre, cible->rect().center()));
    };
    Revoit([&] {
        for (const int restantes : {2, 1}) {
            ASSERT_TRUE(AttendQue([] { return !FormDedoublone->ChargementEnCours(); }, 5000));
            QTest::mouseClick(ControleDe<TImage>(*FormDedoublone, "Image1"), Qt::LeftButton);
            ASSERT_TRUE(AttendQue([] { return !FormPleinEcran->LectureEnCours(); }, 5000));
            // The box's copy is smaller than the screen's: the one shown was read anew.
            ASSERT_LT(ControleDe<TImage>(*FormDedoublone, "Image1")->Image().width(), ajustee.width());
            EXPECT_GE(ControleDe<TImage>(*FormPleinEcran, "Image1")->Image().width(), ajustee.width());
            EXPECT_EQ(ControleDe<TImage>(*FormPleinEcran, "Image1")->geometry(), ajustee);
            // Escape goes where the user's key would: to the window that has the focus.
            ASSERT_TRUE(QGuiApplication::focusWindow());
            if (restantes == 2)
                clic(FormPleinEcran, FormPleinEcran);
            else
                QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Escape);
            EXPECT_FALSE(FormPleinEcran->isVisible());
            ASSERT_TRUE(FormDedoublone->isVisible());
            clic(FormDedoublone, ControleDe<QPushButton>(*FormDedoublone, "BitBtn3"));
            EXPECT_EQ(Rangees(), restantes);
        }
    });
}
