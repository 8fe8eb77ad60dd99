#include "core/app/dossierprogramme.h"
#include "demarrage.h"
#include "globaux.h"
#include "mainform.h"
#include "plateforme.h"
#include "signaux.h"
#include "traduction.h"

#include "core/source/decodage.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirasolve"));
    // The desktop entry and icon an installed program goes by.
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.mirasolve.Mirasolve"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("fr.mirasolve.Mirasolve")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The program's own key handling and help replace the platform's quit-on-last-window rule:
    // the application ends with its main window.
    QApplication::setQuitOnLastWindowClosed(false);
    InstalleTraductionsQt();
    FixeLimiteDecodage();

    CreeFenetres(ResoutDossiersProgramme(QCoreApplication::applicationDirPath()));
    QObject::connect(MainForm, &TMainForm::Fermee, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Asked to end by the session or a terminal: closed as by its window, settings kept.
    FermeSurSignal(&application, [] { FermeQuandLibre(MainForm); });
    MontreAuDemarrage(*MainForm);

    const int code = QApplication::exec();
    DetruitFenetres();
    return code;
}
