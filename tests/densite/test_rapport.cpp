#include "densite.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

// Every run is at the ratio it was started for: otherwise the other tests of the program would
// all run at 100 % and prove nothing about the others.
TEST(Densite, LaFenetreEstAuRapportDemande) {
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_DOUBLE_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), RapportDemande());
    QWidget fenetre;
    fenetre.resize(200, 100);
    fenetre.show();
    EXPECT_DOUBLE_EQ(fenetre.devicePixelRatioF(), RapportDemande());
}
