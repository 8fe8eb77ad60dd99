#include "aide.h"

#include "fenetre.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

TFormAide::TFormAide(const QString& fichierAide, QWidget* parent)
    : QDialog(parent), fichier(fichierAide), texte(new QTextBrowser(this)) {
    PrepareFenetre(this, QStringLiteral("Aide de Mirasolve"), 640, 520, Bordure::Redimensionnable, 0);
    setObjectName(QStringLiteral("FormAide"));
    texte->setObjectName(QStringLiteral("TexteAide"));
    texte->setOpenLinks(true);
    texte->setOpenExternalLinks(false);
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(texte);
}

void TFormAide::ChargeFichier() {
    if (charge) return;
    QFile source(fichier);
    if (source.open(QIODevice::ReadOnly)) {
        texte->setHtml(QString::fromUtf8(source.readAll()));
    } else {
        texte->setPlainText(
            QStringLiteral("Le fichier d'aide « %1 » est introuvable ou illisible.").arg(fichier));
    }
    charge = true;
}

void TFormAide::Montre(int contexte) {
    ChargeFichier();
    ancre = contexte ? QString::number(contexte) : QStringLiteral("sommaire");
    show();
    raise();
    activateWindow();
    texte->scrollToAnchor(ancre);
}

static QString FichierAideProgramme;
static QPointer<QWidget> ProprietaireAide;
static QPointer<TFormAide> Aide;

void InitialiseAide(const QString& fichierAide, QWidget* proprietaire) {
    FichierAideProgramme = fichierAide;
    ProprietaireAide = proprietaire;
}

TFormAide* FenetreAide() {
    if (!ProprietaireAide) return nullptr;
    if (!Aide) Aide = new TFormAide(FichierAideProgramme, ProprietaireAide);
    return Aide;
}

void MontreAide(int contexte) {
    if (TFormAide* aide = FenetreAide()) aide->Montre(contexte);
}

void MontreSommaire() {
    MontreAide(0);
}
