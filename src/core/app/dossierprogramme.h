#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its data ("Mirasolve.ini", "Corbeille", "Signatures") and where it reads
// its icon strip and help file.
struct DossiersProgramme {
    QString Donnees;    // DossierProgramme: without trailing separator
    QString Ressources; // the executable's folder, or share/mirasolve when installed
};

// Installed (the executable in bin/ and its icon strip in ../share/mirasolve/): resources from
// there, data in the per-user data folder, created. Otherwise resources beside the executable,
// and data there too when the folder is writable, else in the per-user data folder.
DossiersProgramme ResoutDossiersProgramme(const QString& dossierExecutable);

// Creates "Corbeille" and "Signatures" in the data folder when they are missing; returns the
// folders that could not be created.
QStringList CreeDossiersAttendus(const QString& dossierProgramme);
