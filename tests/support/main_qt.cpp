#include "application.h"

#include <QByteArray>
#include <QtGlobal>

// Every test program runs headless with a real application object, as the program does.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return LanceTestsAvecApplication(argc, argv);
}
