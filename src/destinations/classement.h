#pragma once

#include <QByteArray>
#include <QString>

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

struct TAnnulation {
    int IndexRemis = -1; // where the file came back into the source list; -1 when not into it
    QString NomRemis;    // its name there
    QString Echec;       // why it could not be undone, for the user
};

// Undoes the last filing: a moved file goes back to its place (never over another file) and into
// the source list when it belongs to the folder shown; a copy is deleted. Only the file that was
// filed is ever moved or deleted: when the file the step names is gone, or is another one, nothing
// is touched and Echec says what became of it. The destination, if still open, forgets the file.
// The step leaves the record whatever happens, so that older ones stay reachable. Nothing when
// the record is empty.
TAnnulation AnnuleDernierClassement(TJournalAnnulation& journal, TSourceListe& source);
