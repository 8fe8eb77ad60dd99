// Destination figures: loading a folder of 100,000 images with a full store, start-up with 200
// destinations of 1,000 images each (stores present), and laying out a level of 1,000 tiles.
// Prints figures; asserts nothing.

#include "banc.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/magasin.h"
#include "enregistrement.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir racine;
    const QString programme = racine.path() + QStringLiteral("/programme");
    QDir().mkpath(programme + QStringLiteral("/Signatures"));
    TContexteDestinations contexte;
    contexte.DossierProgramme = programme;
    contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;

    // One folder of 100,000 signed images.
    const QString grand = racine.path() + QStringLiteral("/grand");
    PrepareDossierSigne(grand, 100000, TMagasinSignatures(contexte.DossierSignatures()));
    {
        TDestination destination(&contexte);
        QElapsedTimer t;
        t.start();
        destination.Charge(grand, QStringLiteral("Grand"));
        std::printf("Charge of 100,000 images with their store: %.0f ms (%zu signatures, %lld waiting)\n",
                    Ms(t), destination.ListeSignatures->Miniatures.size(),
                    static_cast<long long>(destination.ATraiter.size()));
        contexte.ReponseMemorisee = ReponseConfirmation::Non;
        destination.Chemin.clear(); // not saved again
    }

    // 200 destinations of 1,000 images, in a configuration file.
    QStringList ini{QStringLiteral("DestinationCount=200")};
    for (int d = 0; d < 200; ++d) {
        const QString dossier = racine.path() + QStringLiteral("/dest/D%1").arg(d, 3, 10, QChar(u'0'));
        PrepareDossierSigne(dossier, 1000, TMagasinSignatures(contexte.DossierSignatures()));
        ini << Enregistrement(QStringLiteral("D%1").arg(d), dossier, -1, 0, QStringLiteral("XXXX*X"));
    }
    TexteFichier::Ecrit(programme + QStringLiteral("/Mirasolve.ini"), ini);
    qputenv("HOME", QFile::encodeName(racine.path()));
    QElapsedTimer t;
    t.start();
    DemarreProgramme(programme);
    QCoreApplication::processEvents();
    std::printf("start-up with 200 destinations of 1,000 images: %.0f ms to the main window\n", Ms(t));

    // A level of 1,000 destinations.
    for (int d = 0; d < 800; ++d) {
        auto destination = std::make_unique<TDestination>();
        destination->Titre = QStringLiteral("Extra %1").arg(d);
        destination->Fonte.setPointSize(8);
        TDestination* brut = destination.get();
        const QString titre = brut->Titre;
        Config()->Destinations.Ajoute(titre, std::move(destination));
        MainForm->Session().ListeGroupe()->Ajoute(*brut);
    }
    MainForm->resize(1200, 1000);
    QCoreApplication::processEvents();
    double pire = 0, total = 0;
    for (int k = 0; k < 20; ++k) {
        MainForm->Session().ListeGroupe()->FixePositionCourante(k * 37);
        t.start();
        MainForm->RafraichisListeDestinations();
        const double ms = Ms(t);
        total += ms;
        pire = std::max(pire, ms);
    }
    std::printf("RafraichisListeDestinations, level of %d tiles, panel %dx%d: mean %.2f ms, worst %.2f ms\n",
                MainForm->Session().ListeGroupe()->NbCourant() - 1,
                Controle<TImage>("ImageDestination")->width(), Controle<TImage>("ImageDestination")->height(),
                total / 20, pire);
    // Not saved at the end: the figures are all that matter here.
    Config()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    DetruitFenetres();
    return 0;
}
