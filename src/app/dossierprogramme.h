#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its data ("Mirasolve.ini", "Corbeille", "Signatures") and where it reads
// its icon strip and help file.
struct DossiersProgramme {
    QString Donnees;    // DossierProgramme: without trailing separator
    QString Ressources; // the executable's folder
};

// The executable's folder when it is writable; otherwise the per-user data folder, created.
DossiersProgramme ResoutDossiersProgramme(const QString& dossierExecutable);

// Creates "Corbeille" and "Signatures" in the data folder when they are missing; returns the
// folders that could not be created.
QStringList CreeDossiersAttendus(const QString& dossierProgramme);
