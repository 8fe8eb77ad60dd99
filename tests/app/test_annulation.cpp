#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "programme.h"
#include "ui/app/imagecontrole.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
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
    const TDestination* d = Config()->Destinations.Element(1);
    for (const bool clavier : {false, true}) {
        ASSERT_TRUE(AttendRepos());
        Controle<QListWidget>("ListBox1")->clearSelection();
        for (int i = 1; i <= 12; ++i)
            Controle<QListWidget>("ListBox1")->item(i)->setSelected(true);
        MainForm->Affichage->NoteMultiSelection();
        QTest::mouseClick(Controle<TImage>("ImageDestination"), Qt::LeftButton, {},
                          QPoint(d->TuileX + 40, d->TuileY + 10));
        ASSERT_EQ(QDir(album).entryList(QDir::Files).size(), 12);
        if (clavier)
            QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Z, Qt::ControlModifier);
        else
            Controle<QAction>("Annulation1")->trigger();
        ASSERT_EQ(Controle<QListWidget>("ListBox1")->count(), 14);
        for (int i = 0; i < 14; ++i)
            EXPECT_EQ(Controle<QListWidget>("ListBox1")->item(i)->text() +
                          QFile::decodeName(Source()->Fichiers.Element(i)->Nom),
                      photos[i] + photos[i]);
        EXPECT_TRUE(QDir(album).isEmpty() && Config()->Annulations.EstVide());
    }
}
