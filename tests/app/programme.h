#pragma once

#include "app/demarrage.h"
#include "app/globaux.h"
#include "app/mainform.h"
#include "environnement.h"
#include "source/affichagesource.h"
#include "source/sourceliste.h"
#include "source/tachesource.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

// The whole program started in a test's own folders, with a few images in the default source.
class ProgrammeTest : public testing::Test {
protected:
    void Demarre(const QStringList& images = {QStringLiteral("c.jpg"), QStringLiteral("A.gif"),
                                              QStringLiteral("b.bmp")}) {
        for (const QString& nom : images) EcritImage(env.Source + u'/' + nom);
        CreeFenetres({env.Programme, env.Programme});
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
                return !ListeSource || (!MainForm->TimerCourantAff->isActive() && ListeSource->ChargementsEnCours == 0 &&
                                        !MainForm->Affichage->ApercuEnChargement());
            },
            5000);
    }

    EnvironnementTest env;
};
