#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "enregistrement.h"

#include <ctime>

// A test's own folders: the program's folder (with the icon strip and the help file), and a home
// folder that is the default source.
class EnvironnementTest {
public:
    EnvironnementTest();
    ~EnvironnementTest();

    QString Racine() const { return temporaire.path(); }
    QString Programme;
    QString Source;

    // Creates a folder (and its parents) under the root; returns its path.
    QString Dossier(const QString& relatif) const;

private:
    QTemporaryDir temporaire;
    QByteArray ancienHome;
};

// Writes a small picture in the format its extension names (jpg, jpeg, jpe: JPEG; bmp; gif).
void EcritImage(const QString& chemin, int largeur = 32, int hauteur = 24);
// Writes raw bytes to a path given as bytes, so that any name can be made.
void EcritFichier(const QByteArray& chemin, const QByteArray& contenu);
// With MIRASOLVE_GRAINES naming a folder, keeps a copy of a file a test wrote there, under its own
// name: the fuzz targets' seeds are taken from these fixtures (scripts/graines.sh). Every file
// written by EcritFichier is kept so.
void GardeCommeGraine(const QByteArray& chemin, const QByteArray& contenu);
// Sets a file's last-write time.
void FixeDateModification(const QByteArray& chemin, std::time_t instant);

#include <functional>

class QImage;
// The mean difference between two pictures of the same size, in levels per channel; 255 when
// their sizes differ or they are empty.
double EcartMoyen(const QImage& a, const QImage& b);

// Runs the event loop until the condition holds or the delay has passed; true when it held.
bool AttendQue(const std::function<bool()>& condition, int delaiMs);
