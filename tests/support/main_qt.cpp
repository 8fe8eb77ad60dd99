#include "core/source/decodage.h"
#include "ui/app/traduction.h"

#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

// Every test program runs headless with a real application object, as the program does.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirasolve"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    InstalleTraductionsQt();
    FixeLimiteDecodage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
