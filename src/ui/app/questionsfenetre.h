#pragma once

#include "core/app/questions.h"

class QWidget;

// The questions asked through the program's windows: message boxes over the given window, and the
// six-button confirmation dialog.
class TQuestionsFenetre : public IQuestions {
public:
    explicit TQuestionsFenetre(QWidget* fenetre) : parent(fenetre) {}
    void Avertit(const QString& message) override;
    void SignaleErreur(const QString& message) override;
    bool ConfirmeOkAnnuler(const QString& question) override;
    bool DemandeOuiNon(const QString& question) override;
    ReponseOuiNonTout DemandeOuiNonTout(const QString& question) override;
    ReponseConfirmation Confirme(const QString& question) override;
    void AutoriseAnnulation(bool permise) override;

private:
    QWidget* parent;
};
