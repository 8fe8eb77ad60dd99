#pragma once

#include "core/tools/arborescence.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeView;

// The window "Ajouter une destination avec ses sous-dossiers": the options of the walk and the
// folder to walk. Its options keep their values from one use to the next.
struct TChoixArborescence {
    TOptionsArborescence Options;
    bool SansValidation = true; // each folder opened as proposed, without the properties dialog
};

class TFormRecurs : public QDialog {
    Q_OBJECT
public:
    explicit TFormRecurs(QWidget* parent = nullptr);

    // Shows these options. A list of folders only may leave out the folders without images, and
    // a GENERAL search always includes the LOCAL one, which then cannot be changed.
    void Presente(const TChoixArborescence& choix);
    // The options shown.
    TChoixArborescence Choix() const;

    void CheckBox4Click();
    void CheckBox5hClick();
    void BitBtn3Click();

    // The folder selected in the folder list, and choosing one.
    QString Dossier() const { return dossier; }
    void ChoisitDossier(const QString& chemin);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* GroupBox1;
    QRadioButton* CheckBox5;
    QRadioButton* RadioButton1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QLabel* Label3;
    QCheckBox* CheckBox4;
    QLabel* Label4;
    QGroupBox* GroupBox2;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn3;

    void RemplitVolumes();
    void VolumeChoisi(int index);
    // Shows the selected folder in the list; the list reads the disk only once the window shows.
    void MontreDossier();

    QFileSystemModel* modele;
    QString dossier;
};
