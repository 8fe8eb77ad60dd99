#include "core/source/decodage.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

// The test programs of the core: pictures, fonts and screens, but no widget. They link the core
// library alone, so that a widget reaching into the core breaks their build.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Mirasolve"));
    FixeLimiteDecodage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
