#include "selecteurdossier.h"

#include "questionsfenetre.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

// What Qt's file model words after the system's language: the type of a folder and the dates,
// in French whatever the system says.
class TModeleEnFrancais : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* fichiers = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !fichiers || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case ColonneType:
            if (fichiers->isDir(source)) return QStringLiteral("Dossier");
            break;
        case ColonneDate:
            return QLocale(QLocale::French, QLocale::France)
                .toString(fichiers->lastModified(source), QStringLiteral("dd/MM/yyyy HH:mm"));
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int ColonneType = 2;
    static constexpr int ColonneDate = 3;
};

} // namespace

TSelecteurDossier::TSelecteurDossier(QWidget* parent, const QString& depart)
    : QFileDialog(parent), Questions(nullptr), questionsPropres(std::make_unique<TQuestionsFenetre>(this)) {
    Questions = questionsPropres.get();
    setObjectName(QStringLiteral("SelecteurDossier"));
    setWindowTitle(QStringLiteral("Choisir un dossier"));
    setFileMode(QFileDialog::Directory);
    // Qt's own dialog, so that a new folder can be typed and created the same way everywhere.
    setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    setLabelText(QFileDialog::LookIn, QStringLiteral("Chercher dans :"));
    setLabelText(QFileDialog::FileName, QStringLiteral("Dossier :"));
    setLabelText(QFileDialog::Accept, QStringLiteral("Choisir"));
    setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    setProxyModel(new TModeleEnFrancais(this));
    if (QFileInfo(depart).isDir()) {
        setDirectory(depart);
    } else {
        // A folder that is gone: start at its nearest existing parent.
        QDir dossier(depart);
        while (!dossier.exists() && dossier.cdUp()) {
        }
        setDirectory(dossier.exists() ? dossier.absolutePath() : QDir::homePath());
    }
    // Qt's dialog greys its accept button for a folder that does not exist yet; here such a name
    // is accepted, and created after the question.
    if (auto* nom = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(nom, &QLineEdit::textChanged, this, [this](const QString& texte) {
            auto* boutons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            QPushButton* choisir = boutons ? boutons->button(QDialogButtonBox::Open) : nullptr;
            if (choisir && !texte.trimmed().isEmpty() &&
                !QFileInfo::exists(directory().absoluteFilePath(texte)))
                choisir->setEnabled(true);
        });
    }
}

TSelecteurDossier::~TSelecteurDossier() = default;

void TSelecteurDossier::accept() {
    const QStringList choix = selectedFiles();
    if (choix.size() == 1 && !QFileInfo::exists(choix.first())) {
        const QString dossier = QDir::cleanPath(choix.first());
        if (!Questions->DemandeOuiNon(
                QStringLiteral("Le dossier « %1 » n'existe pas. Voulez-vous le créer ?").arg(dossier)))
            return;
        if (!QDir().mkpath(dossier)) {
            Questions->Avertit(QStringLiteral("Impossible de créer le dossier « %1 ».").arg(dossier));
            return;
        }
        selectFile(dossier);
    }
    QFileDialog::accept();
}

QString TSelecteurDossier::Choisit(QWidget* parent, const QString& depart) {
    TSelecteurDossier selecteur(parent, depart);
    if (selecteur.exec() != QDialog::Accepted) return QString();
    const QStringList choix = selecteur.selectedFiles();
    return choix.isEmpty() ? QString() : QDir::toNativeSeparators(choix.first());
}
