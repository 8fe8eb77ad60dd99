#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a Qt application without a display, started before the first
// input (HOME in the scratch folder, so that a default folder never leads out of it), and a scratch
// folder of its own where each input is written as the file the reader expects.

// The scratch folder, made on first use and removed at exit.
QString DossierDeTravail();

// Writes the bytes to a file of the scratch folder, replacing it; the path as the file system's
// bytes.
QByteArray EcritEntree(const QString& nom, const uint8_t* octets, size_t taille);
QByteArray EcritEntree(const QString& nom, const QByteArray& octets);

// Empties the scratch folder, so that no input sees what an earlier one left.
void VideDossierDeTravail();

// A property the code promises that an input broke: reported as a crash, with its input.
[[noreturn]] void Viole(const char* promesse);
#define EXIGE(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) Viole(#condition);                                                                 \
    } while (false)
