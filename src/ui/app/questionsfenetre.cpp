#include "questionsfenetre.h"

#include "fenetre.h"
#include "globaux.h"
#include "ui/destinations/confirmation.h"

#include <QMessageBox>

void TQuestionsFenetre::Avertit(const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Mirasolve"), message);
}

void TQuestionsFenetre::SignaleErreur(const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Mirasolve"), message);
}

bool TQuestionsFenetre::ConfirmeOkAnnuler(const QString& question) {
    return Question(parent, question, {QStringLiteral("OK"), QStringLiteral("Annuler")}, 1) == 0;
}

bool TQuestionsFenetre::DemandeOuiNon(const QString& question) {
    return Question(parent, question, {QStringLiteral("&Oui"), QStringLiteral("&Non")}, 1) == 0;
}

ReponseOuiNonTout TQuestionsFenetre::DemandeOuiNonTout(const QString& question) {
    // The buttons in the order of the answers' ranks; closing the box is "&Non".
    return static_cast<ReponseOuiNonTout>(Question(
        parent, question, {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("&Tout")}, 1));
}

ReponseConfirmation TQuestionsFenetre::Confirme(const QString& question) {
    // The dialog is created after the data start-up; it is only looked up when a question is asked.
    return FormConfirmation ? FormConfirmation->Demande(question) : ReponseConfirmation::Annuler;
}

void TQuestionsFenetre::AutoriseAnnulation(bool permise) {
    if (FormConfirmation) FormConfirmation->AutoriseAnnulation(permise);
}
