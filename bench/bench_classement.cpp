// Filing figures: one image from the release to the next image painted (its picture ready), and a
// selection of 1,000 images out of a source of 10,000. Prints figures; asserts nothing.

#include "banc.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "core/source/tachesource.h"
#include "enregistrement.h"
#include "photo.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

bool Repos() {
    return !Controle<QTimer>("TimerCourantAff")->isActive() && Source()->ChargementsEnCours == 0 &&
           !MainForm->Affichage->ApercuEnChargement();
}

void Attend(const std::function<bool()>& condition) {
    while (!condition())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

void Lance(const QString& racine, int nombre, const QImage& photo) {
    const QString source = racine + QStringLiteral("/source"), cible = racine + QStringLiteral("/cible");
    const QString programme = racine + QStringLiteral("/programme");
    QDir().mkpath(source);
    QDir().mkpath(cible);
    QDir().mkpath(programme);
    QByteArray jpeg;
    {
        const QString modele = racine + QStringLiteral("/modele.jpg");
        photo.save(modele, "JPEG", 90);
        QFile f(modele);
        f.open(QIODevice::ReadOnly);
        jpeg = f.readAll();
    }
    for (int i = 0; i < nombre; ++i) {
        QFile f(source + QStringLiteral("/IMG_%1.jpg").arg(i, 5, 10, QChar(u'0')));
        f.open(QIODevice::WriteOnly);
        f.write(jpeg);
    }
    TexteFichier::Ecrit(programme + QStringLiteral("/Mirasolve.ini"),
                        QStringList{"SourcePath=" + source, "DestinationCount=1"} +
                            Enregistrement("Cible", cible));
    DemarreProgramme(programme);
    static TQuestionsBanc utilisateur;
    MainForm->FixeQuestions(&utilisateur);
    Attend([] { return MainForm->isVisible(); });
    QTest::qWait(100);
    MainForm->RafraichisListeDestinations();
    Attend(Repos);
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    {
        QTemporaryDir racine;
        Lance(racine.path(), 40, PhotoSynthetique(1, 4000, 3000, 200));
        TDestination* cible = Config()->Destinations.Element(1);
        const QPoint titre(cible->TuileX + 40, cible->TuileY + 10);
        // Found once, so that no search of the window is timed.
        TImage* const tuiles = Controle<TImage>("ImageDestination");
        TImage* const courante = Controle<TImage>("ImageCourante");
        QTimer* const affichage = Controle<QTimer>("TimerCourantAff");
        double total = 0, pire = 0;
        const int essais = 20;
        for (int k = 0; k < essais; ++k) {
            Attend(Repos);
            QElapsedTimer t;
            t.start();
            QTest::mousePress(tuiles, Qt::LeftButton, {}, titre);
            t.start(); // from the release
            QTest::mouseRelease(tuiles, Qt::LeftButton, {}, titre);
            Attend([affichage] { return !affichage->isActive(); });
            courante->repaint();
            const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
            total += ms;
            pire = std::max(pire, ms);
        }
        std::printf(
            "filing one 12-megapixel image, release to next image painted: mean %.1f ms, worst %.1f ms\n",
            total / essais, pire);
        Config()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        DetruitFenetres();
        while (TTacheSource::Vivantes() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    {
        QTemporaryDir racine;
        Lance(racine.path(), 10000, PhotoSynthetique(2, 640, 480, 40));
        TDestination* cible = Config()->Destinations.Element(1);
        auto* liste = Controle<QListWidget>("ListBox1");
        liste->clearSelection();
        for (int i = 0; i < 10000; i += 10)
            liste->item(i)->setSelected(true);
        MainForm->Affichage->NoteMultiSelection();
        QElapsedTimer t;
        t.start();
        MainForm->Classe(*cible, false);
        std::printf("filing 1,000 selected images out of 10,000: %.0f ms (%d left in the source)\n",
                    static_cast<double>(t.nsecsElapsed()) / 1e6, Source()->Fichiers.Count());
        Attend(Repos);
        Config()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        DetruitFenetres();
        while (TTacheSource::Vivantes() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return 0;
}
