#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class IAttente;

enum class ReponseLectureSeule { Oui, Non, Tout };

// Deletes what the trash folder holds: every entry but its sub-folders, which stay. A read-only
// file is deleted only when the user says so (asked again for each one until "Tout"). Gives, for
// each file that could not be deleted, its name and why, in French; nothing else is reported.
QStringList VideCorbeille(const QString& dossier, IAttente* attente,
                          const std::function<ReponseLectureSeule(const QString& question)>& demande);
