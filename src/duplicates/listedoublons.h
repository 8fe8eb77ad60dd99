#pragma once

#include "miniature.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One folder's signatures and its untreatable images. Signatures are shared so that none is freed
// while the search may still compare with it.
class TListeDoublons {
public:
    explicit TListeDoublons(QString dossier) : Dossier(std::move(dossier)) {}

    std::vector<std::shared_ptr<Tminiature>> Miniatures;
    QString Dossier;
    QStringList Intraitables;
};
