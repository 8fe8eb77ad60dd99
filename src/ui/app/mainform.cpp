#include "mainform.h"

#include "aide.h"
#include "core/app/chemins.h"
#include "core/config/configuration.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "dialoguesfenetre.h"
#include "fenetre.h"
#include "globaux.h"
#include "imagecontrole.h"
#include "questionsfenetre.h"
#include "splash2.h"
#include "ui/config/gestconf.h"
#include "ui/source/affichagesource.h"
#include "ui/tools/nouvdest.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Colour of the three movable dividers ($C0F0C0).
const char* const StyleSeparateur = "QSplitter::handle { background-color: #C0F0C0; }";

QFrame* PanneauNoir(QWidget* parent, const QString& nom) {
    auto* panneau = new QFrame(parent);
    panneau->setObjectName(nom);
    panneau->setAutoFillBackground(true);
    QPalette palette = panneau->palette();
    palette.setColor(QPalette::Window, Qt::black);
    panneau->setPalette(palette);
    return panneau;
}

QLabel* LibelleIllisible(QWidget* parent, const QString& nom) {
    auto* libelle = new QLabel(QStringLiteral("Erreur lecture"), parent);
    libelle->setObjectName(nom);
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(13);
    police.setBold(true);
    libelle->setFont(police);
    QPalette palette = libelle->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    libelle->setPalette(palette);
    libelle->adjustSize();
    libelle->hide();
    return libelle;
}

// A new picture for an image control, in the colour of the controls until something is drawn.
QImage NouvelleImage(QSize taille) {
    QImage image(taille, QImage::Format_RGB32);
    image.fill(QApplication::palette().color(QPalette::Button));
    return image;
}

QSplitter* Separateur(Qt::Orientation orientation, QWidget* parent, const QString& nom) {
    auto* separateur = new QSplitter(orientation, parent);
    separateur->setObjectName(nom);
    separateur->setHandleWidth(3);
    separateur->setChildrenCollapsible(false);
    separateur->setOpaqueResize(true);
    separateur->setStyleSheet(QString::fromLatin1(StyleSeparateur));
    return separateur;
}

} // namespace

TMainForm::TMainForm(TSession& session_, const QString& dossierProgramme, const QString& dossierRessources)
    : session(session_) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QApplication::applicationDisplayName().isEmpty() ? QStringLiteral("Mirasolve")
                                                                    : QApplication::applicationDisplayName());
    setMinimumSize(640, 480);
    resize(640, 480);
    QFont police = QApplication::font();
    police.setPointSize(8);
    setFont(police);
    FixeContexteAide(this, 2100);

    // FormCreate, in its order.
    InitialiseAide(Chemins::Joint(dossierRessources, QStringLiteral("AIDE MIRASOLVE.HLP")), this);
    ImageList4 = ChargeBandeIcones(Chemins::Joint(dossierRessources, QStringLiteral("BandeMenu.bmp")));

    FenetreChargement = new TFormSplash2(ImageList4.Icone(0), this);
    FenetreChargement->show();
    FenetreChargement->repaint();

    Panneau = std::make_unique<TPanneauDestinations>();
    session.DossierProgramme = Chemins::SansSeparateurFinal(dossierProgramme);
    CreeMinuteries();
    CreeMenus();
    CreeBarresOutils();

    SplitterMain = Separateur(Qt::Horizontal, this, QStringLiteral("SplitterMain"));
    setCentralWidget(SplitterMain);
    CreeZoneSource();
    CreeZoneDestinations();
    SplitterMain->setStretchFactor(0, 1);
    SplitterMain->setStretchFactor(1, 0);

    ImageDestination->FixeImage(NouvelleImage(ImageDestination->size()));
    IconeSousGroupe = ImageList4.Images[0];
    ImageProgress->FixeImage(NouvelleImage(ImageProgress->size()));

    questionsFenetre = std::make_unique<TQuestionsFenetre>(this);
    FixeQuestions(questionsFenetre.get());
    Dialogues = &TDialoguesFenetre::Commun();
    Affichage = new TAffichageSource(
        {.PanelCourant2 = PanelCourant2,
         .ImageCourante = ImageCourante,
         .LabelCourantIllisible = LabelCourantIllisible,
         .PanelPrec2 = PanelPrec2,
         .ImagePrec = ImagePrec,
         .LabelPrecIllisible = LabelPrecIllisible,
         .PanelSuiv2 = PanelSuiv2,
         .ImageSuiv = ImageSuiv,
         .LabelSuivIllisible = LabelSuivIllisible,
         .ListBox1 = ListBox1,
         .TimerCourantAff = TimerCourantAff,
         .LabelSourceVide = LabelSourceVide,
         .PanneauxStatut = {PanneauxStatut[0], PanneauxStatut[1], PanneauxStatut[2], PanneauxStatut[3]},
         .ScrollBar1 = ScrollBar1},
        this);
    ConnecteNavigation();
    ConnecteDestinations();
    ConnecteRecherche();

    qApp->installEventFilter(this);
    Timer1->start();
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    // A task still running (the window destroyed without closing) is stopped and waited for: it
    // counts in Occupe and reads the sensitivity. It ends before it is deleted, whatever its kind.
    session.AttendFinRecherche();
    delete session.TacheRecherche.data();
}

