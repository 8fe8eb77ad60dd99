#include "splash2.h"

#include "fenetre.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

static QProgressBar* NouvelleBarre(QWidget* parent, const QString& nom, int y) {
    auto* barre = new QProgressBar(parent);
    barre->setObjectName(nom);
    barre->setGeometry(8, y, 305, 13);
    barre->setRange(0, 100);
    barre->setValue(0);
    barre->setTextVisible(false);
    return barre;
}

static QLabel* NouveauLibelle(QWidget* parent, const QString& texte, int x, int y) {
    auto* libelle = new QLabel(texte, parent);
    libelle->move(x, y);
    libelle->adjustSize();
    return libelle;
}

TFormSplash2::TFormSplash2(const QIcon& icone, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FenetreChargement"));
    PrepareFenetre(this, QStringLiteral("Mirasolve"), 322, 201, Bordure::Aucune, 0);

    auto* panneau = new QFrame(this);
    panneau->setObjectName(QStringLiteral("Panel1"));
    panneau->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panneau->setLineWidth(2);
    panneau->setGeometry(0, 0, 322, 201);

    auto* image = new QLabel(panneau);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(16, 16, 32, 32);
    image->setPixmap(icone.pixmap(32, 32));
    image->setScaledContents(true);

    NouveauLibelle(panneau, QStringLiteral("Mirasolve 1.0"), 64, 8);

    auto* titre = new QLabel(QStringLiteral("Chargement des destinations"), panneau);
    titre->setAlignment(Qt::AlignHCenter);
    titre->setGeometry(0, 104, 322, 17);

    NouveauLibelle(panneau, QStringLiteral("Total"), 8, 128);
    ProgressBar1 = NouvelleBarre(panneau, QStringLiteral("ProgressBar1"), 144);
    NouveauLibelle(panneau, QStringLiteral("Destination en cours :"), 8, 160);

    Label8 = new QLabel(panneau);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(120, 160, 193, 17);

    ProgressBar2 = NouvelleBarre(panneau, QStringLiteral("ProgressBar2"), 176);
}

void TFormSplash2::DebutLecture(int maximum) {
    SurLeFilPrincipal(this, [this, maximum] {
        ProgressBar1->setRange(0, std::max(1, maximum));
        ProgressBar1->setValue(0);
    });
}

void TFormSplash2::DestinationEnCours(const QString& titre) {
    SurLeFilPrincipal(this, [this, titre] {
        Label8->setText(titre);
        Label8->repaint();
    });
}

void TFormSplash2::PasLecture() {
    SurLeFilPrincipal(this, [this] {
        ProgressBar1->setValue(ProgressBar1->value() + 1);
        repaint();
    });
}

void TFormSplash2::DebutChargement(int maximum) {
    SurLeFilPrincipal(this, [this, maximum] {
        ProgressBar2->setRange(0, std::max(1, maximum));
        ProgressBar2->setValue(0);
    });
}

void TFormSplash2::PasChargement() {
    SurLeFilPrincipal(this, [this] { ProgressBar2->setValue(ProgressBar2->value() + 1); });
}
