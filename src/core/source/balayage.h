#pragma once

#include "formats.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

// Folder search by the program's image masks (formats.h), in their order. Extensions are compared
// without regard to case.

struct TEntreeDossier {
    QByteArray Nom;     // bytes of the name as the file system returns it
    int64_t Taille = 0; // size in bytes (plain files only)
    std::time_t Modification = 0;
};

enum class Recherche {
    FichiersVisibles, // plain files only: hidden files (a leading ".") and sub-folders are left out
    ToutesEntrees,    // every entry whose name matches, folders and hidden ones included (no size)
};

using EntreesParMasque = std::array<std::vector<TEntreeDossier>, NombreMasques>;

#ifndef Q_OS_WIN
// Visits every entry of a folder but "." and "..", in the order the file system gives them, with
// its name, its type as the directory says it (DT_REG, DT_DIR, DT_LNK, or DT_UNKNOWN when the file
// system does not tell), and the folder's descriptor to stat it from. False when the folder
// cannot be opened. The one place where the program reads a folder.
bool ParcourtDossier(const QByteArray& dossier,
                     const std::function<void(const char* nom, unsigned char type, int descripteur)>& visite);
#endif

// Index of the mask that a name matches, or -1.
int MasqueDuNom(const QByteArray& nom);

// Reads the folder once and sorts its matching entries into one block per mask, each in the order
// the file system returns them. A folder that is missing or unreadable gives empty blocks, and
// false in lu when it is given.
EntreesParMasque ChercheImages(const QString& dossier, Recherche recherche, bool* lu = nullptr);
// The same for a folder given as the file system's bytes.
EntreesParMasque ChercheImages(const QByteArray& dossier, Recherche recherche, bool* lu = nullptr);

// Packs a time as a DOS date-time in local time (bits 25-31 year - 1980, 21-24 month, 16-20 day,
// 11-15 hour, 5-10 minute, 0-4 seconds / 2). Times before 1980 pack as 1980-01-01 00:00:00 and
// times after 2107 as the last second that the format holds.
int32_t DateDOS(std::time_t instant);
