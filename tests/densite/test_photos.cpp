#include "app/programme.h"
#include "core/source/decodage.h"
#include "densite.h"
#include "ui/app/imagecontrole.h"
#include "ui/source/pleinecran.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

// Per-pixel grain over the whole picture, the finest detail there is: a picture decoded smaller and
// enlarged loses all of it, while two decodes of the whole file differ by a level or two at most.
QImage Grain(QSize taille, quint32 graine) {
    QImage image(taille, QImage::Format_RGB32);
    QRandomGenerator hasard(graine);
    for (int y = 0; y < taille.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < taille.width(); ++x) {
            // Grey: the brightness keeps every pixel in the file, where the colour is halved.
            const int gris = static_cast<int>(hasard.bounded(256));
            ligne[x] = qRgb(gris, gris, gris);
        }
    }
    return image;
}

// The mean difference between two pictures of the same size, in levels per channel.
double Ecart(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 somme = 0;
    for (int j = 0; j < x.height(); ++j) {
        const auto* lx = reinterpret_cast<const QRgb*>(x.constScanLine(j));
        const auto* ly = reinterpret_cast<const QRgb*>(y.constScanLine(j));
        for (int i = 0; i < x.width(); ++i)
            somme += std::abs(qRed(lx[i]) - qRed(ly[i])) + std::abs(qGreen(lx[i]) - qGreen(ly[i])) +
                     std::abs(qBlue(lx[i]) - qBlue(ly[i]));
    }
    return static_cast<double>(somme) / (3.0 * x.width() * x.height());
}

// Two reads of the same file by two decoders, each scaled once, stay within this.
constexpr double EcartAdmis = 3;

// What a control shows, in the screen's own pixels.
QImage Peinte(QWidget* controle) {
    return controle->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The file read whole and scaled once to a size.
QImage UneSeuleMiseALEchelle(const QString& fichier, QSize pixels) {
    return QImage(fichier).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

class PhotosTest : public ProgrammeTest {
protected:
    // A photo of the screen's size in its own pixels: read whole for it, and larger than the
    // screen's logical size from 125 % on.
    QString EcritGrain(const QString& nom, quint32 graine = 31) {
        const QString fichier = env.Source + u'/' + nom;
        EXPECT_TRUE(Grain(Pixels(Ecran()), graine).save(fichier, "JPEG", 95));
        return fichier;
    }
    static QSize Ecran() { return QGuiApplication::primaryScreen()->geometry().size(); }
    static QSize Pixels(QSize logique) {
        return QSize(qRound(logique.width() * RapportDemande()), qRound(logique.height() * RapportDemande()));
    }
    // The control shows the file scaled once to its size in the screen's pixels; from 150 % on,
    // clearly not a decode for the screen's logical size enlarged to it.
    static void MontreLeFichierAuxPixels(TImage* controle, const QString& fichier) {
        ASSERT_EQ(controle->TailleNaturelle(), Pixels(Ecran()));
        const QImage peinte = Peinte(controle);
        EXPECT_EQ(peinte.size(), Pixels(controle->size()));
        EXPECT_LT(Ecart(peinte, UneSeuleMiseALEchelle(fichier, peinte.size())), EcartAdmis);
        if (RapportDemande() < 1.5) return;
        const QImage logique = DecodeImage(QFile::encodeName(fichier), Ecran()).Image;
        EXPECT_LT(logique.width(), peinte.width());
        const QImage agrandie =
            logique.scaled(peinte.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(Ecart(peinte, agrandie), 5 * EcartAdmis);
    }
};

TEST_F(PhotosTest, LImageCouranteEstDecodeePourLesPixelsDeLEcran) {
    const QString fichier = EcritGrain(QStringLiteral("grain.jpg"));
    Demarre({});
    Affiche();
    // A window wider than the screen, so that the control takes more pixels than a decode for the
    // logical screen gives.
    MainForm->resize(1000, 800);
    ASSERT_TRUE(AttendRepos());
    QCoreApplication::processEvents();
    MontreLeFichierAuxPixels(Controle<TImage>("ImageCourante"), fichier);
    // Kept for the screen's size in its own pixels.
    EXPECT_EQ(MainForm->Affichage->EcranEnPixels(), Pixels(Ecran()));
    EXPECT_TRUE(MainForm->Affichage->Cache().Cherche(QFile::encodeName(fichier), Pixels(Ecran())));
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

TEST_F(PhotosTest, UnPasPeintLaCopiePrepareeDeLImageSuivante) {
    // The next photo is scaled for the current slot beforehand: the step paints that copy, which
    // is the photo scaled once, and not another picture's.
    EcritGrain(QStringLiteral("a.jpg"), 1);
    const QString suivante = EcritGrain(QStringLiteral("b.jpg"), 2);
    Demarre({});
    Affiche();
    ASSERT_TRUE(AttendRepos());
    ASSERT_TRUE(AttendQue([] { return !MainForm->Affichage->PreparationEnCours(); }, 10000));
    Source()->IndexDemande = 1;
    MainForm->TimerCourantAffTimer();
    TImage* courante = Controle<TImage>("ImageCourante");
    ASSERT_EQ(Source()->IndexAffiche, 1);
    EXPECT_EQ(courante->CopieALEchelle().size(), Pixels(courante->size()));
    const QImage peinte = Peinte(courante);
    EXPECT_LT(Ecart(peinte, UneSeuleMiseALEchelle(suivante, peinte.size())), EcartAdmis);
}
