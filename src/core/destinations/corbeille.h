#pragma once

#include "core/app/questions.h"

#include <QString>
#include <QStringList>

#include <functional>

class IAttente;
class TJournalAnnulation;

// Whether a read-only file is deleted: this one, not this one, or every one from here on.
using ReponseLectureSeule = ReponseOuiNonTout;

struct TVidageCorbeille {
    QStringList Echecs;          // each file that could not be deleted, its name and why, in French
    qsizetype EtapesPerdues = 0; // files deleted that undo steps named
};

// Deletes what the trash folder holds: every entry but its sub-folders, which stay. A read-only
// file is deleted only when the user says so (asked again for each one until "Tout"). The undo
// steps whose file was deleted leave the journal with it.
TVidageCorbeille VideCorbeille(const QString& dossier, IAttente* attente,
                               const std::function<ReponseLectureSeule(const QString& question)>& demande,
                               TJournalAnnulation* journal = nullptr);
