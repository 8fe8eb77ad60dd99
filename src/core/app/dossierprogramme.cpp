#include "dossierprogramme.h"

#include "chemins.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

DossiersProgramme ResoutDossiersProgramme(const QString& dossierExecutable) {
    DossiersProgramme dossiers;
    dossiers.Ressources = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(dossierExecutable));
    // Installed (bin/ beside share/mirasolve/), the program is shared: its data goes to each user.
    const QString partage = QDir::cleanPath(dossierExecutable + QStringLiteral("/../share/mirasolve"));
    const bool installe = QFileInfo::exists(partage + QStringLiteral("/BandeMenu.bmp"));
    if (installe) dossiers.Ressources = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(partage));
    const QFileInfo info(dossierExecutable);
    if (!installe && info.isDir() && info.isWritable()) {
        dossiers.Donnees = dossiers.Ressources;
    } else {
        const QString donnees = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(donnees);
        dossiers.Donnees = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(donnees));
    }
    return dossiers;
}

QStringList CreeDossiersAttendus(const QString& dossierProgramme) {
    QStringList echecs;
    for (const QString& nom : {QStringLiteral("Corbeille"), QStringLiteral("Signatures")}) {
        const QString chemin = Chemins::Joint(dossierProgramme, nom);
        if (!QFileInfo(chemin).isDir() && !QDir().mkpath(chemin)) echecs << chemin;
    }
    return echecs;
}
