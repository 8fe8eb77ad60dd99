#pragma once

#include "core/tools/arborescence.h"

#include <QDialog>
#include <QFont>

#include <cstdint>

class IDialogues;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The window "Création d'une nouvelle destination": a destination's folder, title, title font and
// duplicate-search options. Its controls keep their values from one use to the next; the caller
// presents what it needs and reads the properties back after an OK.
class TFormNouvDest : public QDialog {
    Q_OBJECT
public:
    explicit TFormNouvDest(QWidget* parent = nullptr);

    // Shows these properties: the folder, the title, its font with charset and colour, and the
    // search modes; the LOCAL one can be changed only while the GENERAL one is off.
    void Presente(const TProprietesDestination& proprietes);
    // A new destination: the title is emptied, everything else stays from the last use.
    void PresenteAjout();
    // The properties shown, the folder without a trailing separator.
    TProprietesDestination Proprietes() const;

    // Shows a path in Label2, shortened to fit: its first three characters, "..." and its end.
    void AffichePath(const QString& path);

    void BitBtn1Click();
    void BitBtnFonteClick();
    void EditTitreChange();
    void CheckBox2Click();
    void BitBtn3Click();
    void BitBtn4Click();

    // Where the folder and font pickers are shown (for real unless a test plays them).
    IDialogues* Dialogues;

private:
    QGroupBox* GroupBox2;
    QLabel* Label2;
    QLabel* Label1;
    QPushButton* BitBtn1;
    QGroupBox* GroupBox1;
    QLineEdit* EditTitre;
    QToolButton* BitBtnFonte;
    QGroupBox* GroupBox3;
    QCheckBox* CheckBox1;
    QLabel* Label3;
    QCheckBox* CheckBox2;
    QLabel* Label4;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn4;

    // The parts of the title font that QFont does not hold, carried with it: the charset and the
    // colour as a Windows colour value.
    int32_t CharsetTitre = 1;
    int32_t CouleurTitre = 0;
};
