#include "destination.h"

#include "app/chemins.h"

#include <QFile>

TDestination::TDestination() : ListeSignatures(std::make_unique<TListeDoublons>(QString())) {}

void TDestination::RetireSignaturesDisparues() {
    auto& miniatures = ListeSignatures->Miniatures;
    for (auto i = static_cast<qsizetype>(miniatures.size()) - 1; i >= 0; --i)
        if (!QFile::exists(miniatures[static_cast<size_t>(i)]->Fichier)) miniatures.erase(miniatures.begin() + i);
}

std::unique_ptr<TDestination> CreeCorbeille(const QString& dossierProgramme, const QString& sourcePath) {
    auto corbeille = std::make_unique<TDestination>();
    corbeille->Titre = TitreCorbeille;
    corbeille->Chemin = Chemins::Joint(dossierProgramme, TitreCorbeille);
    corbeille->ListeSignatures = std::make_unique<TListeDoublons>(corbeille->Chemin);
    corbeille->Groupe = -1;
    corbeille->SousGroupe = -1;
    corbeille->Active = corbeille->Chemin != sourcePath;
    corbeille->Fonte = QFont(QStringLiteral("Arial"));
    corbeille->Fonte.setPointSize(16);
    return corbeille;
}
