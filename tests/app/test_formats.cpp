#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

// The pictures of today's cameras and phones go through the window as a JPEG does: listed with the
// others, filed, numbered on a collision before their extension's dot, undone, trashed and renamed.
// Their bytes are a JPEG's (EcritImage): the file is read by its content, whatever its name says.
class FormatsTest : public ProgrammeTest {
protected:
    void SetUp() override {
        cible = env.Dossier(QStringLiteral("Cible"));
        // Already in the destination: the same name as a photo of the source.
        EcritImage(cible + QStringLiteral("/IMG_1.heic"));
        EcritConfiguration({Enregistrement(QStringLiteral("Cible"), cible)});
        for (const char* autre : {"notes.txt", "film.mov", "sans extension", "IMG_1.heic.xmp"})
            EcritFichier(QFile::encodeName(env.Source + u'/' + QLatin1String(autre)), "pas une image");
        Demarre(Photos());
        Affiche();
        ASSERT_TRUE(AttendRepos());
    }
    static QStringList Photos() {
        return {"DSC_0042.JPG", "DSC_0042.NEF", "IMG_1.heic", "capture.png", "fond.webp",
                "scan.tiff",    "vue.3fr",      "ciel.CR2",   "nuit.jxl",    "web.avif"};
    }
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    static const QList<TEtapeAnnulation>& Etapes() { return Config()->Annulations.Etapes; }
    static QStringList Liste() {
        QStringList noms;
        for (int i = 0; i < Controle<QListWidget>("ListBox1")->count(); ++i)
            noms << Controle<QListWidget>("ListBox1")->item(i)->text();
        return noms;
    }
    static int Ligne(const QString& nom) { return static_cast<int>(Liste().indexOf(nom)); }
    static void Clic(const TDestination* d) {
        QTest::mouseClick(Controle<TImage>("ImageDestination"), Qt::LeftButton, {},
                          QPoint(d->TuileX + 40, d->TuileY + 10));
    }
    // Makes this file the current image, as the arrows would.
    static void Montre(const QString& nom) {
        Source()->IndexDemande = Ligne(nom);
        ASSERT_GE(Source()->IndexDemande, 0) << nom.toStdString();
        MainForm->ArmeTimerCourantAff();
        ASSERT_TRUE(AttendRepos());
        ASSERT_EQ(Source()->IndexAffiche, Ligne(nom));
    }
    static void Selectionne(const QStringList& noms) {
        Controle<QListWidget>("ListBox1")->clearSelection();
        for (const QString& nom : noms)
            Controle<QListWidget>("ListBox1")->item(Ligne(nom))->setSelected(true);
        MainForm->Affichage->NoteMultiSelection();
    }
    QStringList Sources() const { return QDir(env.Source).entryList(QDir::Files, QDir::Name); }
    QStringList Cibles() const { return QDir(cible).entryList(QDir::Files, QDir::Name); }
    static QStringList Tries(QStringList noms) {
        noms.sort();
        return noms;
    }

    QString cible;
};

TEST_F(FormatsTest, ListesClassesNumerotesEtAnnules) {
    // Every photo listed, nothing else.
    EXPECT_EQ(Tries(Liste()), Tries(Photos()));

    // The HEIC whose name the destination already has takes its number before the dot.
    Montre(QStringLiteral("IMG_1.heic"));
    Clic(Destination(1));
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Cibles(), (QStringList{"IMG_1.heic", "IMG_11.heic"}));
    EXPECT_FALSE(Liste().contains(QStringLiteral("IMG_1.heic")));
    EXPECT_TRUE(Destination(1)->ATraiter.contains(cible + QStringLiteral("/IMG_11.heic")));

    // A RAW and its JPEG filed together by one click.
    Selectionne({QStringLiteral("DSC_0042.JPG"), QStringLiteral("DSC_0042.NEF")});
    Clic(Destination(1));
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Cibles(), (QStringList{"DSC_0042.JPG", "DSC_0042.NEF", "IMG_1.heic", "IMG_11.heic"}));
    EXPECT_EQ(Liste().size(), Photos().size() - 3);
    ASSERT_EQ(Etapes().size(), 3);

    // Undone, the pair comes back to its places, then the HEIC under its own name.
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(Sources().contains(QStringLiteral("DSC_0042.NEF")) &&
                Sources().contains(QStringLiteral("DSC_0042.JPG")));
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Cibles(), QStringList{"IMG_1.heic"});
    EXPECT_EQ(Tries(Liste()), Tries(Photos()));
    EXPECT_TRUE(Etapes().isEmpty());
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty()) << utilisateur.Avertissements.join(u'\n').toStdString();
}

TEST_F(FormatsTest, CorbeilleEtAnnulation) {
    const QString corbeille = env.Programme + QStringLiteral("/Corbeille");
    EcritImage(corbeille + QStringLiteral("/scan.tiff"));
    Montre(QStringLiteral("scan.tiff"));
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(QFile::exists(corbeille + QStringLiteral("/scan1.tiff")));
    EXPECT_FALSE(Liste().contains(QStringLiteral("scan.tiff")));
    Montre(QStringLiteral("vue.3fr"));
    QTest::keyClick(Controle<QListWidget>("ListBox1"), Qt::Key_Delete);
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(QFile::exists(corbeille + QStringLiteral("/vue.3fr")));

    Controle<QAction>("Annulation1")->trigger();
    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_EQ(Tries(Liste()), Tries(Photos()));
    EXPECT_EQ(QDir(corbeille).entryList(QDir::Files), QStringList{"scan.tiff"});
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty()) << utilisateur.Avertissements.join(u'\n').toStdString();
}

// Renaming a destination keeps every file's own extension, whatever its length or case, and undo
// still finds the filed files under their new names.
TEST_F(FormatsTest, RenommerPuisAnnuler) {
    Selectionne({QStringLiteral("DSC_0042.JPG"), QStringLiteral("DSC_0042.NEF"), QStringLiteral("web.avif")});
    Clic(Destination(1));
    ASSERT_TRUE(AttendRepos());
    ASSERT_EQ(Cibles().size(), 4);
    dialogues.Texte = [](const QString&, const QString&, const QString&) -> std::optional<QString> {
        return QStringLiteral("Ete");
    };
    utilisateur.OkAnnuler = [](const QString&) { return true; };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Renommerlesfichiers1")->trigger();
    QStringList extensions;
    for (const QString& nom : Cibles()) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ete[0-3]\\.[^.]+$")).match(nom).hasMatch())
            << nom.toStdString();
        extensions << nom.section(u'.', -1);
    }
    EXPECT_EQ(Tries(extensions), (QStringList{"JPG", "NEF", "avif", "heic"}));

    Controle<QAction>("Annulation1")->trigger();
    ASSERT_TRUE(AttendRepos());
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty()) << utilisateur.Avertissements.join(u'\n').toStdString();
    EXPECT_EQ(Tries(Liste()), Tries(Photos()));
    EXPECT_EQ(Cibles().size(), 1);
}
