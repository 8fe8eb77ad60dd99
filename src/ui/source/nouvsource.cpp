#include "nouvsource.h"

#include "core/app/chemins.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTreeView>

#include <map>

namespace {

// The folder itself or one of the folders below it, by the paths' text.
bool Contient(const QString& dossier, const QString& chemin) {
    if (chemin == dossier || dossier.isEmpty()) return true;
    const QString prefixe = dossier.endsWith(u'/') ? dossier : dossier + u'/';
    return chemin.startsWith(prefixe);
}

// The mounted volumes that hold folders, by the path of their root, each with its name.
std::map<QString, QString> Volumes() {
    std::map<QString, QString> volumes{{QDir::rootPath(), QString()}};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString racine = QDir::fromNativeSeparators(volume.rootPath());
        if (volume.isValid() && volume.isReady() && QFileInfo(racine).isDir())
            volumes[racine] = volume.name();
    }
    return volumes;
}

// The volume whose root is the nearest above the folder, by the path as written: a folder
// reached through a link stays on the volume its path names, where the tree can show it.
QString VolumeDe(const QString& dossier, const std::map<QString, QString>& volumes) {
    QString trouve = QDir::rootPath();
    for (const auto& [racine, nom] : volumes)
        if (Contient(racine, dossier) && racine.size() > trouve.size()) trouve = racine;
    return trouve;
}

} // namespace

// Keeps, of the whole file system, the folders of one volume and the folders that lead to it.
class TFiltreVolume : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void FixeVolume(const QString& racine) {
        volume = racine;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int ligne, const QModelIndex& parent) const override {
        const auto* modele = static_cast<const QFileSystemModel*>(sourceModel());
        const QString chemin = modele->filePath(modele->index(ligne, 0, parent));
        return Contient(volume, chemin) || Contient(chemin, volume);
    }

private:
    QString volume;
};

namespace {

QPushButton* NouveauBouton(QWidget* parent, const QString& nom, const QString& texte, QRect cadre) {
    auto* bouton = new QPushButton(texte, parent);
    bouton->setObjectName(nom);
    bouton->setGeometry(cadre);
    bouton->setAutoDefault(false);
    return bouton;
}

} // namespace

TFormNouvSource::TFormNouvSource(const std::function<void()>& demarrageDonnees, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormNouvSource"));
    PrepareFenetre(this, QStringLiteral("Sélection de la source"), 296, 225, Bordure::Dialogue, 2300);

    GroupBox2 = new QGroupBox(QStringLiteral("Chemin"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, 0, 296, 193);
    DriveComboBox1 = new QComboBox(GroupBox2);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(4, 16, 288, DriveComboBox1->sizeHint().height());

    modele = new QFileSystemModel(this);
    modele->setObjectName(QStringLiteral("ModeleDossiers"));
    modele->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    modele->setReadOnly(true);
    filtre = new TFiltreVolume(this);
    filtre->setSourceModel(modele);
    DirectoryListBox1 = new QTreeView(GroupBox2);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(4, 40, 288, 151);
    DirectoryListBox1->setModel(filtre);
    DirectoryListBox1->setHeaderHidden(true);
    for (int colonne = 1; colonne < modele->columnCount(); ++colonne)
        DirectoryListBox1->hideColumn(colonne);
    DirectoryListBox1->setItemDelegate(new TDelegueHauteurFixe(16, DirectoryListBox1));
    DirectoryListBox1->setUniformRowHeights(true);
    DirectoryListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    BitBtn3 = NouveauBouton(this, QStringLiteral("BitBtn3"), QStringLiteral("Aide"), QRect(0, 200, 75, 25));
    BitBtn2 = NouveauBouton(this, QStringLiteral("BitBtn2"), QStringLiteral("OK"), QRect(140, 200, 75, 25));
    BitBtn1 =
        NouveauBouton(this, QStringLiteral("BitBtn1"), QStringLiteral("Annuler"), QRect(220, 200, 75, 25));
    // Return anywhere in the dialog is OK, Escape is Cancel.
    BitBtn2->setDefault(true);
    setTabOrder(DriveComboBox1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn3);

    // The folders above the current one are read in the background; as each arrives, the rows
    // above the current one move, and it is brought back into view.
    connect(modele, &QFileSystemModel::directoryLoaded, this, [this](const QString& charge) {
        if (Contient(charge, QDir::fromNativeSeparators(Dossier())))
            DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex(),
                                        QAbstractItemView::PositionAtCenter);
    });
    connect(DriveComboBox1, &QComboBox::activated, this, &TFormNouvSource::DriveComboBox1Change);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormNouvSource::BitBtn3Click);

    if (demarrageDonnees) demarrageDonnees();
    FixeDossier(Chemins::DossierParDefaut());
}

QString TFormNouvSource::Dossier() const {
    const QModelIndex courant = filtre->mapToSource(DirectoryListBox1->currentIndex());
    if (!courant.isValid()) return dossier;
    return Chemins::SansSeparateurFinal(QDir::toNativeSeparators(modele->filePath(courant)));
}

bool TFormNouvSource::FixeDossier(const QString& chemin) {
    if (chemin.isEmpty() || !QFileInfo(chemin).isDir()) return false;
    const QString absolu = QDir::cleanPath(QFileInfo(chemin).absoluteFilePath());
    dossier = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(absolu));
    const std::map<QString, QString> volumes = Volumes();
    const QString volume = VolumeDe(absolu, volumes);
    RemplitVolumes(volumes, volume);
    MontreVolume(volume, absolu);
    return true;
}

void TFormNouvSource::RemplitVolumes(const std::map<QString, QString>& volumes, const QString& courant) {
    // By path, the root of the file system first; each with its name when it has one.
    DriveComboBox1->clear();
    for (const auto& [racine, nom] : volumes) {
        const QString chemin = QDir::toNativeSeparators(racine);
        DriveComboBox1->addItem(nom.isEmpty() ? chemin : QStringLiteral("%1  [%2]").arg(chemin, nom), racine);
    }
    DriveComboBox1->setCurrentIndex(DriveComboBox1->findData(courant));
}

void TFormNouvSource::MontreVolume(const QString& volume, const QString& courant) {
    modele->setRootPath(volume);
    filtre->FixeVolume(volume);
    // The volume's root shows as the top of the tree: the view starts at the folder above it.
    QDir parent(volume);
    const bool racineDuSysteme = !parent.cdUp();
    DirectoryListBox1->setRootIndex(
        racineDuSysteme ? QModelIndex() : filtre->mapFromSource(modele->index(parent.absolutePath())));
    const QModelIndex index = filtre->mapFromSource(modele->index(courant));
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->expand(index);
    DirectoryListBox1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFormNouvSource::DriveComboBox1Change(int index) {
    const QString volume = DriveComboBox1->itemData(index).toString();
    if (volume.isEmpty() || !QFileInfo(volume).isDir()) return;
    dossier = Chemins::SansSeparateurFinal(QDir::toNativeSeparators(volume));
    MontreVolume(volume, volume);
}

void TFormNouvSource::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The keyboard goes to the tree: arrows choose the folder, Return is OK.
    DirectoryListBox1->setFocus();
    DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void TFormNouvSource::BitBtn3Click() {
    MontreAide(2300);
}
