#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The six-button question "Confirmation": yes (6), yes to all (10), no (7), no to all (9),
// cancel (2) and cancel all (8, also the Escape key).
class TFormConfirmation : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfirmation(QWidget* parent = nullptr);

    // Shows the question modally; returns the answer's code.
    int16_t Demande(const QString& question);
    // While a destination asks about its sub-destinations, the two cancel buttons are off.
    void AutoriseAnnulation(bool autorisee);

    QLabel* Label1;
    QPushButton* BoutonOui;
    QPushButton* BoutonOuiTous;
    QPushButton* BoutonNon;
    QPushButton* BoutonNonTous;
    QPushButton* BoutonAnnuler;
    QPushButton* BoutonToutAnnuler;

protected:
    void reject() override;
};
