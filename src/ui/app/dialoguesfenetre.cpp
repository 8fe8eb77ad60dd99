#include "dialoguesfenetre.h"

#include "selecteurdossier.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>

TDialoguesFenetre& TDialoguesFenetre::Commun() {
    static TDialoguesFenetre commun;
    return commun;
}

int TDialoguesFenetre::MontreModal(QDialog& dialogue) {
    return dialogue.exec();
}

QString TDialoguesFenetre::ChoisitDossier(QWidget* parent, const QString& depart) {
    return TSelecteurDossier::Choisit(parent, depart);
}

QString TDialoguesFenetre::ChoisitFichier(QWidget* parent, const QString& titre, const QString& dossier,
                                          const QString& filtre, const QString& suffixe, bool enregistrer) {
    QFileDialog dialogue(parent, titre, dossier, filtre);
    dialogue.setAcceptMode(enregistrer ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogue.setFileMode(enregistrer ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialogue.setDefaultSuffix(suffixe);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return QString();
    return dialogue.selectedFiles().first();
}

std::optional<QString> TDialoguesFenetre::DemandeTexte(QWidget* parent, const QString& titre,
                                                       const QString& invite, const QString& defaut) {
    bool accepte = false;
    const QString texte = QInputDialog::getText(parent, titre, invite, QLineEdit::Normal, defaut, &accepte);
    if (!accepte) return std::nullopt;
    return texte;
}

bool TDialoguesFenetre::ChoisitFonte(QWidget* parent, QFont& police) {
    bool confirme = false;
    const QFont choisie = QFontDialog::getFont(&confirme, police, parent, QStringLiteral("Fonte"));
    if (confirme) police = choisie;
    return confirme;
}
