#pragma once

#include <QDialog>

#include <functional>
#include <map>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QPushButton;
class QTreeView;
class TFiltreVolume;

// The source chooser "Sélection de la source": a list of the mounted volumes above the tree of the
// chosen volume's folders; the folder current in the tree when OK closes it is the one chosen.
// Creating it runs the program's data start-up, which the caller hands in.
class TFormNouvSource : public QDialog {
    Q_OBJECT
public:
    explicit TFormNouvSource(const std::function<void()>& demarrageDonnees, QWidget* parent = nullptr);

    // The folder current in the tree, without a trailing separator; the last one set while the
    // tree has none.
    QString Dossier() const;
    // Shows that folder as current, on its volume; false, and nothing changes, when it is not an
    // existing folder.
    bool FixeDossier(const QString& dossier);

    void BitBtn3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* GroupBox2;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QPushButton* BitBtn2; // OK
    QPushButton* BitBtn1; // Annuler
    QPushButton* BitBtn3; // Aide

    // The volumes listed afresh, the current one chosen.
    void RemplitVolumes(const std::map<QString, QString>& volumes, const QString& courant);
    // The tree shows that volume's folders, with that folder current.
    void MontreVolume(const QString& volume, const QString& courant);
    void DriveComboBox1Change(int index);

    QFileSystemModel* modele;
    TFiltreVolume* filtre;
    QString dossier;
};
