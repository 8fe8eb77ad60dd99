#include "dialoguesfenetre.h"

#include "selecteurdossier.h"

#include <QDialog>
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
