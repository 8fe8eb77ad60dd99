#pragma once

#include "core/app/questions.h"

#include <QStringList>

#include <functional>

// The user as a test plays them: what they are told is recorded, what they answer is scripted
// (no, cancel, "&Non" unless the test says otherwise).
class TQuestionsTest : public IQuestions {
public:
    QStringList Avertissements;
    QStringList Erreurs;
    QList<bool> Annulations; // each turn of the confirmation's cancel buttons
    std::function<bool(const QString&)> OkAnnuler = [](const QString&) { return false; };
    std::function<bool(const QString&)> OuiNon = [](const QString&) { return false; };
    std::function<ReponseOuiNonTout(const QString&)> OuiNonTout = [](const QString&) {
        return ReponseOuiNonTout::Non;
    };
    std::function<ReponseConfirmation(const QString&)> Confirmation = [](const QString&) {
        return ReponseConfirmation::Non;
    };

    void Avertit(const QString& message) override { Avertissements << message; }
    void SignaleErreur(const QString& message) override { Erreurs << message; }
    bool ConfirmeOkAnnuler(const QString& question) override { return OkAnnuler(question); }
    bool DemandeOuiNon(const QString& question) override { return OuiNon(question); }
    ReponseOuiNonTout DemandeOuiNonTout(const QString& question) override { return OuiNonTout(question); }
    ReponseConfirmation Confirme(const QString& question) override { return Confirmation(question); }
    void AutoriseAnnulation(bool permise) override { Annulations << permise; }
};
