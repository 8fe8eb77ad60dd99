#include "controles.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/planification.h"
#include "photo.h"
#include "programme.h"
#include "ui/app/progression.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>

// Through the real window: the search finds a pair, the tile menu renames the folder's files, and
// the signatures, the pair and the store follow the new names.
TEST_F(ProgrammeTest, RenommerDepuisLeMenuDeLaTuile) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QImage photo = PhotoSynthetique(21, 640, 480);
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage.jpg"), "JPEG", 90));
    ASSERT_TRUE(photo.save(vacances + QStringLiteral("/plage copie.jpg"), "JPEG", 60));
    ASSERT_TRUE(PhotoSynthetique(22, 640, 480).save(vacances + QStringLiteral("/dune.jpg"), "JPEG", 90));
    EcritConfiguration({Enregistrement("Vacances", vacances, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    TDestination* d = Config()->Destinations.Element(1);
    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue(
        [] {
            return MainForm->Session().Occupe.load() == 0 &&
                   DestinationEnTraitement(Config()->Destinations) < 0;
        },
        30000));
    ASSERT_EQ(d->Comptes().Signatures, 3);
    ASSERT_EQ(d->Comptes().Doublons, 1);
    const QString indiceAvant = TPanneauDestinations::Indice(*d);

    QStringList defauts;
    dialogues.Texte = [&](const QString& titre, const QString& invite,
                          const QString& defaut) -> std::optional<QString> {
        EXPECT_EQ(titre, QStringLiteral("Renommer les fichiers"));
        EXPECT_EQ(invite, QStringLiteral("Base du nom"));
        defauts << defaut;
        return QStringLiteral("Ete");
    };
    utilisateur.OkAnnuler = [](const QString&) { return true; };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Renommerlesfichiers1")->trigger();
    EXPECT_EQ(QDir(vacances).entryList(QDir::Files, QDir::Name),
              (QStringList{"Ete0.jpg", "Ete1.jpg", "Ete2.jpg"}));
    EXPECT_EQ(TPanneauDestinations::Indice(*d), indiceAvant);
    // The wait window went through its two passes and is gone.
    EXPECT_EQ(ControleDe<QLabel>(*FormProgress, "Label2")->text(), QStringLiteral("Renommage des fichiers"));
    EXPECT_EQ(ControleDe<QProgressBar>(*FormProgress, "ProgressBar1")->maximum(), 6);
    EXPECT_EQ(ControleDe<QProgressBar>(*FormProgress, "ProgressBar1")->value(), 6);
    EXPECT_FALSE(FormProgress->isVisible());
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
    // The pair follows: its files exist under their new names, so the review opens on it.
    QStringList montres;
    dialogues.Modal = [&](QDialog& dialogue) {
        montres << dialogue.objectName();
        return int(QDialog::Rejected);
    };
    MainForm->RevoitDoublons(*d);
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormDedoublone")});
    EXPECT_TRUE(d->CopieDoublons().front().contains(vacances + QStringLiteral("/Ete")));

    // Cancelled the second time: nothing moves, and the default was the title again.
    dialogues.Texte = [&](const QString&, const QString&, const QString& defaut) -> std::optional<QString> {
        defauts << defaut;
        return std::nullopt;
    };
    Controle<QAction>("Renommerlesfichiers1")->trigger();
    EXPECT_EQ(defauts, (QStringList{"Vacances", "Vacances"}));
    EXPECT_EQ(QDir(vacances).entryList(QDir::Files, QDir::Name).size(), 3);

    // Quit and start again: nothing to decode, the pair kept.
    const QStringList doublons = d->CopieDoublons();
    ASSERT_TRUE(MainForm->close());
    DetruitFenetres();
    CreeFenetres({env.Programme, env.Programme});
    MainForm->FixeQuestions(&utilisateur);
    TDestination* relue = Config()->Destinations.Element(1);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);
    EXPECT_EQ(relue->Comptes().Signatures, 3);
    EXPECT_EQ(relue->CopieDoublons(), doublons);
    EXPECT_FALSE(QFile::exists(env.Programme + QStringLiteral("/Renommage.txt")));
}

// Before anything moves, the question shows the first and the last new names and the count, as the
// renaming then gives them; "Annuler" leaves the folder as it was.
TEST_F(ProgrammeTest, RenommerMontreLesNomsAvant) {
    const QString plage = env.Dossier(QStringLiteral("Plage"));
    for (int i = 0; i < 12; ++i)
        EcritImage(plage + (i == 5 ? QStringLiteral("/zz.GIF") : QStringLiteral("/img%1.jpg").arg(i)));
    EcritConfiguration({Enregistrement("Plage", plage)});
    Demarre();
    const QStringList dossier = QDir(plage).entryList(QDir::Files);
    dialogues.Texte = [](const QString&, const QString&, const QString&) { return QStringLiteral("Ete"); };
    QStringList questions;
    utilisateur.OkAnnuler = [&](const QString& question) { return (questions << question).size() == 2; };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Renommerlesfichiers1")->trigger();
    const QRegularExpressionMatch noms =
        QRegularExpression(QStringLiteral("(Ete00\\.\\w+) … (Ete11\\.\\w+), 12 fichiers"))
            .match(questions.value(0));
    ASSERT_TRUE(noms.hasMatch()) << questions.value(0).toStdString();
    EXPECT_EQ(QDir(plage).entryList(QDir::Files), dossier);

    Controle<QAction>("Renommerlesfichiers1")->trigger();
    EXPECT_TRUE(QFile::exists(plage + u'/' + noms.captured(1)) &&
                QFile::exists(plage + u'/' + noms.captured(2)));
}
