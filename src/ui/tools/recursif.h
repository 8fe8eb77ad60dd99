#pragma once

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
class TFormRecurs : public QDialog {
    Q_OBJECT
public:
    explicit TFormRecurs(QWidget* parent = nullptr);

    void CheckBox4Click();
    void CheckBox5hClick();
    void BitBtn3Click();

    // The folder selected in the folder list, and choosing one.
    QString Dossier() const { return dossier; }
    void ChoisitDossier(const QString& chemin);

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RemplitVolumes();
    void VolumeChoisi(int index);
    // Shows the selected folder in the list; the list reads the disk only once the window shows.
    void MontreDossier();

    QFileSystemModel* modele;
    QString dossier;
};
