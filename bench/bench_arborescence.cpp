// Adding a folder tree: 500 to 4,000 folders of three images each, no stores, tree mode without
// validation, timed from the command to the panel redrawn; then closing them all with "no to all".
// Prints figures; asserts nothing.

#include "banc.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/source/tachesource.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/tools/recursif.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Folder k's parent is folder (k - 1) / 4: a tree four wide, some six levels deep.
void CreeArbre(const QString& racine, int nombre, const QByteArray& jpeg) {
    QStringList chemins{racine + QStringLiteral("/arbre")};
    for (int k = 1; k < nombre; ++k)
        chemins << chemins[(k - 1) / 4] + QStringLiteral("/d%1").arg(k);
    for (const QString& chemin : chemins) {
        QDir().mkpath(chemin);
        for (int i = 0; i < 3; ++i) {
            QFile f(chemin + QStringLiteral("/IMG_%1.jpg").arg(i));
            if (f.open(QIODevice::WriteOnly)) f.write(jpeg);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QByteArray jpeg;
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QTemporaryDir modele;
        const QString fichier = modele.path() + QStringLiteral("/m.jpg");
        image.save(fichier, "JPEG");
        QFile f(fichier);
        if (f.open(QIODevice::ReadOnly)) jpeg = f.readAll();
    }

    std::printf("%8s %10s %12s %10s %12s\n", "folders", "levels", "add (ms)", "per folder", "close (ms)");
    for (const int nombre : {500, 1000, 2000, 4000}) {
        QTemporaryDir racine;
        const QString programme = racine.path() + QStringLiteral("/programme");
        QDir().mkpath(programme);
        CreeArbre(racine.path(), nombre, jpeg);
        qputenv("HOME", QFile::encodeName(racine.path()));
        DemarreProgramme(programme);
        while (!MainForm->isVisible())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        TDialoguesBanc dialogues;
        MainForm->FixeDialogues(&dialogues);
        FormRecurs->ChoisitDossier(racine.path() + QStringLiteral("/arbre"));

        QElapsedTimer t;
        t.start();
        MainForm->Ajouteravecsousdossiers1Click();
        const double ajout = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const int ouvertes = Config()->Destinations.Count() - 1;
        const auto niveaux = MainForm->Session().ListeGroupe()->Groupes.size();

        TQuestionsBanc utilisateur;
        MainForm->FixeQuestions(&utilisateur);
        t.start();
        MainForm->Fermertouteslesdestinations1Click();
        const double fermeture = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (ouvertes != nombre) std::printf("only %d destinations were added\n", ouvertes);
        std::printf("%8d %10zu %12.0f %8.3f ms %12.0f\n", nombre, niveaux, ajout, ajout / nombre, fermeture);

        Config()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        DetruitFenetres();
        while (TTacheSource::Vivantes() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return 0;
}
