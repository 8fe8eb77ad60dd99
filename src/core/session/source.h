#pragma once

#include "core/source/positionsource.h"
#include "core/tools/renommage.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// What a change of source did: the folder scanned, how many files it lists and the one to show.
struct TResultatSource {
    bool Chargee = false; // a folder was scanned: the list is a new one
    QString Dossier;      // the source folder now, without a final separator
    int Nombre = 0;
    int IndexAffiche = 0;
    bool Gardee = false; // the file asked to stay current is current again
};

// What renaming a destination's files did: nothing when the user said no (or there is no such
// destination); otherwise the renaming's detail and, when files kept their names, the one message.
struct TRenommageDestination {
    bool Fait = false;
    TResultatRenommage Detail;
    QString Message;
};

// What emptying the trash did: the files that stayed, with why; how many files undo steps named
// that went with them; the one message, empty when there is nothing to tell.
struct TResultatCorbeille {
    QStringList Echecs;
    qsizetype EtapesPerdues = 0;
    QString Message;
};

// What deleting images from the review did: the images now in the trash, in the order they went,
// those that stayed ("« path » : reason") and the one message, empty when none stayed.
struct TResultatEffacement {
    QStringList Effacees;
    QStringList Echecs;
    QString Message;
};

// What opening or saving a configuration file did. Refusee: the default file's name, nothing
// done. Fait: the file was read (its destinations in place of the open ones) or written whole.
// Message: the one message to show, an error when Erreur (a file that cannot be read), a warning
// otherwise; empty when there is nothing to tell.
struct TResultatConfiguration {
    bool Refusee = false;
    bool Fait = false;
    QString Message;
    bool Erreur = false;
    TResultatSource Source; // after an opening: the source scanned again
};
