#pragma once

#include "listedoublons.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <unordered_map>

// 20 capital letters A-Z, each drawn uniformly, from a generator seeded once per run.
QString NomAleatoire();

// A duplicate line: the dissimilarity as 10 zero-padded digits, the newer image, the older one,
// each followed by "*".
QString LigneDoublon(int32_t dissemblance, const QString& nouvelle, const QString& ancienne);

// The index of the store held in memory while many folders are saved or erased in a row: read
// once, written once at the end of the batch.
struct TIndexPartage {
    QStringList Lignes; // an erased pair is left as two empty lines until the index is written
    std::unordered_map<QString, qsizetype> LigneParDossier; // by the folder's case-folded path
    bool Lu = false;
    bool Modifie = false;
    bool Protege = false; // lines were dropped that could not be kept aside: never written over
};

// A folder of the store as its files describe it: the counts its ".txt" file holds (not what an
// open destination holds in memory since), and the last change of that file (none when it has no
// file).
struct TDossierStocke {
    QString Dossier;
    qsizetype Signatures = 0;
    qsizetype Intraitables = 0;
    qsizetype Doublons = 0;
    QDateTime Date;
};

// The signature store: the folder "Signatures" of the program's folder, with its index
// "Index.txt" of (folder path, base name) line pairs, and per folder a base name's ".txt" and
// ".dat" files. Every file is replaced atomically.
class TMagasinSignatures {
public:
    // With a shared index, the index is read and written through it (see TIndexPartage); with a
    // list of copies, the path of every original kept aside is added to it.
    explicit TMagasinSignatures(QString dossierSignatures, TIndexPartage* partage = nullptr,
                                QStringList* copies = nullptr);

    QString FichierIndex() const;
    // The base name given to a folder (letter case ignored), or empty. A base name that is not
    // 20 capital letters is not ours and is never used as a file name.
    QString NomDeBase(const QString& dossier) const;

    // Loads a folder's signatures, untreatable images and well-formed duplicate lines (those that
    // follow "[Doublons]"); nothing when the folder has no store. Files that hold more than was
    // understood are kept aside (".illisible") before they can be written again with less.
    void Charge(const QString& dossier, TListeDoublons& liste, QStringList& doublons) const;

    // Writes a folder's store, giving it a base name when it has none; deletes both files instead
    // when there is nothing to keep; writes nothing when the files would not change. False when a
    // file could not be written (the previous store then stays).
    bool Sauve(TListeDoublons& liste, const QStringList& doublons) const;

    // Around a change of a folder's store that may have to be undone after a crash: keeps a copy
    // of each of its two files beside it (".avant"), after removing older copies; puts the files
    // back as their copies hold them (a file without a copy was not there and is removed); removes
    // the copies. False when a copy could not be made or a file put back.
    bool GardeAvantChangement(const QString& dossier) const;
    bool RetablitAvantChangement(const QString& dossier) const;
    void OublieAvantChangement(const QString& dossier) const;

    // Every folder of the index, in its order.
    QList<TDossierStocke> Inventaire() const;

    // Deletes a folder's files and its index entry.
    bool Efface(const QString& dossier) const;

    // Writes a shared index that changed, unless it is protected; true when nothing was to write.
    bool TermineLot(TIndexPartage& index) const;

private:
    // The well-formed (folder, base name) pairs of the index. protege, when given, tells that lines
    // were dropped and could not be kept aside, so that the index must not be written over;
    // aReecrire, that lines were dropped and kept aside, so that the index is written back clean.
    QStringList LitIndex(bool* protege = nullptr, bool* aReecrire = nullptr) const;
    // Keeps a file's original aside (see TexteFichier::GardeOriginal), noting where.
    QString Garde(const QString& fichier) const;
    // Keeps aside the ".txt" and ".dat" files of a base name that were not read whole.
    void GardeSiIncomplet(const QString& base, bool entier) const;
    bool EcritIndex(const QStringList& index) const;
    // The line of a folder's pair in the index (letter case ignored), or -1.
    qsizetype LigneDuDossier(const QStringList& index, const QString& dossier) const;
    QString CheminDeBase(const QString& nomDeBase) const;

    QString dossier;
    TIndexPartage* partage;
    QStringList* copiesGardees;
};
