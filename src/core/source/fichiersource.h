#pragma once

#include <QByteArray>

#include <cstdint>

// One listed image file of the source folder, as the folder search found it.
struct TFichierSource {
    QByteArray Nom;     // the name's bytes as the file system gives them, without folder
    int32_t Taille = 0; // low 32 bits of the size in bytes
    int32_t Date = 0;   // last-write time, packed DOS date-time in local time
};
