#pragma once

#include "miniature.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Size of one record of a ".dat" file: the grid, then the little-endian 64-bit proportion.
inline constexpr int TailleEnregistrement = 108;

// Byte-wise comparison of two paths with a-z taken as A-Z: the order of the records.
int CompareChemins(const QString& a, const QString& b);

// One folder's signatures and its untreatable images. Signatures are shared so that none is freed
// while the search may still compare with it.
class TListeDoublons {
public:
    explicit TListeDoublons(QString dossier) : Dossier(std::move(dossier)) {}

    std::vector<std::shared_ptr<Tminiature>> Miniatures;
    QString Dossier;
    QStringList Intraitables;

    // Appends "[Signatures]" and one name per signature to texte, writing the records to
    // base + ".dat" in CompareChemins order (the list is sorted in place), then "[intraitables]"
    // and the untreatable paths. False when the record file cannot be written; the previous one
    // then stays.
    bool Sauve(const QString& base, QStringList& texte);

    // Reads the signatures that base + ".dat" and the names of texte describe together, each image
    // in dossier, then the untreatable paths. Only complete pairs of a name and a record are
    // taken; a name that is not a plain file name is dropped with its record. False when something
    // was left out: a partial record, a name or a record without its pair, a name dropped.
    bool Lit(const QString& base, const QStringList& texte, const QString& dossier);
};
