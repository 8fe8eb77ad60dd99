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

// One file moved by a command, which can be undone: a filed file, or an image the review of
// pairs sent to the trash (Effacement).
struct TEtapeAnnulation {
    // Where it comes back to: the path it had in the source folder, or, for an image sent to the
    // trash by the review, the path it had in its destination.
    QByteArray Source;
    QByteArray Cible; // where it is: in the destination, or wherever the program has moved it since
    int Index = 0;    // its index in the source list when it was filed
    // The destination that received it, or the one an image sent to the trash came from; empty
    // (expired) or closed once it has been closed, so that undoing never reaches it, nor another
    // destination made later.
    std::weak_ptr<TDestination> Destination;
    bool Copie = false;
    // Sent to the trash by the review: undoing puts it back into its destination, which learns it
    // again, and never into the source list.
    bool Effacement = false;
    TIdentiteFichier Identite; // the file at Cible, taken right after the move
    quint64 Commande = 0;      // the command it belongs to: its steps are undone together
};

// Every step since start-up, oldest first, grouped by command. The steps follow their files when
// the program moves them, so that undoing finds the file that was moved, wherever it went.
class TJournalAnnulation {
public:
    QList<TEtapeAnnulation> Etapes;

    bool EstVide() const { return Etapes.isEmpty(); }
    qsizetype Nombre() const { return Etapes.size(); }

    // Records a step: in the command open (TCommandeAnnulation), or as a command of its own.
    void Ajoute(TEtapeAnnulation etape);
    // Takes the steps of the last command out of the record, newest first.
    QList<TEtapeAnnulation> RetireDerniereCommande();

    // Files the program has just moved (old path -> new path): each step naming an old path
    // names the new one.
    void SuitRenommages(const QHash<QByteArray, QByteArray>& renommages);
    // The steps whose file was at one of these paths when it was deleted; how many files they had.
    qsizetype OublieEffaces(const QSet<QByteArray>& effaces);
    // The steps whose file is the one at this path now.
    QList<qsizetype> EtapesDe(const QByteArray& chemin) const;

private:
    friend class TCommandeAnnulation;
    quint64 derniere = 0; // the number of the last command opened
    int ouvertes = 0;     // commands open, one inside the other: they make one
};

// While it lives, every step recorded in the journal belongs to one command, which one undo takes
// back whole. Opened inside another, it adds to that one.
class TCommandeAnnulation {
public:
    explicit TCommandeAnnulation(TJournalAnnulation& journal);
    ~TCommandeAnnulation();
    TCommandeAnnulation(const TCommandeAnnulation&) = delete;
    TCommandeAnnulation& operator=(const TCommandeAnnulation&) = delete;

private:
    TJournalAnnulation& journal;
};

// Moves a file as Fichiers::Deplace does, and the steps that name it follow it: those that held it
// take the identity it has at its new place (a move to another file system makes a new file).
Fichiers::Resultat DeplaceEnSuivant(TJournalAnnulation* journal, const QByteArray& de,
                                    const QByteArray& vers);

// What the user is told when emptying the trash destroyed the files of some undo steps (one file
// each).
QString MessageEtapesPerdues(qsizetype fichiers);
