#include "dossierprogramme.h"

#include "chemins.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

DossiersProgramme ResoutDossiersProgramme(const QString& dossierExecutable) {
    DossiersProgramme dossiers;
    dossiers.Ressources = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(dossierExecutable));
    const QFileInfo info(dossierExecutable);
    if (info.isDir() && info.isWritable()) {
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
