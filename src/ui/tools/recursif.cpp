#include "recursif.h"

#include "core/app/chemins.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTreeView>

namespace {

QPushButton* NouveauBouton(QWidget* parent, const QString& nom, const QString& texte, int gauche, int haut) {
    auto* bouton = new QPushButton(texte, parent);
    bouton->setObjectName(nom);
    bouton->setGeometry(gauche, haut, 104, 25);
    return bouton;
}

} // namespace

TFormRecurs::TFormRecurs(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormRecurs"));
    PrepareFenetre(this, QStringLiteral("Ajouter une destination avec ses sous-dossiers"), 346, 393,
                   Bordure::Dialogue, 2450);
    setContentsMargins(4, 4, 4, 4);

    GroupBox1 = new QGroupBox(QStringLiteral("Options"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 4, 338, 192);
    CheckBox5 = NouveauControle<QRadioButton>(GroupBox1, QStringLiteral("CheckBox5"),
                                              QStringLiteral("Créer une arborescence"), 8, 18);
    RadioButton1 = NouveauControle<QRadioButton>(GroupBox1, QStringLiteral("RadioButton1"),
                                                 QStringLiteral("Créer une liste simple"), 8, 38);
    CheckBox1 = NouveauControle<QCheckBox>(
        GroupBox1, QStringLiteral("CheckBox1"),
        QStringLiteral("Sélectionner uniquement les dossiers contenant des images"), 8, 62);
    CheckBox2 =
        NouveauControle<QCheckBox>(GroupBox1, QStringLiteral("CheckBox2"),
                                   QStringLiteral("Désactiver la validation de chaque destination"), 8, 84);
    CheckBox3 = NouveauControle<QCheckBox>(GroupBox1, QStringLiteral("CheckBox3"),
                                           QStringLiteral("Activer la recherche LOCALE des images en double"),
                                           8, 110);
    Label3 =
        NouveauControle<QLabel>(GroupBox1, QStringLiteral("Label3"),
                                QStringLiteral("(uniquement à l'intérieur de chaque destination)"), 26, 128);
    CheckBox4 = NouveauControle<QCheckBox>(
        GroupBox1, QStringLiteral("CheckBox4"),
        QStringLiteral("Activer la recherche GENERALE des images en double"), 8, 148);
    Label4 = NouveauControle<QLabel>(GroupBox1, QStringLiteral("Label4"),
                                     QStringLiteral("(entre chaque destination)"), 26, 166);
    CheckBox5->setChecked(true);
    CheckBox1->setEnabled(false);
    CheckBox2->setChecked(true);
    CheckBox3->setChecked(true);
    CheckBox4->setChecked(true);
    CheckBox3->setEnabled(false);
    Label3->setEnabled(false);

    GroupBox2 = new QGroupBox(QStringLiteral("Chemin"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(4, 200, 338, 156);
    DriveComboBox1 = new QComboBox(GroupBox2);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(8, 18, 322, 24);
    DirectoryListBox1 = new QTreeView(GroupBox2);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(8, 46, 322, 102);
    DirectoryListBox1->setHeaderHidden(true);
    modele = new QFileSystemModel(this);
    modele->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    modele->setReadOnly(true);
    // The list is read in the background: the selected folder comes into view once its parent is.
    connect(modele, &QFileSystemModel::directoryLoaded, this, [this] {
        if (DirectoryListBox1->currentIndex().isValid())
            DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex());
    });

    BitBtn2 = NouveauBouton(this, QStringLiteral("BitBtn2"), QStringLiteral("OK"), 4, 362);
    BitBtn2->setDefault(true);
    BitBtn1 = NouveauBouton(this, QStringLiteral("BitBtn1"), QStringLiteral("Annuler"), 121, 362);
    BitBtn3 = NouveauBouton(this, QStringLiteral("BitBtn3"), QStringLiteral("Aide"), 238, 362);
    BitBtn1->setAutoDefault(false);
    BitBtn3->setAutoDefault(false);

    // Captions too wide for this system's font widen the window rather than being cut.
    const int surplus = DepassementDesTextes(
        this, {CheckBox5, RadioButton1, CheckBox1, CheckBox2, CheckBox3, Label3, CheckBox4, Label4}, 10);
    ElargitFenetre(this, surplus,
                   {{GroupBox1, GroupBox2, DriveComboBox1, DirectoryListBox1}, {BitBtn3}, {BitBtn1}});

    connect(CheckBox4, &QCheckBox::toggled, this, &TFormRecurs::CheckBox4Click);
    connect(CheckBox5, &QRadioButton::toggled, this, &TFormRecurs::CheckBox5hClick);
    connect(RadioButton1, &QRadioButton::toggled, this, &TFormRecurs::CheckBox5hClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormRecurs::BitBtn3Click);
    connect(DriveComboBox1, &QComboBox::activated, this, &TFormRecurs::VolumeChoisi);

    // The folder offered first; one that cannot be read is still offered.
    dossier = Chemins::DossierParDefaut();
}

void TFormRecurs::Presente(const TChoixArborescence& choix) {
    // The kind of list first: leaving the list unticks the folders-with-images option.
    (choix.Options.EnNiveaux ? CheckBox5 : RadioButton1)->setChecked(true);
    CheckBox1->setChecked(choix.Options.SeulementAvecImages && !choix.Options.EnNiveaux);
    CheckBox2->setChecked(choix.SansValidation);
    CheckBox3->setChecked(choix.Options.Mode == 1 || choix.Options.Mode == 3);
    CheckBox4->setChecked(choix.Options.Mode == 3);
    CheckBox3->setEnabled(!CheckBox4->isChecked());
    Label3->setEnabled(!CheckBox4->isChecked());
}

TChoixArborescence TFormRecurs::Choix() const {
    TChoixArborescence choix;
    choix.Options.EnNiveaux = CheckBox5->isChecked();
    choix.Options.SeulementAvecImages = CheckBox1->isChecked();
    choix.Options.Mode = CheckBox4->isChecked() ? 3 : CheckBox3->isChecked() ? 1 : 2;
    choix.SansValidation = CheckBox2->isChecked();
    return choix;
}

void TFormRecurs::CheckBox4Click() {
    // A GENERAL search always includes the LOCAL one.
    if (CheckBox4->isChecked()) CheckBox3->setChecked(true);
    CheckBox3->setEnabled(!CheckBox4->isChecked());
    Label3->setEnabled(!CheckBox4->isChecked());
}

void TFormRecurs::CheckBox5hClick() {
    const bool liste = RadioButton1->isChecked();
    CheckBox1->setEnabled(liste);
    if (!liste) CheckBox1->setChecked(false);
}

void TFormRecurs::BitBtn3Click() {
    MontreAide(2450);
}

void TFormRecurs::ChoisitDossier(const QString& chemin) {
    dossier = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(chemin));
    if (isVisible()) MontreDossier();
}

void TFormRecurs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!DirectoryListBox1->model()) {
        DirectoryListBox1->setModel(modele);
        for (int colonne = 1; colonne < modele->columnCount(); ++colonne)
            DirectoryListBox1->hideColumn(colonne);
        connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& courant) {
                    if (courant.isValid()) dossier = QDir::toNativeSeparators(modele->filePath(courant));
                });
    }
    RemplitVolumes();
    MontreDossier();
}

void TFormRecurs::RemplitVolumes() {
    DriveComboBox1->clear();
    QStringList racines;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) racines << QDir::toNativeSeparators(volume.rootPath());
    racines.sort();
    racines.removeDuplicates();
    DriveComboBox1->addItems(racines);
}

void TFormRecurs::VolumeChoisi(int index) {
    if (index < 0) return;
    ChoisitDossier(DriveComboBox1->itemText(index));
}

void TFormRecurs::MontreDossier() {
    const QString volume = QDir::toNativeSeparators(QStorageInfo(dossier).rootPath());
    const int rang = DriveComboBox1->findText(volume);
    if (rang >= 0) DriveComboBox1->setCurrentIndex(rang);
    const QString racine = volume.isEmpty() ? QDir::rootPath() : volume;
    DirectoryListBox1->setRootIndex(modele->setRootPath(racine));
    const QModelIndex index = modele->index(dossier);
    if (!index.isValid()) return;
    const QString choisi = dossier; // the selection below reports the same folder back
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->expand(index);
    DirectoryListBox1->scrollTo(index);
    dossier = choisi;
}
