#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <set>
#include <unordered_set>
#include <utility>

// What a walk through a folder tree needs to know of one folder.
struct TContenuDossier {
    // Full paths of the sub-folders, in the order the file system returns them; hidden ones (a
    // leading ".") are left out. A folder that cannot be read has none.
    QStringList SousDossiers;
    // True when some entry's name matches one of the four image masks.
    bool ContientImages = false;
};

// Reads the folder once.
TContenuDossier LitDossier(const QString& dossier);

// The folders a walk has entered, by their identity on disk, so that a link back to a folder
// already walked cannot send the walk round in circles.
class TDossiersVus {
public:
    // True the first time the folder is met; false when it was met before or cannot be reached.
    bool PremiereVisite(const QString& dossier);

private:
    std::set<std::pair<uint64_t, uint64_t>> vus;
#ifdef Q_OS_WIN
    std::set<QString> vusParChemin;
#endif
};

// What a walk through a folder tree keeps while it runs: the folders already open as
// destinations, and the folders it has entered.
struct TMarche {
    std::unordered_set<QString> CheminsOuverts;
    TDossiersVus Vus;
};
