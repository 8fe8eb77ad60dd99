#pragma once

#include "source/sourceliste.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

class IFenetrePrincipale;
class TDestination;

// The persisted state of the program and the list of open destinations (entry 0 is the trash).
class Tconfiguration {
public:
    explicit Tconfiguration(TSourceListe& source);

    int32_t WindowWidth = 640;
    int32_t WindowHeight = 480;
    int32_t WindowLeft = 0;
    int32_t WindowTop = 0;
    int32_t Divider1 = 417;
    int32_t Divider2 = 204;
    int32_t Divider3 = 129;
    QString SourcePath;
    int32_t SizeFilterX = 130;
    int32_t SizeFilterY = 130;
    bool SizeFilter = false;
    int32_t DestinationCount = 0;
    TListeDestinations Destinations;
    bool Maximized = false;
    // The undo record: one entry per file filed since start-up.
    QStringList AnnulSources;
    QStringList AnnulCibles;
    QStringList AnnulIndex;
    QList<TDestination*> AnnulDestinations;
    int32_t Sensibilite = 0;
    bool BullesAide = false;

    void ReleveFenetre(IFenetrePrincipale& fenetre);
    void AppliqueFenetre(IFenetrePrincipale& fenetre);
    // Removes one trailing separator, stores the folder as SourcePath and scans it.
    void ChangeSource(const QString& chemin);

    // The values that reading a missing configuration file gives, then the default source folder
    // scanned and sorted by name.
    void LectureParDefaut();

private:
    TSourceListe& source;
};
