#pragma once

#include "duplicates/listedoublons.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// One open target folder.
class TDestination {
public:
    TDestination();

    // Drops every signature whose image file no longer exists, walking from the last to the first.
    void RetireSignaturesDisparues();

    QStringList ATraiter;
    QStringList Doublons;
    int32_t SousGroupe = -1;
    int32_t Groupe = 0;
    int32_t Rang = 0;
    std::unique_ptr<TListeDoublons> ListeSignatures;
    QString Chemin;
    QString Titre;
    bool RechercheLocale = false;
    bool RechercheGenerale = false;
    bool Active = true;
    bool EnTraitement = false;
    QFont Fonte;
};

// The title that marks the trash destination.
inline const QString TitreCorbeille = QStringLiteral("Corbeille");

// The trash as it stands at start-up: the folder "Corbeille" of the program's folder, in no tree
// level, titled in Arial 16; inactive only when it is the source folder.
std::unique_ptr<TDestination> CreeCorbeille(const QString& dossierProgramme, const QString& sourcePath);
