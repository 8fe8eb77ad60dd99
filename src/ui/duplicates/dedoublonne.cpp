#include "dedoublonne.h"

#include "core/app/questions.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/ajusteimage.h"
#include "core/source/decodage.h"
#include "core/source/lecteurimage.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"
#include "ui/app/imagecontrole.h"
#include "ui/source/pixels.h"
#include "ui/source/pleinecran.h"

#include <QAbstractTableModel>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>

// The grid's rows, one per pair, their texts made only for the rows drawn: a destination may have
// tens of thousands of pairs.
class TModelePaires : public QAbstractTableModel {
public:
    explicit TModelePaires(const TFormDedoublone& fenetre, const QList<TPaire>& lues)
        : QAbstractTableModel(nullptr), form(fenetre), paires(lues) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(paires.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= paires.size()) return {};
        return form.Cellule(index.row() + 1, index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const QStringList titres{QStringLiteral("Image 1"), QStringLiteral("Image 2"),
                                        QStringLiteral("Correlation")};
        return titres.value(section);
    }
    void Recharge() {
        beginResetModel();
        endResetModel();
    }

private:
    const TFormDedoublone& form;
    const QList<TPaire>& paires;
};

TFormDedoublone::TFormDedoublone(TSession& session_, TFormPleinEcran* pleinEcran_, QWidget* parent)
    : QDialog(parent), session(session_), pleinEcran(pleinEcran_) {
    setObjectName(QStringLiteral("FormDedoublone"));
    PrepareFenetre(this, QStringLiteral("Gestion des images en double"), 548, 400, Bordure::Redimensionnable,
                   2460);
    setMinimumSize(548, 400);
    setWindowState(Qt::WindowMaximized);

    GroupBoxList = new QGroupBox(QStringLiteral("Liste des images en double (0)"), this);
    GroupBoxList->setObjectName(QStringLiteral("GroupBoxList"));
    GroupBoxList->setFixedHeight(147);
    StringGrid1 = new QTableView(GroupBoxList);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    modele = new TModelePaires(*this, paires);
    modele->setParent(this);
    StringGrid1->setModel(modele);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setColumnWidth(0, 203);
    StringGrid1->setColumnWidth(1, 207);
    StringGrid1->setColumnWidth(2, 64);
    StringGrid1->setMouseTracking(true);
    StringGrid1->viewport()->installEventFilter(this);
    FixeIndice(StringGrid1,
               QStringLiteral("Clic gauche sur une ligne de la liste pour afficher les doublons"), true);

    Panel2 = new QWidget(GroupBoxList);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(31);
    auto* boutons = new QHBoxLayout(Panel2);
    boutons->setContentsMargins(4, 3, 4, 3);
    auto bouton = [&](const QString& nom, const QString& texte) {
        auto* b = new QPushButton(texte, Panel2);
        b->setObjectName(nom);
        b->setAutoDefault(false);
        boutons->addWidget(b);
        return b;
    };
    BitBtn1 = bouton(QStringLiteral("BitBtn1"), QStringLiteral("Effacer l'image &1"));
    BitBtn2 = bouton(QStringLiteral("BitBtn2"), QStringLiteral("Effacer l'image &2"));
    BitBtn3 = bouton(QStringLiteral("BitBtn3"), QStringLiteral("&Garder les deux"));
    BitBtn4 = bouton(QStringLiteral("BitBtn4"), QStringLiteral("&Effacer les deux"));
    boutons->addStretch(1);
    BitBtn5 = bouton(QStringLiteral("BitBtn5"), QStringLiteral("Aide"));
    auto* liste = new QVBoxLayout(GroupBoxList);
    liste->setContentsMargins(2, 2, 2, 2);
    liste->setSpacing(0);
    liste->addWidget(StringGrid1, 1);
    liste->addWidget(Panel2);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* images = new QHBoxLayout(Panel1);
    images->setContentsMargins(0, 0, 0, 0);
    images->setSpacing(0);
    GroupBox1 = CreeCote(QStringLiteral("1"), QStringLiteral("Image 1"), cote1, StatusBar1, Panneaux1);
    GroupBox2 = CreeCote(QStringLiteral("2"), QStringLiteral("Image 2"), cote2, StatusBar2, Panneaux2);
    Image1 = cote1.image;
    Image2 = cote2.image;
    images->addWidget(GroupBox1);
    images->addWidget(GroupBox2, 1);

    auto* fenetre = new QVBoxLayout(this);
    fenetre->setContentsMargins(0, 0, 0, 0);
    fenetre->setSpacing(0);
    fenetre->addWidget(GroupBoxList);
    fenetre->addWidget(Panel1, 1);

    connect(BitBtn1, &QPushButton::clicked, this, &TFormDedoublone::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormDedoublone::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormDedoublone::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormDedoublone::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, [] { MontreAide(2460); });
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& courant) {
                if (courant.isValid()) StringGrid1SelectCell(courant.row() + 1);
            });
    // A click on either picture shows its file full screen, read anew for the screen; any click
    // there, or Escape, comes back.
    for (TCote* cote : {&cote1, &cote2})
        connect(cote->image, &TImage::SourisRelachee, this, [this, cote] {
            if (pleinEcran && cote->image->TailleNaturelle().height() > 0)
                pleinEcran->MontreFichier(cote->montre, *cote->image);
        });
}

