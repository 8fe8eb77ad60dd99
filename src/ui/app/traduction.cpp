#include "traduction.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstalleTraductionsQt() {
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (!traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduction;
        return false;
    }
    return QCoreApplication::installTranslator(traduction);
}
