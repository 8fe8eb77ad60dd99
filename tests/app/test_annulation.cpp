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

namespace {

// Undo through the real window: one command at a time, whatever its size.
class AnnulationFenetreTest : public ProgrammeTest {
protected:
    static TDestination* Destination(int i) { return Configuration->Destinations.Element(i); }
    static QPoint Titre(const TDestination* d) { return QPoint(d->TuileX + 40, d->TuileY + 10); }
    static void Clic(QPoint point) {
        QTest::mousePress(MainForm->ImageDestination, Qt::LeftButton, {}, point);
        QTest::mouseRelease(MainForm->ImageDestination, Qt::LeftButton, {}, point);
    }
    static QStringList Liste() {
        QStringList noms;
        for (int i = 0; i < MainForm->ListBox1->count(); ++i)
            noms << MainForm->ListBox1->item(i)->text();
        return noms;
    }
    static bool RechercheAuRepos() {
        MainForm->Timer2Timer();
        return AttendQue(
            [] {
                return MainForm->Occupe.load() == 0 && DestinationEnTraitement(Configuration->Destinations) < 0;
            },
            30000);
    }
};

} // namespace

// Twelve selected photos filed by one click come back, in their order, by one "Annuler"; and
// again by Ctrl+Z, which the menu shows.
TEST_F(AnnulationFenetreTest, DouzePhotosEnUneCommande) {
    const QString album = env.Dossier(QStringLiteral("Album"));
    EcritConfiguration({Enregistrement(QStringLiteral("Album"), album)});
    QStringList photos;
    for (int i = 0; i < 14; ++i)
        photos << QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0'));
    Demarre(photos);
    Affiche();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(MainForm->Annulation1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));

    const std::function<void()> annulations[] = {
        [] { MainForm->Annulation1->trigger(); },
        [] { QTest::keyClick(MainForm->ListBox1, Qt::Key_Z, Qt::ControlModifier); }};
    for (const auto& annule : annulations) {
        // Every photo but the first and the last.
        MainForm->ListBox1->clearSelection();
        for (int i = 1; i <= 12; ++i)
            MainForm->ListBox1->item(i)->setSelected(true);
        MainForm->MultiSelection = true;
        Clic(Titre(Destination(1)));
        ASSERT_TRUE(AttendRepos());
        ASSERT_EQ(QDir(album).entryList(QDir::Files).size(), 12);
        ASSERT_EQ(Liste(), (QStringList{"p00.jpg", "p13.jpg"}));

        annule();
        ASSERT_TRUE(AttendRepos());
        EXPECT_EQ(Liste(), photos);
        EXPECT_EQ(QDir(env.Source).entryList(QDir::Files, QDir::Name), photos);
        for (int i = 0; i < photos.size(); ++i)
            EXPECT_EQ(ListeSource->Fichiers.Element(i)->Nom, QFile::encodeName(photos[i]));
        EXPECT_TRUE(QDir(album).isEmpty());
        EXPECT_EQ(Destination(1)->Comptes().ATraiter, 0);
        EXPECT_TRUE(Configuration->Annulations.EstVide());
        EXPECT_TRUE(utilisateur.Avertissements.isEmpty());
    }
}

// An image the review sends to the trash is one undo step: undone, it is back in its folder, its
// destination signs it again, and the search finds its pair again. The source list is untouched.
TEST_F(AnnulationFenetreTest, EffacementDeLaRevueAnnule) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QImage photo = PhotoSynthetique(21, 640, 480);
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage.jpg"), "JPEG", 90));
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage copie.jpg"), "JPEG", 60));
    EcritConfiguration({Enregistrement("Vacances", vacances, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    TDestination* d = Destination(1);
    ASSERT_TRUE(RechercheAuRepos());
    ASSERT_EQ(d->Comptes().Doublons, 1);
    const QString image1 = LitPaire(d->CopieDoublons().front()).Image1;
    const QStringList source = Liste();

    dialogues.Modal = [](QDialog& dialogue) {
        QTimer::singleShot(0, &dialogue, [&dialogue] {
            ASSERT_TRUE(AttendQue([&] { return dialogue.isVisible(); }, 2000));
            QTest::mouseClick(FormDedoublone->BitBtn1, Qt::LeftButton);
            if (dialogue.isVisible()) dialogue.reject();
        });
        return dialogue.exec();
    };
    MainForm->RevoitDoublons(*d);
    ASSERT_FALSE(QFile::exists(image1));
    ASSERT_EQ(d->Comptes().Signatures, 1);

    MainForm->Annulation1->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty()) << utilisateur.Avertissements.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(image1));
    EXPECT_TRUE(QDir(Destination(0)->Chemin).isEmpty());
    EXPECT_EQ(d->ATraiter, QStringList{image1});
    EXPECT_EQ(Liste(), source);
    EXPECT_TRUE(Configuration->Annulations.EstVide());
    ASSERT_TRUE(RechercheAuRepos());
    EXPECT_EQ(d->Comptes().Doublons, 1);
    EXPECT_EQ(d->Comptes().Signatures, 2);
}
