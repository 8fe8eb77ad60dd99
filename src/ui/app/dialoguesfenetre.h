#pragma once

#include "core/app/dialogues.h"

// The dialogs shown for real. It holds nothing, so one instance serves every window.
class TDialoguesFenetre : public IDialogues {
public:
    static TDialoguesFenetre& Commun();
    int MontreModal(QDialog& dialogue) override;
    QString ChoisitDossier(QWidget* parent, const QString& depart) override;
    bool ChoisitFonte(QWidget* parent, QFont& police) override;
    QString ChoisitFichier(QWidget* parent, const QString& titre, const QString& dossier,
                           const QString& filtre, const QString& suffixe, bool enregistrer) override;
    std::optional<QString> DemandeTexte(QWidget* parent, const QString& titre, const QString& invite,
                                        const QString& defaut) override;
};
