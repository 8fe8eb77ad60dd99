#include "app/imagecontrole.h"
#include "config/configuration.h"
#include "destinations/destination.h"
#include "duplicates/dedoublonne.h"
#include "duplicates/planification.h"
#include "photo.h"
#include "programme.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// Twelve selected photos filed by one click come back, in their order, by one "Annuler"; and again
// by Ctrl+Z.
TEST_F(ProgrammeTest, AnnulerDouzePhotosEnUneCommande) {
    const QString album = env.Dossier(QStringLiteral("Album"));
    EcritConfiguration({Enregistrement(QStringLiteral("Album"), album)});
    QStringList photos;
    for (int i = 0; i < 14; ++i)
        photos << QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0'));
    Demarre(photos);
    Affiche();
    const TDestination* d = Configuration->Destinations.Element(1);
    for (const bool clavier : {false, true}) {
        ASSERT_TRUE(AttendRepos());
        MainForm->ListBox1->clearSelection();
        for (int i = 1; i <= 12; ++i)
            MainForm->ListBox1->item(i)->setSelected(true);
        MainForm->MultiSelection = true;
        QTest::mouseClick(MainForm->ImageDestination, Qt::LeftButton, {},
                          QPoint(d->TuileX + 40, d->TuileY + 10));
        ASSERT_EQ(QDir(album).entryList(QDir::Files).size(), 12);
        if (clavier)
            QTest::keyClick(MainForm->ListBox1, Qt::Key_Z, Qt::ControlModifier);
        else
            MainForm->Annulation1->trigger();
        ASSERT_EQ(MainForm->ListBox1->count(), 14);
        for (int i = 0; i < 14; ++i)
            EXPECT_EQ(MainForm->ListBox1->item(i)->text() +
                          QFile::decodeName(ListeSource->Fichiers.Element(i)->Nom),
                      photos[i] + photos[i]);
        EXPECT_TRUE(QDir(album).isEmpty() && Configuration->Annulations.EstVide());
    }
}

// An image the review sends to the trash comes back into its folder by "Annuler", not into the
// source list; its destination signs it again and the search finds its pair again.
TEST_F(ProgrammeTest, AnnulerUnEffacementDeLaRevue) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QImage photo = PhotoSynthetique(21, 640, 480);
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage.jpg"), "JPEG", 90));
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage copie.jpg"), "JPEG", 60));
    EcritConfiguration({Enregistrement("Vacances", vacances, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    TDestination* d = Configuration->Destinations.Element(1);
    const auto recherche = [d] {
        MainForm->Timer2Timer();
        EXPECT_TRUE(
            AttendQue([] { return DestinationEnTraitement(Configuration->Destinations) < 0; }, 30000));
        return d->Comptes().Doublons;
    };
    ASSERT_EQ(recherche(), 1);
    const QString image1 = LitPaire(d->CopieDoublons().front()).Image1;
    dialogues.Modal = [](QDialog& dialogue) {
        QTimer::singleShot(0, FormDedoublone->BitBtn1, &QPushButton::click);
        return dialogue.exec();
    };
    MainForm->RevoitDoublons(*d);
    ASSERT_FALSE(QFile::exists(image1));

    MainForm->Annulation1->trigger();
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty());
    EXPECT_TRUE(QFile::exists(image1) && QDir(Configuration->Destinations.Element(0)->Chemin).isEmpty());
    EXPECT_EQ(d->ATraiter, QStringList{image1});
    EXPECT_EQ(MainForm->ListBox1->count(), 3);
    EXPECT_EQ(recherche(), 1);
}