void TMainForm::CreeMinuteries() {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    TimerFermeture = new QTimer(this);
    TimerFermeture->setObjectName(QStringLiteral("TimerFermeture"));
    TimerFermeture->setInterval(100);
    connect(TimerFermeture, &QTimer::timeout, this, &TMainForm::TimerFermetureTimer);

    TimerCourantAff = new QTimer(this);
    TimerCourantAff->setObjectName(QStringLiteral("TimerCourantAff"));
    TimerCourantAff->setInterval(100);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &TMainForm::Timer2Timer);
}

void TMainForm::CreeZoneDestinations() {
    GroupBoxDestinations = new QGroupBox(QStringLiteral("Destinations"), SplitterMain);
    GroupBoxDestinations->setObjectName(QStringLiteral("GroupBoxDestinations"));
    GroupBoxDestinations->setMinimumWidth(2);
    SplitterMain->addWidget(GroupBoxDestinations);

    ScrollBox1 = new QWidget(GroupBoxDestinations);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ImageDestination = new TImage(ScrollBox1);
    ImageDestination->setObjectName(QStringLiteral("ImageDestination"));
    ImageDestination->setMouseTracking(true);
    ScrollBarDest = new QScrollBar(Qt::Vertical, ScrollBox1);
    ScrollBarDest->setObjectName(QStringLiteral("ScrollBarDest"));
    ScrollBarDest->setFixedWidth(13);
    ScrollBarDest->setPageStep(0);
    ScrollBarDest->setSingleStep(35);

    auto* boite = new QHBoxLayout(ScrollBox1);
    boite->setContentsMargins(0, 0, 0, 0);
    boite->setSpacing(0);
    boite->addWidget(ImageDestination, 1);
    boite->addWidget(ScrollBarDest);

    auto* cadre = new QVBoxLayout(GroupBoxDestinations);
    cadre->setContentsMargins(2, 2, 2, 2);
    cadre->addWidget(ScrollBox1);

    SurveilleEvenement(GroupBoxDestinations, QEvent::Paint, [this] { SplitterMainPaint(); });
}

void TMainForm::CreeZoneSource() {
    GroupBoxSource = new QGroupBox(QStringLiteral("Source"), SplitterMain);
    GroupBoxSource->setObjectName(QStringLiteral("GroupBoxSource"));
    GroupBoxSource->setMinimumWidth(1);
    SplitterMain->addWidget(GroupBoxSource);

    Splitter1 = Separateur(Qt::Horizontal, GroupBoxSource, QStringLiteral("Splitter1"));
    auto* cadre = new QVBoxLayout(GroupBoxSource);
    cadre->setContentsMargins(2, 2, 2, 2);
    cadre->addWidget(Splitter1);

    Panel2 = new QWidget(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setMinimumWidth(1);
    ListBox1 = new QListWidget(Panel2);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new TDelegueHauteurFixe(13, ListBox1));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBox1->setMinimumSize(1, 1);
    auto* liste = new QVBoxLayout(Panel2);
    liste->setContentsMargins(0, 0, 0, 0);
    liste->addWidget(ListBox1);
    Splitter1->addWidget(Panel2);
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        PopupMenuTri->popup(ListBox1->viewport()->mapToGlobal(position));
    });
    SurveilleEvenement(Panel2, QEvent::Resize, [this] { Panel2Resize(); });

    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumWidth(1);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    SplitterH = Separateur(Qt::Vertical, Panel1, QStringLiteral("SplitterH"));
    auto* droite = new QVBoxLayout(Panel1);
    droite->setContentsMargins(0, 0, 0, 0);
    droite->addWidget(SplitterH);

    PanelPrecSuiv = new QWidget(SplitterH);
    PanelPrecSuiv->setObjectName(QStringLiteral("PanelPrecSuiv"));
    PanelPrecSuiv->setMinimumHeight(1);
    SplitterH->addWidget(PanelPrecSuiv);
    CreeApercus(PanelPrecSuiv);
    SurveilleEvenement(PanelPrecSuiv, QEvent::Resize, [this] { PanelPrecSuivResize(); });

    PanelCourant = new QWidget(SplitterH);
    PanelCourant->setObjectName(QStringLiteral("PanelCourant"));
    PanelCourant->setMinimumHeight(1);
    SplitterH->addWidget(PanelCourant);
    SplitterH->setStretchFactor(0, 0);
    SplitterH->setStretchFactor(1, 1);
    CreeImageCourante(PanelCourant);
}

