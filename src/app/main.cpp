#include "demarrage.h"
#include "dossierprogramme.h"
#include "globaux.h"
#include "mainform.h"
#include "traduction.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirasolve"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The program's own key handling and help replace the platform's quit-on-last-window rule:
    // the application ends with its main window.
    QApplication::setQuitOnLastWindowClosed(false);
    InstalleTraductionsQt();

    CreeFenetres(ResoutDossiersProgramme(QCoreApplication::applicationDirPath()));
    QObject::connect(MainForm, &TMainForm::Fermee, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    MainForm->showMinimized();

    const int code = QApplication::exec();
    DetruitFenetres();
    return code;
}