TFormDedoublone::~TFormDedoublone() = default;

QGroupBox* TFormDedoublone::CreeCote(const QString& nom, const QString& titre, TCote& cote,
                                     QStatusBar*& barre, QLabel** panneaux) {
    auto* boite = new QGroupBox(titre, Panel1);
    boite->setObjectName(QStringLiteral("GroupBox") + nom);
    cote.zone = new QWidget(boite);
    cote.zone->installEventFilter(this);
    cote.image = new TImage(cote.zone);
    cote.image->setObjectName(QStringLiteral("Image") + nom);
    FixeIndice(cote.image, QStringLiteral("Clic gauche pour afficher en plein écran"), true);
    barre = new QStatusBar(boite);
    barre->setObjectName(QStringLiteral("StatusBar") + nom);
    barre->setSizeGripEnabled(false);
    const int largeurs[2] = {80, 50};
    for (int i = 0; i < 2; ++i) {
        panneaux[i] = new QLabel(barre);
        panneaux[i]->setObjectName(QStringLiteral("Panneaux%1_%2").arg(nom).arg(i));
        panneaux[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panneaux[i]->setMinimumWidth(largeurs[i]);
        if (i == 0) panneaux[i]->setFixedWidth(largeurs[i]);
        // The path stretches to the end of the bar and never widens the window.
        barre->addWidget(panneaux[i], i);
    }
    panneaux[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cote.panneaux = panneaux;
    // One reader per side: moving quickly through the rows never piles reads up.
    cote.lecteur = new TLecteurImage(this);
    cote.attendue = 0;
    TCote* c = &cote;
    connect(cote.lecteur, &TLecteurImage::Lue, this, [this, c](quint64 numero, const TImageDecodee& lue) {
        if (numero != c->attendue) return;
        c->attendue = 0;
        // A picture that cannot be read keeps the previous one of its side.
        if (!lue.Lisible) return;
        c->montre = c->demande;
        c->image->FixeImage(lue.Image, lue.Naturelle);
        c->panneaux[0]->setText(
            QStringLiteral("%1x%2").arg(lue.Naturelle.width()).arg(lue.Naturelle.height()));
        ActualiseChemin(*c);
        c->image->show();
        Dimensionnement();
    });
    auto* cadre = new QVBoxLayout(boite);
    cadre->setContentsMargins(2, 2, 2, 2);
    cadre->addWidget(cote.zone, 1);
    cadre->addWidget(barre);
    return boite;
}

bool TFormDedoublone::Prepare(std::shared_ptr<TDestination> revue) {
    destination = std::move(revue);
    for (TCote* cote : {&cote1, &cote2}) {
        cote->attendue = 0;
        cote->montre.clear();
        cote->image->VideImage();
        cote->panneaux[0]->clear();
        cote->panneaux[1]->clear();
    }
    MiseAjour();
    StringGrid1->scrollToTop();
    return !paires.isEmpty();
}

void TFormDedoublone::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (destination) FormResize();
}

void TFormDedoublone::FormResize() {
    GroupBox1->setFixedWidth(width() / 2);
    const int largeur = StringGrid1->viewport()->width();
    // The last column never narrower than its header's text in the header's own font: what it
    // lacks is taken from the two paths.
    const int manque = std::max(0, StringGrid1->horizontalHeader()->sectionSizeHint(2) - (largeur / 7 - 1));
    StringGrid1->setColumnWidth(0, largeur * 3 / 7 - 1 - manque / 2);
    StringGrid1->setColumnWidth(1, largeur * 3 / 7 - 1 - (manque + 1) / 2);
    StringGrid1->setColumnWidth(2, largeur / 7 - 1 + manque);
    Dimensionnement();
    // The cells' texts follow the first column's width as they are drawn again.
    StringGrid1->viewport()->update();
    ActualiseChemin(cote1);
    ActualiseChemin(cote2);
}

void TFormDedoublone::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormResize();
    const QList<int> choisies = RangeesChoisies();
    if (!choisies.isEmpty()) StringGrid1SelectCell(choisies.first());
}

