// Review window and signature manager figures: opening the review on 10,000 pairs to the first pair
// shown; choosing a row of two 12-megapixel JPEGs to both pictures shown; deleting an image that is
// in 1,000 pairs across 100 destinations; the signature manager over 2,000 stored folders. Prints
// figures; asserts nothing.
//
//   bench_revue

#include "banc.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "photo.h"
#include "ui/app/imagecontrole.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/duplicates/gestmini.h"

#include <QApplication>
#include <QTableView>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// A dialog's control of that object name; the bench stops when it is missing.
template <class T> T* DuDialogue(const QWidget& dialogue, const char* nom) {
    T* controle = dialogue.findChild<T*>(QString::fromUtf8(nom));
    if (!controle) {
        std::fprintf(stderr, "%s : pas de contrôle %s\n", qPrintable(dialogue.objectName()), nom);
        std::exit(1);
    }
    return controle;
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareBanc();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const TRacineBanc banc;
    const QString& programme = banc.Programme;
    const QString photos = banc.Chemin() + QStringLiteral("/photos");
    QDir().mkpath(photos);
    // Two 12-megapixel photos and 10,000 pairs of small files.
    PhotoSynthetique(1, 4000, 3000, 200).save(photos + QStringLiteral("/grande1.jpg"), "JPEG", 90);
    PhotoSynthetique(2, 4000, 3000, 200).save(photos + QStringLiteral("/grande2.jpg"), "JPEG", 90);
    PhotoSynthetique(3, 64, 48).save(photos + QStringLiteral("/modele.jpg"), "JPEG", 90);
    QStringList lignes{QStringLiteral("0000000001*%1/grande1.jpg*%1/grande2.jpg*").arg(photos)};
    for (int i = 0; i < 10000; ++i) {
        const QString a = photos + QStringLiteral("/IMG_%1.jpg").arg(2 * i),
                      b = photos + QStringLiteral("/IMG_%1.jpg").arg(2 * i + 1);
        QFile::copy(photos + QStringLiteral("/modele.jpg"), a);
        QFile::copy(photos + QStringLiteral("/modele.jpg"), b);
        lignes << LigneDoublon(1000 + i, a, b);
    }
    TQuestionsBanc questions;
    DemarreProgramme(programme);
    MainForm->FixeQuestions(&questions);
    Controle<QTimer>("Timer2")->stop();
    while (!MainForm->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    TDestination* d = MainForm->AjouteDestination(photos, true, 0, 2);
    if (!d) return 1;
    d->AjouteSignature(std::make_shared<Tminiature>(), lignes);

    // Opening: from the click to the first pair's pictures shown.
    QElapsedTimer chrono;
    double ouverture = 0, choix = 0;
    struct TDialoguesRevue : TDialoguesBanc {
        QElapsedTimer* chrono;
        double* ouverture;
        double* choix;
        // The review's controls, found once, out of the timings.
        TImage* image1 = DuDialogue<TImage>(*FormDedoublone, "Image1");
        QTableView* grille = DuDialogue<QTableView>(*FormDedoublone, "StringGrid1");
        int MontreModal(QDialog& dialogue) override {
            dialogue.show();
            while (FormDedoublone->ChargementEnCours() || image1->TailleNaturelle().isEmpty())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            *ouverture = Ms(*chrono);
            // A row of two small files, then back to the row of the two 12-megapixel photos.
            grille->setCurrentIndex(grille->model()->index(1, 0));
            while (FormDedoublone->ChargementEnCours())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            chrono->start();
            grille->setCurrentIndex(grille->model()->index(0, 0));
            while (FormDedoublone->ChargementEnCours())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            *choix = Ms(*chrono);
            dialogue.hide();
            return QDialog::Rejected;
        }
    } dialogues;
    dialogues.chrono = &chrono;
    dialogues.ouverture = &ouverture;
    dialogues.choix = &choix;
    MainForm->FixeDialogues(&dialogues);
    chrono.start();
    MainForm->RevoitDoublons(*d);
    std::printf("review of 10,001 pairs: first pair shown %.0f ms after the click; a row of two 12-megapixel "
                "JPEGs shown in %.0f ms\n",
                ouverture, choix);

    // One image in 1,000 pairs spread over 100 destinations of 100 other pairs each.
    const QString commune = photos + QStringLiteral("/commune.jpg");
    QFile::copy(photos + QStringLiteral("/modele.jpg"), commune);
    for (int k = 0; k < 100; ++k) {
        auto autre = std::make_shared<TDestination>();
        autre->Chemin = QStringLiteral("/ailleurs/%1").arg(k);
        QStringList siennes;
        for (int i = 0; i < 10; ++i)
            siennes << LigneDoublon(i, QStringLiteral("/ailleurs/%1/x%2.jpg").arg(k).arg(i), commune);
        for (int i = 0; i < 100; ++i)
            siennes << LigneDoublon(i, QStringLiteral("/ailleurs/%1/y%2.jpg").arg(k).arg(i),
                                    QStringLiteral("/ailleurs/%1/z%2.jpg").arg(k).arg(i));
        autre->AjouteSignature(std::make_shared<Tminiature>(), siennes);
        Config()->Destinations.Ajoute(autre->Chemin, autre);
    }
    chrono.start();
    MetALaCorbeille(commune, Config()->Destinations.Element(0)->Chemin);
    OublieImages(Config()->Destinations, {commune});
    std::printf(
        "deleting an image in 1,000 pairs across 100 destinations (and 10,000 other pairs there): %.1f ms\n",
        Ms(chrono));
    Config()->Destinations.DetruitDepuis(2);

    // The signature manager over 2,000 stored folders of 100 signatures.
    const QString signatures = Config()->ContexteDestinations.DossierSignatures();
    {
        TIndexPartage index;
        TMagasinSignatures magasin(signatures, &index);
        for (int k = 0; k < 2000; ++k) {
            TListeDoublons liste(QStringLiteral("/stock/%1").arg(k));
            for (int i = 0; i < 100; ++i) {
                auto s = std::make_shared<Tminiature>();
                s->Fichier = liste.Dossier + QStringLiteral("/%1.jpg").arg(i);
                liste.Miniatures.push_back(s);
            }
            magasin.Sauve(liste, {});
        }
        magasin.TermineLot(index);
    }
    FormMiniatures->Prepare(signatures, &Config()->Destinations, &MainForm->ImageList4, &questions);
    chrono.start();
    FormMiniatures->show();
    QCoreApplication::processEvents();
    std::printf("signature manager over %d stored folders: shown in %.0f ms\n",
                DuDialogue<QTreeWidget>(*FormMiniatures, "TreeView1")->topLevelItemCount(), Ms(chrono));
    FormMiniatures->hide();
    MainForm->close();
    while (MainForm->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    DetruitFenetres();
    return 0;
}
