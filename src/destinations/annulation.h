#pragma once

#include "fichiers.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <ctime>
#include <memory>

#include <sys/types.h>

class TDestination;

// What tells one file from another that took its name: where it lives on the disk, its size and
// its modification time.
struct TIdentiteFichier {
    dev_t Peripherique = 0;
    ino_t Inode = 0;
    off_t Taille = -1; // -1: nothing was found
    timespec Modification{};

    bool Existe() const { return Taille >= 0; }
    bool MemeEmplacement(const TIdentiteFichier& autre) const {
        return Existe() && autre.Existe() && Peripherique == autre.Peripherique && Inode == autre.Inode;
    }
    bool operator==(const TIdentiteFichier& autre) const {
        return MemeEmplacement(autre) && Taille == autre.Taille &&
               Modification.tv_sec == autre.Modification.tv_sec &&
               Modification.tv_nsec == autre.Modification.tv_nsec;
    }
};

// The identity of what the path names itself (a link is not followed); nothing when it is gone.
TIdentiteFichier IdentiteDe(const QByteArray& chemin);

// One filed file that can be undone.
struct TEtapeAnnulation {
    QByteArray Source; // the path it had in the source folder
    QByteArray Cible;  // where it is: in the destination, or wherever the program has moved it since
    int Index = 0;     // its index in the source list when it was filed
    // The destination that received it; empty (expired) or closed once it has been closed, so
    // that undoing never reaches it, nor another destination made later.
    std::weak_ptr<TDestination> Destination;
    bool Copie = false;
    TIdentiteFichier Identite; // the file at Cible, taken right after filing
};

// Every filing since start-up, oldest first. The steps follow their files when the program moves
// them, so that undoing finds the file that was filed, wherever it went.
class TJournalAnnulation {
public:
    QList<TEtapeAnnulation> Etapes;

    bool EstVide() const { return Etapes.isEmpty(); }
    qsizetype Nombre() const { return Etapes.size(); }

    // Files the program has just moved (old path -> new path): each step naming an old path
    // names the new one.
    void SuitRenommages(const QHash<QByteArray, QByteArray>& renommages);
    // The steps whose file was at one of these paths when it was deleted; how many went.
    qsizetype OublieEffaces(const QSet<QByteArray>& effaces);
    // The steps whose file is the one at this path now.
    QList<qsizetype> EtapesDe(const QByteArray& chemin) const;
};

// Moves a file as Fichiers::Deplace does, and the steps that name it follow it: those that held it
// take the identity it has at its new place (a move to another file system makes a new file).
Fichiers::Resultat DeplaceEnSuivant(TJournalAnnulation* journal, const QByteArray& de,
                                    const QByteArray& vers);

// What the user is told when emptying the trash destroyed the files of some undo steps.
QString MessageEtapesPerdues(qsizetype nombre);