void TMainForm::CreeApercus(QWidget* parent) {
    auto creeBoite = [parent](const QString& nomBoite, const QString& titre, const QString& nomPanneau,
                              QFrame*& panneau, TImage*& image, const QString& nomImage, QLabel*& libelle,
                              const QString& nomLibelle) {
        auto* boite = new QGroupBox(titre, parent);
        boite->setObjectName(nomBoite);
        panneau = PanneauNoir(boite, nomPanneau);
        auto* cadre = new QVBoxLayout(boite);
        cadre->setContentsMargins(2, 2, 2, 2);
        cadre->addWidget(panneau);
        image = new TImage(panneau);
        image->setObjectName(nomImage);
        libelle = LibelleIllisible(panneau, nomLibelle);
        return boite;
    };
    // The box captioned "Image précédente" shows the previous file through ImageSuiv, and the box
    // captioned "Image suivante" the next file through ImagePrec.
    GroupBoxPrec = creeBoite(QStringLiteral("GroupBoxPrec"), QStringLiteral("Image précédente"),
                             QStringLiteral("PanelSuiv2"), PanelSuiv2, ImageSuiv, QStringLiteral("ImageSuiv"),
                             LabelSuivIllisible, QStringLiteral("LabelSuivIllisible"));
    GroupBoxSuiv = creeBoite(QStringLiteral("GroupBoxSuiv"), QStringLiteral("Image suivante"),
                             QStringLiteral("PanelPrec2"), PanelPrec2, ImagePrec, QStringLiteral("ImagePrec"),
                             LabelPrecIllisible, QStringLiteral("LabelPrecIllisible"));
}

