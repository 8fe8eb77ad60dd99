#include "preferences.h"

#include "core/config/configuration.h"
#include "core/session/session.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"
#include "ui/app/trackbar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

QPushButton* NouveauBouton(QWidget* parent, const QString& nom, const QString& texte, int gauche) {
    auto* bouton = new QPushButton(texte, parent);
    bouton->setObjectName(nom);
    bouton->setGeometry(gauche, 122, 70, 25);
    bouton->setAutoDefault(false);
    return bouton;
}

} // namespace

TFormPreference::TFormPreference(TSession& session_, QWidget* parent) : QDialog(parent), session(session_) {
    setObjectName(QStringLiteral("FormPreference"));
    PrepareFenetre(this, QStringLiteral("Préférences"), 261, 151, Bordure::Dialogue, 2430);

    GroupBox1 = new QGroupBox(QStringLiteral("Sensibilité de la recherche des doublons"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 2, 253, 74);
    TrackBar1 = new TTrackBar(GroupBox1);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(8, 16, 237, 36);
    TrackBar1->setRange(0, 30);
    TrackBar1->FixeSelection(13, 17);
    TrackBar1->setValue(15);
    Label3 = NouveauControle<QLabel>(GroupBox1, QStringLiteral("Label3"), QStringLiteral("100 %"), 8, 54);
    Label2 = NouveauControle<QLabel>(GroupBox1, QStringLiteral("Label2"), QStringLiteral("50 %"), 8, 54);
    Label1 = NouveauControle<QLabel>(GroupBox1, QStringLiteral("Label1"), QStringLiteral("0 %"), 8, 54);

    GroupBox2 = new QGroupBox(QStringLiteral("Bulles d'aide"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(4, 78, 253, 40);
    CheckBox1 = NouveauControle<QCheckBox>(
        GroupBox2, QStringLiteral("CheckBox1"),
        QStringLiteral("Désactiver les bulles d'aide sur les destinations"), 8, 16);

    BitBtn1 = NouveauBouton(this, QStringLiteral("BitBtn1"), QStringLiteral("OK"), 20);
    BitBtn2 = NouveauBouton(this, QStringLiteral("BitBtn2"), QStringLiteral("Annuler"), 95);
    BitBtn3 = NouveauBouton(this, QStringLiteral("BitBtn3"), QStringLiteral("Aide"), 170);
    BitBtn1->setDefault(true);

    // Captions too wide for this system's font widen the window rather than being cut.
    ElargitFenetre(this, DepassementDesTextes(this, {CheckBox1}, 10),
                   {{GroupBox1, GroupBox2, TrackBar1}, {}, {BitBtn1, BitBtn2, BitBtn3}});
    // The three labels stand under the thumb's places at both ends and in the middle.
    const auto placeSous = [this](QLabel* libelle, int position) {
        const int x = TrackBar1->x() + TrackBar1->CentreDe(position) - libelle->width() / 2;
        libelle->move(std::clamp(x, 4, GroupBox1->width() - libelle->width() - 4), libelle->y());
    };
    placeSous(Label3, TrackBar1->minimum());
    placeSous(Label2, (TrackBar1->minimum() + TrackBar1->maximum()) / 2);
    placeSous(Label1, TrackBar1->maximum());

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormPreference::BitBtn3Click);
}

void TFormPreference::BitBtn3Click() {
    MontreAide(2430);
}

bool TFormPreference::ChargeValeurs() {
    const Tconfiguration* configuration = session.Configuration();
    if (!configuration) return false;
    // One position per 10000; a value between two positions shows the lower one.
    TrackBar1->setValue(configuration->Sensibilite / 10000);
    CheckBox1->setChecked(!configuration->BullesAide);
    return true;
}

void TFormPreference::EnregistreValeurs() {
    Tconfiguration* configuration = session.Configuration();
    if (!configuration) return;
    configuration->Sensibilite = TrackBar1->value() * 10000;
    configuration->BullesAide = !CheckBox1->isChecked();
}
