#pragma once

#include <QString>

#include <functional>

class IAttente;

enum class ReponseLectureSeule { Oui, Non, Tout };

// Deletes what the trash folder holds: every entry but its sub-folders, which stay. A read-only
// file is deleted only when the user says so (asked again for each one until "Tout"). Deletion
// failures are not reported: nothing of the user's is at stake in a trash they chose to empty.
void VideCorbeille(const QString& dossier, IAttente* attente,
                   const std::function<ReponseLectureSeule(const QString& question)>& demande);