void TFormDedoublone::MiseAjour() {
    paires.clear();
    if (destination)
        for (const QString& ligne : destination->CopieDoublons())
            paires << LitPaire(ligne);
    const QString titre = GroupBoxList->title();
    GroupBoxList->setTitle(titre.left(titre.indexOf(u'(') + 1) + QString::number(paires.size()) + u')');
    {
        const QSignalBlocker silence(StringGrid1->selectionModel());
        modele->Recharge();
    }
    if (paires.isEmpty()) {
        if (isVisible()) reject();
        return;
    }
    Selectionne(1);
}

QString TFormDedoublone::Cellule(int rangee, int colonne) const {
    if (rangee < 1 || rangee > paires.size()) return QString();
    const TPaire& paire = paires[rangee - 1];
    switch (colonne) {
    case 0:
        return AffichePath(paire.Image1);
    case 1:
        return AffichePath(paire.Image2);
    default:
        return PourcentageSimilitude(paire.Dissemblance);
    }
}

QString TFormDedoublone::AffichePath(const QString& path) const {
    const int place = std::max(30, StringGrid1->columnWidth(0) - 30);
    const int largeur = StringGrid1->fontMetrics().horizontalAdvance(path);
    if (largeur <= 0) return path;
    const qsizetype garde = path.size() * place / largeur;
    const qsizetype retire = path.size() - garde;
    if (retire <= 0) return path;
    return path.left(3) + QStringLiteral("...") + path.mid(3 + retire);
}

