#pragma once

#include "controles.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "core/source/tachesource.h"
#include "dialoguestest.h"
#include "environnement.h"
#include "programmecourant.h"
#include "questionstest.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/plateforme.h"
#include "ui/source/affichagesource.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

// The main window's control of type T with that object name, as a user-level test tool finds it.
// None, or several, fails the test and throws, so that no test goes on with the wrong control.
template <class T> T* Controle(const QString& nom) {
    const QList<T*> trouves = MainForm ? ControlesDeLaFenetre<T>(*MainForm, nom) : QList<T*>();
    if (trouves.size() == 1) return trouves.front();
    const QString erreur = QStringLiteral("%1 controls named \"%2\" in the main window, one expected")
                               .arg(trouves.size())
                               .arg(nom);
    ADD_FAILURE() << qPrintable(erreur);
    throw std::logic_error(erreur.toStdString());
}

// The whole program started in a test's own folders, with a few images in the default source.
class ProgrammeTest : public testing::Test {
protected:
    void Demarre(const QStringList& images = {QStringLiteral("c.jpg"), QStringLiteral("A.gif"),
                                              QStringLiteral("b.bmp")}) {
        for (const QString& nom : images)
            EcritImage(env.Source + u'/' + nom);
        CreeFenetres({env.Programme, env.Programme});
        // No message box waits for a user: the test plays them.
        MainForm->FixeQuestions(&utilisateur);
        // Nor does a dialog: one that a test did not expect fails it.
        MainForm->FixeDialogues(&dialogues);
    }
    // The configuration file the program will read, with these destinations.
    QString EcritConfiguration(const QList<QStringList>& destinations) {
        QStringList lignes{QStringLiteral("DestinationCount=%1").arg(destinations.size())};
        for (const QStringList& d : destinations)
            lignes << d;
        const QString fichier = env.Programme + QStringLiteral("/Mirasolve.ini");
        EXPECT_TRUE(TexteFichier::Ecrit(fichier, lignes));
        return fichier;
    }
    // The main window shown as after start-up, its panel laid out.
    static void Affiche() {
        MontreAuDemarrage(*MainForm);
        MainForm->Timer1Timer();
        ASSERT_TRUE(AttendQue([] { return MainForm->isVisible() && !MainForm->isMinimized(); }, 2000));
        QCoreApplication::processEvents();
        MainForm->RafraichisListeDestinations();
    }
    // Waits for the display to rest and the loaders to be freed, so that nothing outlives a test.
    void TearDown() override {
        if (MainForm) AttendRepos();
        DetruitFenetres();
        AttendQue([] { return TTacheSource::Vivantes() == 0; }, 5000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Until no display request waits and no preview loads.
    static bool AttendRepos() {
        return AttendQue(
            [] {
                return !Source() ||
                       (!Controle<QTimer>("TimerCourantAff")->isActive() &&
                        Source()->ChargementsEnCours == 0 && !MainForm->Affichage->ApercuEnChargement() &&
                        !MainForm->Affichage->PreparationEnCours());
            },
            5000);
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TDialoguesTest dialogues;
};
