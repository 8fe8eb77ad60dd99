#include "app/programme.h"
#include "core/source/decodage.h"
#include "densite.h"
#include "ui/app/imagecontrole.h"
#include "ui/source/affichagesource.h"
#include "ui/source/pleinecran.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>

#include <gtest/gtest.h>

#include <utility>

namespace {

// Grey grain, one level per pixel (the brightness keeps every pixel in a JPEG, the colour does
// not): a picture decoded smaller and enlarged loses all of it.
QImage Grain(QSize taille, quint32 graine) {
    QImage image(taille, QImage::Format_RGB32);
    QRandomGenerator hasard(graine);
    for (int y = 0; y < taille.height(); ++y)
        for (int x = 0; x < taille.width(); ++x) {
            const int gris = static_cast<int>(hasard.bounded(256));
            image.setPixel(x, y, qRgb(gris, gris, gris));
        }
    return image;
}

// Two decoders reading the same file, each scaled once, stay within this.
constexpr double EcartAdmis = 3;

QImage UneSeuleMiseALEchelle(const QString& fichier, QSize pixels) {
    return QImage(fichier).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize Pixels(QSize logique) {
    return (QSizeF(logique) * RapportDemande()).toSize();
}
QSize Ecran() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

} // namespace

class PhotosTest : public ProgrammeTest {
protected:
    // A photo of the screen's size in its own pixels: larger than the logical screen from 125 %.
    QString EcritGrain(const QString& nom, quint32 graine = 31) {
        const QString fichier = env.Source + u'/' + nom;
        EXPECT_TRUE(Grain(Pixels(Ecran()), graine).save(fichier, "JPEG", 95));
        return fichier;
    }
    // The control shows the file scaled once to its size in the screen's pixels; from 150 % on,
    // clearly not a decode for the screen's logical size enlarged to it.
    static void MontreLeFichierAuxPixels(TImage* controle, const QString& fichier) {
        ASSERT_EQ(controle->TailleNaturelle(), Pixels(Ecran()));
        const QImage peinte = Peinte(controle);
        EXPECT_EQ(peinte.size(), Pixels(controle->size()));
        EXPECT_LT(EcartMoyen(peinte, UneSeuleMiseALEchelle(fichier, peinte.size())), EcartAdmis);
        if (RapportDemande() < 1.5) return;
        const QImage logique = DecodeImage(QFile::encodeName(fichier), Ecran()).Image;
        EXPECT_LT(logique.width(), peinte.width());
        EXPECT_GT(EcartMoyen(peinte,
                             logique.scaled(peinte.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
                  5 * EcartAdmis);
    }
};

// The current image, in a window wider than the screen so that the control takes more pixels than
// a decode for the logical screen gives, kept in the cache for the screen's own pixels. The next
// photo is scaled for the slot beforehand: a step paints that copy, the photo scaled once.
TEST_F(PhotosTest, LesImagesCouranteEtSuivanteSontDecodeesPourLesPixelsDeLEcran) {
    const QString fichier = EcritGrain(QStringLiteral("a.jpg"), 1);
    const QString suivante = EcritGrain(QStringLiteral("b.jpg"), 2);
    Demarre({});
    Affiche();
    MainForm->resize(1000, 800);
    ASSERT_TRUE(AttendRepos());
    QCoreApplication::processEvents();
    TImage* courante = Controle<TImage>("ImageCourante");
    MontreLeFichierAuxPixels(courante, fichier);
    EXPECT_EQ(MainForm->Affichage->EcranEnPixels(), Pixels(Ecran()));
    EXPECT_TRUE(MainForm->Affichage->Cache().Cherche(QFile::encodeName(fichier), Pixels(Ecran())));

    ASSERT_TRUE(AttendQue([] { return !MainForm->Affichage->PreparationEnCours(); }, 10000));
    Source()->IndexDemande = 1;
    MainForm->TimerCourantAffTimer();
    ASSERT_EQ(Source()->IndexAffiche, 1);
    EXPECT_EQ(courante->CopieALEchelle().size(), Pixels(courante->size()));
    const QImage peinte = Peinte(courante);
    EXPECT_LT(EcartMoyen(peinte, UneSeuleMiseALEchelle(suivante, peinte.size())), EcartAdmis);
}

// A large current picture that comes with no copy scaled for its slot is shown at once roughly
// scaled, with no scale at its paint, and then smoothly scaled once.
TEST_F(PhotosTest, UneGrandeImageSansCopieEstMontreeAussitotPuisLissee) {
    const qint64 seuil = std::exchange(TAffichageSource::PixelsPourCopieRapide, 1);
    const QString fichier = EcritGrain(QStringLiteral("a.jpg"));
    Demarre({});
    TImage* courante = Controle<TImage>("ImageCourante");
    int arrivees = 0, copiesALArrivee = 0;
    QObject::connect(MainForm->Affichage, &TAffichageSource::CouranteChangee, [&] {
        if (courante->Image().isNull()) return;
        ++arrivees;
        copiesALArrivee += courante->CopieALEchelle().size() == Pixels(courante->size());
    });
    Affiche();
    MainForm->resize(1000, 800);
    ASSERT_TRUE(AttendRepos());
    TAffichageSource::PixelsPourCopieRapide = seuil;
    ASSERT_GT(arrivees, 0);
    EXPECT_EQ(copiesALArrivee, arrivees);
    MontreLeFichierAuxPixels(courante, fichier);
}

TEST_F(PhotosTest, LePleinEcranEstDecodePourLesPixelsDeLEcran) {
    const QString fichier = EcritGrain(QStringLiteral("plein.jpg"));
    TFormPleinEcran vue;
    const TImage attente;
    vue.MontreFichier(fichier, attente);
    ASSERT_TRUE(AttendQue([&] { return !vue.LectureEnCours(); }, 10000));
    QCoreApplication::processEvents();
    MontreLeFichierAuxPixels(ControleDe<TImage>(vue, "Image1"), fichier);
    vue.hide();
}
