#pragma once

#include "core/app/questions.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The six-button question "Confirmation": yes, yes to all, no, no to all, cancel and cancel all
// (also the Escape key); the dialog's modal result is the answer's value.
class TFormConfirmation : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfirmation(QWidget* parent = nullptr);

    // Shows the question modally; returns the answer.
    ReponseConfirmation Demande(const QString& question);
    // While a destination asks about its sub-destinations, the two cancel buttons are off.
    void AutoriseAnnulation(bool autorisee);

protected:
    void reject() override;

private:
    QLabel* Label1;
    QPushButton* BoutonOui;
    QPushButton* BoutonOuiTous;
    QPushButton* BoutonNon;
    QPushButton* BoutonNonTous;
    QPushButton* BoutonAnnuler;
    QPushButton* BoutonToutAnnuler;
};