void TFormDedoublone::Selectionne(int rangee) {
    QItemSelectionModel* selection = StringGrid1->selectionModel();
    const QSignalBlocker silence(selection);
    selection->setCurrentIndex(modele->index(rangee - 1, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QList<int> TFormDedoublone::RangeesChoisies() const {
    QList<int> rangees;
    for (const QModelIndex& ligne : StringGrid1->selectionModel()->selectedRows())
        rangees << ligne.row() + 1;
    std::sort(rangees.begin(), rangees.end());
    rangees.erase(std::unique(rangees.begin(), rangees.end()), rangees.end());
    return rangees;
}

void TFormDedoublone::StringGrid1SelectCell(int rangee) {
    if (rangee < 1 || rangee > paires.size()) return;
    const TPaire& paire = paires[rangee - 1];
    rangeeMontree = rangee;
    Charge(cote1, paire.Image1);
    Charge(cote2, paire.Image2);
}

void TFormDedoublone::ActualiseChemin(TCote& cote) {
    // The path as its grid cell shows it, which the column's width shortens.
    const int colonne = &cote == &cote1 ? 0 : 1;
    if (cote.image->TailleNaturelle().height() > 0 && rangeeMontree >= 1 && rangeeMontree <= paires.size())
        cote.panneaux[1]->setText(Cellule(rangeeMontree, colonne));
}

void TFormDedoublone::Charge(TCote& cote, const QString& fichier) {
    // Read off the main thread at the size of the box it is shown in, in the screen's own pixels,
    // beside the other side's picture.
    cote.attendue = ++demandes;
    cote.demande = fichier;
    cote.lecteur->Demande(cote.attendue, QFile::encodeName(fichier), PixelsDe(cote.zone));
}

bool TFormDedoublone::ChargementEnCours() const {
    return cote1.attendue != 0 || cote2.attendue != 0;
}

int TFormDedoublone::LecturesEnCours(int k) const {
    return (k == 1 ? cote1 : cote2).lecteur->EnCours();
}

void TFormDedoublone::Dimensionnement() {
    for (TCote* cote : {&cote1, &cote2}) {
        const QSize naturelle = cote->image->TailleNaturelle();
        if (naturelle.height() == 0) continue;
        const QSize boite = cote->zone->size();
        cote->image->setGeometry(AjusteImage(naturelle, boite, boite, cote->image->geometry()));
    }
}

bool TFormDedoublone::eventFilter(QObject* objet, QEvent* event) {
    if (event->type() == QEvent::Resize && (objet == cote1.zone || objet == cote2.zone)) {
        Dimensionnement();
    } else if (event->type() == QEvent::MouseMove && objet == StringGrid1->viewport()) {
        const QModelIndex case_ =
            StringGrid1->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!case_.isValid() || case_.row() >= paires.size())
            FixeIndice(StringGrid1, QString(), true);
        else if (case_.column() < 2)
            FixeIndice(StringGrid1,
                       case_.column() == 0 ? paires[case_.row()].Image1 : paires[case_.row()].Image2, true);
    }
    return QDialog::eventFilter(objet, event);
}

void TFormDedoublone::BitBtn1Click() {
    EffaceImage(1);
}

void TFormDedoublone::BitBtn2Click() {
    EffaceImage(2);
}

void TFormDedoublone::EffaceImage(int k) {
    const QList<int> rangees = RangeesChoisies();
    if (rangees.size() > 1 && session.Questions &&
        !session.Questions->ConfirmeOkAnnuler(
            QStringLiteral("Etes-vous sur de vouloir effacer toutes les images %1 de la sélection ?").arg(k)))
        return;
    Efface(rangees, k == 1, k == 2);
}

void TFormDedoublone::BitBtn4Click() {
    const QList<int> rangees = RangeesChoisies();
    if (rangees.size() == 1) Efface(rangees, true, true);
}

void TFormDedoublone::BitBtn3Click() {
    const QList<int> rangees = RangeesChoisies();
    if (rangees.isEmpty() || !destination) return;
    QStringList gardees;
    for (const int r : rangees)
        gardees << paires[r - 1].Ligne;
    destination->RetireDoublons(gardees);
    emit ListesChangees();
    Reprend(rangees.first());
}

void TFormDedoublone::Efface(const QList<int>& rangees, bool image1, bool image2) {
    if (rangees.isEmpty() || !destination) return;
    QList<TPaire> choisies;
    for (const int r : rangees)
        choisies << paires[r - 1];
    const TResultatEffacement resultat = session.EffaceDeLaRevue(choisies, image1, image2);
    if (!resultat.Effacees.isEmpty()) emit ListesChangees();
    if (!resultat.Message.isEmpty() && session.Questions) session.Questions->Avertit(resultat.Message);
    Reprend(rangees.first());
}

void TFormDedoublone::Reprend(int ancienneRangee) {
    MiseAjour();
    if (paires.isEmpty()) return;
    const int rangee = ancienneRangee <= paires.size() ? ancienneRangee : static_cast<int>(paires.size());
    Selectionne(std::max(1, rangee));
    StringGrid1SelectCell(std::max(1, rangee));
    StringGrid1->setFocus();
    StringGrid1->horizontalScrollBar()->setValue(0);
}
