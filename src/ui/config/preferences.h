#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TTrackBar;

// The window "Préférences": the duplicate-search sensitivity and whether the tiles show their
// hints. It only holds the values; the main window fills it and reads it back after an OK.
class TFormPreference : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreference(QWidget* parent = nullptr);

    void BitBtn3Click();

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
};
