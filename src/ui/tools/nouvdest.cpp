#include "nouvdest.h"

#include "core/app/chemins.h"
#include "core/destinations/destination.h"
#include "ui/app/aide.h"
#include "ui/app/dialoguesfenetre.h"
#include "ui/app/fenetre.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

// The widest a shown path may be, in pixels.
constexpr int LargeurChemin = 291;

QPushButton* NouveauBouton(QWidget* parent, const QString& nom, const QString& texte, QRect cadre) {
    auto* bouton = new QPushButton(texte, parent);
    bouton->setObjectName(nom);
    bouton->setGeometry(cadre);
    return bouton;
}

// The glyph of the font button: a large and a small letter.
QIcon IconeFonte() {
    QPixmap image(24, 24);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    QFont grande(QStringLiteral("Serif"));
    grande.setPixelSize(20);
    grande.setBold(true);
    peintre.setFont(grande);
    peintre.drawText(QRect(0, 0, 16, 24), Qt::AlignCenter, QStringLiteral("A"));
    QFont petite = grande;
    petite.setPixelSize(12);
    peintre.setFont(petite);
    peintre.drawText(QRect(13, 8, 11, 16), Qt::AlignCenter, QStringLiteral("a"));
    return QIcon(image);
}

} // namespace

TFormNouvDest::TFormNouvDest(QWidget* parent) : QDialog(parent), Dialogues(&TDialoguesFenetre::Commun()) {
    setObjectName(QStringLiteral("FormNouvDest"));
    PrepareFenetre(this, QStringLiteral("Création d'une nouvelle destination"), 318, 297, Bordure::Dialogue,
                   2440);
    const QString racine = Chemins::DossierParDefaut();

    GroupBox2 = new QGroupBox(QStringLiteral("Chemin de la destination"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(4, 4, 310, 76);
    Label2 = NouveauControle<QLabel>(GroupBox2, QStringLiteral("Label2"), racine, 8, 22);
    Label1 = NouveauControle<QLabel>(GroupBox2, QStringLiteral("Label1"), racine, 8, 22);
    Label1->setFixedWidth(LargeurChemin);
    Label1->hide();
    BitBtn1 = NouveauBouton(GroupBox2, QStringLiteral("BitBtn1"), QStringLiteral("Parcourir"),
                            QRect(218, 44, 84, 25));

    GroupBox1 = new QGroupBox(QStringLiteral("Titre de la destination"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 84, 310, 88);
    EditTitre = new QLineEdit(GroupBox1);
    EditTitre->setObjectName(QStringLiteral("EditTitre"));
    EditTitre->setGeometry(8, 18, 193, 65);
    BitBtnFonte = new QToolButton(GroupBox1);
    BitBtnFonte->setObjectName(QStringLiteral("BitBtnFonte"));
    BitBtnFonte->setText(QStringLiteral("Fonte"));
    BitBtnFonte->setIcon(IconeFonte());
    BitBtnFonte->setIconSize(QSize(24, 24));
    BitBtnFonte->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    BitBtnFonte->setGeometry(218, 18, 84, 65);

    GroupBox3 = new QGroupBox(QStringLiteral("Options"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(4, 176, 310, 86);
    CheckBox1 =
        NouveauControle<QCheckBox>(GroupBox3, QStringLiteral("CheckBox1"),
                                   QStringLiteral("Activer la recherche LOCALE des images en double"), 8, 16);
    Label3 =
        NouveauControle<QLabel>(GroupBox3, QStringLiteral("Label3"),
                                QStringLiteral("(uniquement à l'intérieur de cette destination)"), 26, 34);
    CheckBox2 = NouveauControle<QCheckBox>(
        GroupBox3, QStringLiteral("CheckBox2"),
        QStringLiteral("Activer la recherche GENERALE des images en double"), 8, 50);
    Label4 =
        NouveauControle<QLabel>(GroupBox3, QStringLiteral("Label4"),
                                QStringLiteral("(entre cette destination et toutes les autres)"), 26, 68);

    BitBtn3 = NouveauBouton(this, QStringLiteral("BitBtn3"), QStringLiteral("OK"), QRect(4, 268, 96, 25));
    BitBtn3->setDefault(true);
    BitBtn2 =
        NouveauBouton(this, QStringLiteral("BitBtn2"), QStringLiteral("Annuler"), QRect(111, 268, 96, 25));
    BitBtn4 = NouveauBouton(this, QStringLiteral("BitBtn4"), QStringLiteral("Aide"), QRect(218, 268, 96, 25));
    BitBtn2->setAutoDefault(false);
    BitBtn4->setAutoDefault(false);

    // Captions too wide for this system's font widen the window rather than being cut.
    const int surplus = DepassementDesTextes(this, {CheckBox1, Label3, CheckBox2, Label4}, 10);
    ElargitFenetre(this, surplus,
                   {{GroupBox2, GroupBox1, GroupBox3}, {BitBtn1, BitBtnFonte, BitBtn4}, {BitBtn2}});

    connect(BitBtn1, &QPushButton::clicked, this, &TFormNouvDest::BitBtn1Click);
    connect(BitBtnFonte, &QToolButton::clicked, this, &TFormNouvDest::BitBtnFonteClick);
    connect(EditTitre, &QLineEdit::textChanged, this, &TFormNouvDest::EditTitreChange);
    connect(CheckBox2, &QCheckBox::toggled, this, &TFormNouvDest::CheckBox2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormNouvDest::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormNouvDest::BitBtn4Click);
}

void TFormNouvDest::Presente(const TProprietesDestination& proprietes) {
    // A font left as it is keeps following the window's.
    if (EditTitre->font() != proprietes.Fonte) EditTitre->setFont(proprietes.Fonte);
    CharsetTitre = proprietes.Charset;
    CouleurTitre = proprietes.Couleur;
    Label1->setText(proprietes.Chemin);
    AffichePath(proprietes.Chemin);
    EditTitre->setText(proprietes.Titre);
    CheckBox1->setChecked(proprietes.RechercheLocale);
    CheckBox2->setChecked(proprietes.RechercheGenerale);
    CheckBox1->setEnabled(!proprietes.RechercheGenerale);
}

void TFormNouvDest::PresenteAjout() {
    EditTitre->clear();
}

TProprietesDestination TFormNouvDest::Proprietes() const {
    TProprietesDestination proprietes;
    proprietes.Chemin = Chemins::SansSeparateurFinal(Label1->text());
    proprietes.Titre = EditTitre->text();
    proprietes.Fonte = EditTitre->font();
    proprietes.Charset = CharsetTitre;
    proprietes.Couleur = CouleurTitre;
    proprietes.RechercheLocale = CheckBox1->isChecked();
    proprietes.RechercheGenerale = CheckBox2->isChecked();
    return proprietes;
}

void TFormNouvDest::AffichePath(const QString& path) {
    const QFontMetrics mesure(Label2->font());
    const QString tete = path.left(3);
    // The shortest cut whose text is narrower than the limit: the width only shrinks as more is
    // cut, so it is found by halving, then made exact against the odd glyph pair.
    auto largeur = [&](qsizetype coupe) { return mesure.horizontalAdvance(tete + path.mid(3 + coupe)); };
    const qsizetype maximum = std::max<qsizetype>(0, path.size() - 3);
    qsizetype bas = 0, haut = maximum;
    while (bas < haut) {
        const qsizetype milieu = (bas + haut) / 2;
        if (largeur(milieu) < LargeurChemin)
            haut = milieu;
        else
            bas = milieu + 1;
    }
    while (bas > 0 && largeur(bas - 1) < LargeurChemin)
        --bas;
    while (bas < maximum && largeur(bas) >= LargeurChemin)
        ++bas;
    Label2->setText(bas == 0 ? path : tete + QStringLiteral("...") + path.mid(3 + bas));
    Label2->adjustSize();
}

void TFormNouvDest::BitBtn1Click() {
    const QString choisi = Dialogues->ChoisitDossier(this, Label1->text());
    if (choisi.isEmpty()) return;
    const QString dossier = Chemins::SansSeparateurFinal(choisi);
    Label1->setText(dossier);
    AffichePath(dossier);
    if (EditTitre->text().isEmpty()) EditTitre->setText(Chemins::NomDeFichier(dossier));
}

void TFormNouvDest::BitBtnFonteClick() {
    QFont police = EditTitre->font();
    if (Dialogues->ChoisitFonte(this, police)) EditTitre->setFont(police);
}

void TFormNouvDest::EditTitreChange() {
    // "Corbeille" names the trash alone.
    if (EditTitre->text() == TitreCorbeille) EditTitre->setText(TitreCorbeille + u' ');
}

void TFormNouvDest::CheckBox2Click() {
    // A GENERAL search always includes the LOCAL one.
    if (CheckBox2->isChecked()) CheckBox1->setChecked(true);
    CheckBox1->setEnabled(!CheckBox2->isChecked());
    Label3->setEnabled(!CheckBox2->isChecked());
}

void TFormNouvDest::BitBtn3Click() {
    accept();
}

void TFormNouvDest::BitBtn4Click() {
    MontreAide(2440);
}
