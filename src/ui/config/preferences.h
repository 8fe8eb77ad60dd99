#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TSession;
class TTrackBar;

// The window "Préférences": the duplicate-search sensitivity and whether the tiles show their
// hints, those of the session's configuration. It shows them when asked and gives them back to
// the configuration only after an OK.
class TFormPreference : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreference(TSession& session, QWidget* parent = nullptr);

    // Shows the configuration's values; false while the session has no configuration.
    bool ChargeValeurs();
    // Gives the values shown to the configuration.
    void EnregistreValeurs();

    void BitBtn3Click();

private:
    QGroupBox* GroupBox1;
    TTrackBar* TrackBar1;
    QLabel* Label3; // "100 %", under the left end
    QLabel* Label2; // "50 %", under the middle
    QLabel* Label1; // "0 %", under the right end
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1; // OK
    QPushButton* BitBtn2; // Annuler
    QPushButton* BitBtn3; // Aide

    TSession& session;
};
