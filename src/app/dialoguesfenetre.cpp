#include "dialoguesfenetre.h"

#include "selecteurdossier.h"

#include <QDialog>
#include <QFontDialog>

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

bool TDialoguesFenetre::ChoisitFonte(QWidget* parent, QFont& police) {
    bool confirme = false;
    const QFont choisie = QFontDialog::getFont(&confirme, police, parent, QStringLiteral("Fonte"));
    if (confirme) police = choisie;
    return confirme;
}
