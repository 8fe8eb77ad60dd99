#include "selecteurdossier.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

TSelecteurDossier::TSelecteurDossier(QWidget* parent, const QString& depart) : QFileDialog(parent) {
    setObjectName(QStringLiteral("SelecteurDossier"));
    setWindowTitle(QStringLiteral("Choisir un dossier"));
    setFileMode(QFileDialog::Directory);
    // Qt's own dialog, so that a new folder can be typed and created the same way everywhere.
    setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    setLabelText(QFileDialog::LookIn, QStringLiteral("Chercher dans :"));
    setLabelText(QFileDialog::FileName, QStringLiteral("Dossier :"));
    setLabelText(QFileDialog::Accept, QStringLiteral("Choisir"));
    setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
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
            if (choisir && !texte.trimmed().isEmpty() && !QFileInfo::exists(directory().absoluteFilePath(texte)))
                choisir->setEnabled(true);
        });
    }
    ConfirmeCreation = [this](const QString& question) {
        QMessageBox boite(QMessageBox::Question, QStringLiteral("Confirmation"), question,
                          QMessageBox::NoButton, this);
        QPushButton* oui = boite.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        boite.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        boite.exec();
        return boite.clickedButton() == oui;
    };
    Avertit = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Mirasolve"), message);
    };
}

void TSelecteurDossier::accept() {
    const QStringList choix = selectedFiles();
    if (choix.size() == 1 && !QFileInfo::exists(choix.first())) {
        const QString dossier = QDir::cleanPath(choix.first());
        if (!ConfirmeCreation(
                QStringLiteral("Le dossier « %1 » n'existe pas. Voulez-vous le créer ?").arg(dossier)))
            return;
        if (!QDir().mkpath(dossier)) {
            Avertit(QStringLiteral("Impossible de créer le dossier « %1 ».").arg(dossier));
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
