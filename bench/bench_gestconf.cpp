// Configuration manager figures, with 2,000 destinations in 500 levels: the window shown (the tree
// built), closed (the tree applied to the destinations and the levels renumbered), and a
// configuration file of 2,000 destinations opened from it. Prints figures; asserts nothing.
//
//   bench_gestconf

#include "banc.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "enregistrement.h"
#include "ui/config/gestconf.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const TRacineBanc banc;
    const QString& programme = banc.Programme;
    // 2,000 empty folders: 500 levels, each opened by one destination of the level above it.
    QStringList ini{QStringLiteral("DestinationCount=2000")};
    for (int i = 0; i < 2000; ++i) {
        const QString dossier = banc.Chemin() + QStringLiteral("/d%1").arg(i);
        QDir().mkpath(dossier);
        const int niveau = i < 500 ? i + 1 : -1;                   // the first 500 open a level each
        const int dans = i == 0 ? 0 : (i < 500 ? i : 1 + i % 500); // and stand in the one before
        ini << Enregistrement(QStringLiteral("D%1").arg(i), dossier, niveau, dans);
    }
    const QString fichier = banc.Chemin() + QStringLiteral("/deux-mille.ini");
    TexteFichier::Ecrit(fichier, ini);
    TexteFichier::Ecrit(programme + QStringLiteral("/Mirasolve.ini"), ini);

    TQuestionsBanc questions;
    DemarreProgramme(programme);
    MainForm->FixeQuestions(&questions);
    Controle<QTimer>("Timer2")->stop();
    while (!MainForm->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    std::printf("%d destinations open\n", Config()->Destinations.Count() - 1);

    QElapsedTimer chrono;
    chrono.start();
    FormGestConf->show();
    QCoreApplication::processEvents();
    std::printf("manager shown: %.0f ms\n", Ms(chrono));
    chrono.start();
    FormGestConf->hide();
    std::printf("manager closed (tree applied, levels renumbered): %.0f ms\n", Ms(chrono));

    struct TDialoguesFichier : TDialoguesBanc {
        QString fichier;
        QString ChoisitFichier(QWidget*, const QString&, const QString&, const QString&, const QString&,
                               bool) override {
            return fichier;
        }
    } dialogues;
    dialogues.fichier = fichier;
    MainForm->FixeDialogues(&dialogues);
    FormGestConf->show();
    QCoreApplication::processEvents();
    chrono.start();
    FormGestConf->BitBtnOuvrirClick();
    std::printf("opening a file of 2,000 destinations (closing the 2,000 open ones first): %.0f ms\n",
                Ms(chrono));
    FormGestConf->hide();
    MainForm->close();
    while (MainForm->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    DetruitFenetres();
    return 0;
}
