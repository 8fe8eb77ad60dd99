#include "confirmation.h"

#include "ui/app/fenetre.h"

#include <QLabel>
#include <QPushButton>

TFormConfirmation::TFormConfirmation(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormConfirmation"));
    PrepareFenetre(this, QStringLiteral("Confirmation"), 324, 113, Bordure::Dialogue, 0);
    // No border icons: the dialog is answered with its buttons only.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, false);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(4, 4, 316, 41);

    auto bouton = [this](const QString& nom, const QString& titre, ReponseConfirmation reponse, int gauche,
                         int haut, int largeur) {
        auto* b = new QPushButton(titre, this);
        b->setObjectName(nom);
        b->setGeometry(gauche, haut, largeur, 25);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, reponse] { done(static_cast<int>(reponse)); });
        return b;
    };
    // In tab order.
    BoutonOui =
        bouton(QStringLiteral("BoutonOui"), QStringLiteral("&Oui"), ReponseConfirmation::Oui, 0, 56, 105);
    BoutonOuiTous = bouton(QStringLiteral("BoutonOuiTous"), QStringLiteral("Oui pour &Tous"),
                           ReponseConfirmation::OuiPourTous, 112, 56, 105);
    BoutonNon =
        bouton(QStringLiteral("BoutonNon"), QStringLiteral("&Non"), ReponseConfirmation::Non, 0, 88, 105);
    BoutonNonTous = bouton(QStringLiteral("BoutonNonTous"), QStringLiteral("Non pour Tou&s"),
                           ReponseConfirmation::NonPourTous, 112, 88, 105);
    BoutonAnnuler = bouton(QStringLiteral("BoutonAnnuler"), QStringLiteral("&Annuler"),
                           ReponseConfirmation::Annuler, 224, 56, 99);
    BoutonToutAnnuler = bouton(QStringLiteral("BoutonToutAnnuler"), QStringLiteral("To&ut annuler"),
                               ReponseConfirmation::ToutAnnuler, 224, 88, 99);
}

ReponseConfirmation TFormConfirmation::Demande(const QString& question) {
    Label1->setText(question);
    return static_cast<ReponseConfirmation>(exec());
}

void TFormConfirmation::AutoriseAnnulation(bool autorisee) {
    BoutonAnnuler->setEnabled(autorisee);
    BoutonToutAnnuler->setEnabled(autorisee);
}

// Escape answers "To&ut annuler", unless the cancel buttons are off.
void TFormConfirmation::reject() {
    if (BoutonToutAnnuler->isEnabled()) done(static_cast<int>(ReponseConfirmation::ToutAnnuler));
}
