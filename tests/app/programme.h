#pragma once

#include "app/demarrage.h"
#include "environnement.h"

#include <gtest/gtest.h>

// The whole program started in a test's own folders, with a few images in the default source.
class ProgrammeTest : public testing::Test {
protected:
    void Demarre(const QStringList& images = {QStringLiteral("c.jpg"), QStringLiteral("A.gif"),
                                              QStringLiteral("b.bmp")}) {
        for (const QString& nom : images) EcritImage(env.Source + u'/' + nom);
        CreeFenetres({env.Programme, env.Programme});
    }
    void TearDown() override { DetruitFenetres(); }

    EnvironnementTest env;
};