void TMainForm::CreeImageCourante(QWidget* parent) {
    GroupBoxCourant = new QGroupBox(QStringLiteral("Image courante"), parent);
    GroupBoxCourant->setObjectName(QStringLiteral("GroupBoxCourant"));
    auto* exterieur = new QVBoxLayout(parent);
    exterieur->setContentsMargins(0, 0, 0, 0);
    exterieur->addWidget(GroupBoxCourant);

    ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBoxCourant);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setPageStep(10);

    PanelCourant2 = PanneauNoir(GroupBoxCourant, QStringLiteral("PanelCourant2"));
    ImageCourante = new TImage(PanelCourant2);
    ImageCourante->setObjectName(QStringLiteral("ImageCourante"));
    FixeIndice(ImageCourante, QStringLiteral("Clic gauche pour afficher en plein écran"), false);
    LabelCourantIllisible = LibelleIllisible(PanelCourant2, QStringLiteral("LabelCourantIllisible"));
    LabelSourceVide =
        new QLabel(QStringLiteral("Choisissez un dossier de photos : Source > Définir une nouvelle source"),
                   PanelCourant2);
    LabelSourceVide->setObjectName(QStringLiteral("LabelSourceVide"));
    LabelSourceVide->setAlignment(Qt::AlignCenter);
    LabelSourceVide->setWordWrap(true);
    LabelSourceVide->setMargin(8);
    QFont invite = LabelSourceVide->font();
    invite.setPointSize(12);
    LabelSourceVide->setFont(invite);
    QPalette blanc = LabelSourceVide->palette();
    blanc.setColor(QPalette::WindowText, Qt::white);
    LabelSourceVide->setPalette(blanc);
    LabelSourceVide->hide();

    StatusBarCourant = new QStatusBar(GroupBoxCourant);
    StatusBarCourant->setObjectName(QStringLiteral("StatusBarCourant"));
    StatusBarCourant->setSizeGripEnabled(false);
    const int largeurs[4] = {80, 60, 0, 75};
    for (int i = 0; i < 4; ++i) {
        PanneauxStatut[i] = new QLabel(StatusBarCourant);
        PanneauxStatut[i]->setObjectName(QStringLiteral("PanneauStatut%1").arg(i));
        PanneauxStatut[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        PanneauxStatut[i]->setFixedWidth(largeurs[i]);
    }
    // The size panel holds the largest size a picture may have in the font in use; the last
    // panel, the path, stretches to the end of the bar and never widens the window.
    QLabel* taille = PanneauxStatut[1];
    const int bords = 2 * taille->frameWidth() + 2 * taille->margin() + 6;
    taille->setFixedWidth(std::max(
        largeurs[1], taille->fontMetrics().horizontalAdvance(QStringLiteral("20000x20000")) + bords));
    PanneauxStatut[3]->setMinimumWidth(largeurs[3]);
    PanneauxStatut[3]->setMaximumWidth(QWIDGETSIZE_MAX);
    for (int i = 0; i < 4; ++i)
        StatusBarCourant->addWidget(PanneauxStatut[i], i == 3 ? 1 : 0);

    auto* cadre = new QVBoxLayout(GroupBoxCourant);
    cadre->setContentsMargins(2, 2, 2, 2);
    cadre->setSpacing(0);
    cadre->addWidget(ScrollBar1);
    cadre->addWidget(PanelCourant2, 1);
    cadre->addWidget(StatusBarCourant);
}

void TMainForm::RemplitListe() {
    ListBox1->clear();
    const TSourceListe* source = session.ListeSource();
    if (!source) return;
    QStringList noms;
    noms.reserve(source->Fichiers.Count());
    for (int i = 0; i < source->Fichiers.Count(); ++i)
        noms << QFile::decodeName(Chemins::NomDeFichier(source->Fichiers.Texte(i)));
    ListBox1->addItems(noms);
}

bool TMainForm::MultiSelection() const {
    return Affichage->MultiSelection();
}

void TMainForm::FixeQuestions(IQuestions* questions) {
    Questions = questions;
    session.Questions = questions;
    Tconfiguration* configuration = session.Configuration();
    if (!configuration) return;
    configuration->Questions = questions;
    configuration->ContexteDestinations.Questions = questions;
}

void TMainForm::FixeDialogues(IDialogues* dialogues) {
    Dialogues = dialogues;
    if (FormNouvDest) FormNouvDest->Dialogues = dialogues;
    if (FormGestConf) FormGestConf->Dialogues = dialogues;
}

void TMainForm::FixeIndiceListe(const QString& indice) {
    FixeIndice(ListBox1, indice, true);
}

void TMainForm::SplitterMainPaint() {
    if (GroupBoxDestinations->width() < 2) GroupBoxDestinations->resize(2, GroupBoxDestinations->height());
}

void TMainForm::Panel2Resize() {
    if (Panel2->width() < 1) Panel2->resize(1, Panel2->height());
}

void TMainForm::PanelPrecSuivResize() {
    const int largeur = PanelPrecSuiv->width();
    const int hauteur = PanelPrecSuiv->height();
    GroupBoxPrec->setGeometry(0, 0, largeur / 2, hauteur);
    GroupBoxSuiv->setGeometry(largeur / 2, 0, largeur - largeur / 2, hauteur);
    if (hauteur < 1) PanelPrecSuiv->resize(largeur, 1);
}

void TMainForm::Timer1Timer() {
    FenetreChargement->hide();
    Timer1->stop();
    Timer2->start();
    RemplitListe();
    Affichage->AfficheTout();
    lower();
    FixeMaximisee(session.Configuration() && session.Configuration()->Maximized);
    // Fired before the window was first shown (the start-up ran the event loop): shown now.
    if (!isVisible()) show();
    raise();
    activateWindow();
    GroupBoxDestinations->layout()->activate();
    RafraichisListeDestinations();
    for (const auto& [erreur, message] : std::exchange(MessagesDemarrage, {})) {
        if (erreur)
            Questions->SignaleErreur(message);
        else
            Questions->Avertit(message);
    }
}
