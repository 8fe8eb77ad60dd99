// Closing figures: "&Quitter" with 2,000 destinations of 100 signed images each, and closing all
// of them with "Non pour Tous". Prints figures; asserts nothing.

#include "banc.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "enregistrement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int NombreDestinations = 2000;
constexpr int ImagesParDestination = 100;

} // namespace

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const TRacineBanc banc;
    const QString& programme = banc.Programme;

    QStringList ini{QStringLiteral("DestinationCount=%1").arg(NombreDestinations)};
    {
        TIndexPartage index;
        TMagasinSignatures magasin(programme + QStringLiteral("/Signatures"), &index);
        for (int d = 0; d < NombreDestinations; ++d) {
            const QString dossier = banc.Chemin() + QStringLiteral("/dest/D%1").arg(d, 4, 10, QChar(u'0'));
            PrepareDossierSigne(dossier, ImagesParDestination, magasin);
            ini << Enregistrement(QStringLiteral("D%1").arg(d), dossier, -1, 0, QStringLiteral("XXXX*X"));
        }
        magasin.TermineLot(index);
    }
    TexteFichier::Ecrit(programme + QStringLiteral("/Mirasolve.ini"), ini);

    QElapsedTimer t;
    t.start();
    DemarreProgramme(programme);
    std::printf("start-up with %d destinations of %d signed images: %.0f ms\n", NombreDestinations,
                ImagesParDestination, Ms(t));
    t.start();
    MainForm->Quit1Click();
    std::printf("\"&Quitter\": %.0f ms (configuration written, every store kept)\n", Ms(t));
    DetruitFenetres();

    DemarreProgramme(programme);
    TQuestionsBanc utilisateur;
    MainForm->FixeQuestions(&utilisateur);
    t.start();
    MainForm->Fermertouteslesdestinations1Click();
    std::printf("\"&Fermer toutes les destinations\" with \"Non pour Tous\": %.0f ms (%d left open)\n", Ms(t),
                Config()->Destinations.Count() - 1);
    MainForm->Quit1Click();
    DetruitFenetres();
    return 0;
}
