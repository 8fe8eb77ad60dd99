#pragma once

#include "miniature.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

// Size of one record of a ".dat" file: the grid, then the little-endian 64-bit proportion.
inline constexpr int TailleEnregistrement = 108;

// Byte-wise comparison of two paths with a-z taken as A-Z: the order of the records.
int CompareChemins(const QString& a, const QString& b);

// What tells that a file changed: its size in bytes and its last modification, in nanoseconds
// since 1970.
struct TEtatFichier {
    int64_t Taille = -1; // -1: unknown
    int64_t Modification = 0;
    bool operator==(const TEtatFichier&) const = default;
    // The state of a file given as the file system's bytes; unknown when it cannot be read.
    static TEtatFichier De(const QByteArray& chemin);
};

// One folder's signatures and its untreatable images. Signatures are shared so that none is freed
// while the search may still compare with it.
class TListeDoublons {
public:
    explicit TListeDoublons(QString dossier) : Dossier(std::move(dossier)) {}

    std::vector<std::shared_ptr<Tminiature>> Miniatures;
    QString Dossier;
    QStringList Intraitables;
    // The state of each untreatable image's file when it failed to decode, where known: a file
    // that changed since is tried again.
    QHash<QString, TEtatFichier> EtatsIntraitables;

    // What the store last held for this folder, as read or written (a digest of its files'
    // bytes); empty when unknown. A save that would write the same bytes writes nothing.
    QByteArray EmpreinteSauvee;

    // Appends "[Signatures]" and one name per signature to texte, and the records to
    // enregistrements, in CompareChemins order (the list is sorted in place), then
    // "[intraitables]" and the untreatable paths, each followed by "*size*modification*" when its
    // state is known.
    void Serialise(QStringList& texte, QByteArray& enregistrements);

    // Reads the signatures that the records (those of the ".dat" file, when there is one) and the
    // names of texte describe together, each image in dossier, then the untreatable paths with
    // their states where the lines give them. Only
    // complete pairs of a name and a record are taken; a name that is not a plain file name is
    // dropped with its record. False when something was left out: a partial record, a name or a
    // record without its pair, a name dropped.
    bool Lit(const QByteArray* enregistrements, const QStringList& texte, const QString& dossier);
};
