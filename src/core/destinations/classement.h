#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "listedestinations.h"

class TJournalAnnulation;
class TDestination;
class TSourceListe;

// Filing and undoing it, as operations on the data alone: the source list, the destination and
// the undo record that the configuration holds. The windows call them and show what they say.

struct TClassement {
    bool Classe = false; // the file is in the destination
    QByteArray Cible;    // its path there
    QString Echec;       // why it is not, for the user; empty when there was nothing to do
};

// Files entry index of the source list into the destination, under a free name (the next one
// when a name is taken meanwhile): moved, and then out of the list, or copied. Nothing is filed
// into a closed destination. The filing is recorded for undo, with the identity of the new file,
// and the new file queued for its signature.
TClassement ClasseFichier(TSourceListe& source, int index, TDestination& destination, bool copie,
                          TJournalAnnulation& journal);

// What undoing one file did.
struct TFichierAnnule {
    int IndexRemis = -1; // where the file came back into the source list; -1 when not into it
    QString NomRemis;    // its name there
    QString Echec;       // why it could not be undone, for the user
};

// What undoing a command did: each of its files, in the order they were undone.
struct TAnnulation {
    QList<TFichierAnnule> Fichiers;
    QString Echec; // the files that could not be undone, with why, one a line; empty when none
};

// Undoes the last command, each of its files from the newest, so that the source list's indexes
// come back as they were. A moved file goes back to its place (never over another file) and into
// the source list when it belongs to the folder shown, and its destination, if still open, forgets
// it; a copy is deleted. An image the review sent to the trash goes back to its place, never into
// the source list, and the destination open on that folder now (found among destinations; without
// them, the one it left, if still open) queues it for its signature again. Only the file that was
// moved is ever moved or deleted: when the file a step names is gone, or is another one, nothing
// is touched and the message says what became of it; the other files of the command are undone
// all the same. The command leaves the record whatever happens, so that older ones stay
// reachable. Nothing when the record is empty.
TAnnulation AnnuleDerniereCommande(TJournalAnnulation& journal, TSourceListe& source,
                                   const TListeDestinations* destinations = nullptr);
