#include "application.h"

#include "core/source/decodage.h"
#include "ui/app/traduction.h"

#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

int LanceTestsAvecApplication(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirasolve"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.mirasolve.Mirasolve"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    InstalleTraductionsQt();
    FixeLimiteDecodage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
