#include "gestconf.h"

#include "core/app/bandeicones.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/session/session.h"
#include "ui/app/aide.h"
#include "ui/app/curseur.h"
#include "ui/app/dialoguesfenetre.h"
#include "ui/app/fenetre.h"

#include <QCollator>
#include <QDragMoveEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include <map>

namespace {

const QString FiltreConfiguration = QStringLiteral("Fichier de configuration (*.ini)");

} // namespace

bool TrouveDescendance(const QTreeWidgetItem* depart, const QTreeWidgetItem* noeud) {
    QList<const QTreeWidgetItem*> file{depart};
    while (!file.isEmpty()) {
        const QTreeWidgetItem* vu = file.takeFirst();
        if (vu == noeud) return true;
        for (int i = 0; i < vu->childCount(); ++i)
            file << vu->child(i);
    }
    return false;
}

TArbreDestinations::TArbreDestinations(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setIndentation(19);
    setMinimumSize(402, 200);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setMouseTracking(true); // hot tracking
}

void TArbreDestinations::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* noeud = itemAt(event->position().toPoint());
    Memorise = noeud && noeud != topLevelItem(0) ? noeud : nullptr;
    QTreeWidget::mousePressEvent(event);
}

bool TArbreDestinations::AccepteDepot(const QTreeWidgetItem* cible) const {
    return cible && Memorise && cible != topLevelItem(0) && !TrouveDescendance(Memorise, cible);
}

void TArbreDestinations::dragEnterEvent(QDragEnterEvent* event) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TArbreDestinations::dragMoveEvent(QDragMoveEvent* event) {
    const QPoint position = event->position().toPoint();
    QTreeWidgetItem* dessous = itemAt(position);
    if (!AccepteDepot(dessous)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // Near an edge, the neighbour of the node under the cursor comes first in view.
    if (position.y() < 32) {
        if (QTreeWidgetItem* avant = itemAbove(dessous))
            scrollToItem(avant, QAbstractItemView::PositionAtTop);
    } else if (position.y() > viewport()->height() - 32) {
        if (QTreeWidgetItem* apres = itemBelow(dessous))
            scrollToItem(apres, QAbstractItemView::PositionAtTop);
    }
}

void TArbreDestinations::dropEvent(QDropEvent* event) {
    // The tree moves nothing itself: the menu after the drop says how.
    QTreeWidgetItem* cible = itemAt(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (Memorise && cible && cible != Memorise && AccepteDepot(cible))
        emit Depose(Memorise, cible, viewport()->mapToGlobal(event->position().toPoint()));
}

TFormGestConf::TFormGestConf(TSession& session_, IFenetrePrincipale& fenetre_, const TBandeIcones& icones_,
                             QWidget* parent)
    : QDialog(parent), Dialogues(&TDialoguesFenetre::Commun()), session(session_), fenetre(fenetre_),
      icones(icones_) {
    setObjectName(QStringLiteral("FormGestConf"));
    PrepareFenetre(this, QStringLiteral("Gestionnaire de configuration"), 422, 301, Bordure::Redimensionnable,
                   2420);

    GroupBox2 = new QGroupBox(QStringLiteral("Choix du fichier de configuration"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    BitBtnOuvrir = new QPushButton(QStringLiteral("&Ouvrir une configuration"), GroupBox2);
    BitBtnOuvrir->setObjectName(QStringLiteral("BitBtnOuvrir"));
    BitBtnSauver = new QPushButton(QStringLiteral("&Sauver la configuration"), GroupBox2);
    BitBtnSauver->setObjectName(QStringLiteral("BitBtnSauver"));
    bitbtnAide = new QPushButton(QStringLiteral("Aide"), GroupBox2);
    bitbtnAide->setObjectName(QStringLiteral("bitbtnAide"));
    for (QPushButton* bouton : {BitBtnOuvrir, BitBtnSauver, bitbtnAide})
        bouton->setAutoDefault(false);
    auto* boutons = new QHBoxLayout(GroupBox2);
    boutons->addWidget(BitBtnOuvrir);
    boutons->addWidget(BitBtnSauver);
    boutons->addStretch(1);
    boutons->addWidget(bitbtnAide);

    GroupBox1 = new QGroupBox(
        QStringLiteral("Liste des destinations (Clic Gauche pour déplacer / Clic Droit pour trier)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    TreeView1 = new TArbreDestinations(GroupBox1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* arbre = new QVBoxLayout(GroupBox1);
    arbre->addWidget(TreeView1);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(GroupBox2);
    disposition->addWidget(GroupBox1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Trieralphabtiquementlesenfantsdecettedestinations1 =
        PopupMenu1->addAction(QStringLiteral("Trier alphabétiquement les sous-destinations"));
    Triertoutelarborescence1 =
        PopupMenu1->addAction(QStringLiteral("Trier alphabétiquement toute l'arborescence"));
    Trieralphabtiquementlesenfantsdecettedestinations1->setObjectName(
        QStringLiteral("Trieralphabtiquementlesenfantsdecettedestinations1"));
    Triertoutelarborescence1->setObjectName(QStringLiteral("Triertoutelarborescence1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    Dplacerdanscettedestination1 =
        PopupMenu2->addAction(QStringLiteral("Déplacer à l'intérieur de cette destination"));
    Dplaceraprscettedestination1 = PopupMenu2->addAction(QStringLiteral("Déplacer devant cette destination"));
    Dplacerdanscettedestination1->setObjectName(QStringLiteral("Dplacerdanscettedestination1"));
    Dplaceraprscettedestination1->setObjectName(QStringLiteral("Dplaceraprscettedestination1"));

    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(position));
    });
    connect(TreeView1, &TArbreDestinations::Depose, this,
            [this](QTreeWidgetItem* pris, QTreeWidgetItem* sur, QPoint ecran) {
                deplace = pris;
                cible = sur;
                PopupMenu2->popup(ecran);
            });
    connect(Trieralphabtiquementlesenfantsdecettedestinations1, &QAction::triggered, this,
            &TFormGestConf::Trieralphabtiquementlesenfantsdecettedestinations1Click);
    connect(Triertoutelarborescence1, &QAction::triggered, this,
            &TFormGestConf::Triertoutelarborescence1Click);
    connect(Dplacerdanscettedestination1, &QAction::triggered, this,
            &TFormGestConf::Dplacerdanscettedestination1Click);
    connect(Dplaceraprscettedestination1, &QAction::triggered, this,
            &TFormGestConf::Dplaceraprscettedestination1Click);
    connect(BitBtnSauver, &QPushButton::clicked, this, &TFormGestConf::BitBtnSauverClick);
    connect(BitBtnOuvrir, &QPushButton::clicked, this, &TFormGestConf::BitBtnOuvrirClick);
    connect(bitbtnAide, &QPushButton::clicked, this, [] { MontreAide(2420); });
}

void TFormGestConf::showEvent(QShowEvent* event) {
    if (DossierSauver.isEmpty()) DossierSauver = DossierOuvrir = session.DossierProgramme;
    AfficheListe();
    QDialog::showEvent(event);
}

void TFormGestConf::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) reconstruitListe();
}

QIcon TFormGestConf::IconeDeNoeud(int normale, int choisie) const {
    QIcon icone = icones.Icone(normale);
    if (choisie != normale) icones.AjouteA(icone, choisie, QIcon::Selected);
    return icone;
}

std::shared_ptr<TDestination> TFormGestConf::DestinationDe(const QTreeWidgetItem* noeud) const {
    bool correct = false;
    const auto index = noeud ? noeud->data(0, Qt::UserRole).toULongLong(&correct) : 0;
    return correct && index < tenues.size() ? tenues[index] : nullptr;
}

void TFormGestConf::AfficheListe() {
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    TreeView1->Memorise = nullptr;
    deplace = cible = nullptr;
    tenues.clear();
    auto* racine = new QTreeWidgetItem(TreeView1, QStringList{QStringLiteral("Arborescence")});
    racine->setIcon(0, IconeDeNoeud(19, 19));
    racine->setFlags(racine->flags() & ~Qt::ItemIsDragEnabled);
    if (const Tconfiguration* configuration = session.Configuration()) {
        // The node that opens each level, by its id: any id a file may hold.
        std::map<int32_t, QTreeWidgetItem*> parents{{0, racine}};
        const QIcon icone = IconeDeNoeud(17, 18);
        for (int i = 1; i < configuration->Destinations.Count(); ++i) {
            const std::shared_ptr<TDestination>& d = configuration->Destinations.Partage(i);
            const auto parent = parents.find(d->Groupe);
            auto* noeud =
                new QTreeWidgetItem(parent != parents.end() ? parent->second : racine, QStringList{d->Titre});
            noeud->setIcon(0, icone);
            noeud->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(tenues.size()));
            tenues.push_back(d);
            if (d->SousGroupe != -1) parents[d->SousGroupe] = noeud;
        }
    }
    TreeView1->setUpdatesEnabled(true);
    TreeView1->expandAll();
}

void TFormGestConf::reconstruitListe() {
    Tconfiguration* configuration = session.Configuration();
    if (!configuration || !Racine()) return;
    TListeDestinations nouvelle;
    nouvelle.Reserve(configuration->Destinations.Count());
    nouvelle.Ajoute(configuration->Destinations.Texte(0), configuration->Destinations.Partage(0));
    int32_t prochainId = 1;
    // Pre-order: each node, then its children in order.
    std::vector<QTreeWidgetItem*> pile;
    for (int i = Racine()->childCount() - 1; i >= 0; --i)
        pile.push_back(Racine()->child(i));
    while (!pile.empty()) {
        QTreeWidgetItem* noeud = pile.back();
        pile.pop_back();
        const std::shared_ptr<TDestination> d = DestinationDe(noeud);
        if (!d) continue;
        const std::shared_ptr<TDestination> parent = DestinationDe(noeud->parent());
        d->Groupe = parent ? parent->SousGroupe : 0;
        d->SousGroupe = noeud->childCount() > 0 ? prochainId++ : -1;
        nouvelle.Ajoute(d->Titre, d);
        for (int i = noeud->childCount() - 1; i >= 0; --i)
            pile.push_back(noeud->child(i));
    }
    configuration->Destinations = std::move(nouvelle);
    // The levels made again from the list; the panel shows the top level, from its start.
    TListeGroupe& groupes = NouveauxNiveaux();
    for (int i = 0; i < configuration->Destinations.Count(); ++i) {
        const TDestination& d = *configuration->Destinations.Element(i);
        if (d.SousGroupe != -1 && i > 0)
            groupes.AjouteGroupe(d);
        else
            groupes.Ajoute(d);
    }
}

TListeGroupe& TFormGestConf::NouveauxNiveaux() {
    return session.NouveauxNiveaux();
}

void TFormGestConf::Dplacerdanscettedestination1Click() {
    if (!deplace || !cible || TrouveDescendance(deplace, cible)) return;
    deplace->parent()->removeChild(deplace);
    cible->addChild(deplace);
    TreeView1->expandAll();
    deplace = cible = nullptr;
}

void TFormGestConf::Dplaceraprscettedestination1Click() {
    if (!deplace || !cible || TrouveDescendance(deplace, cible) || !cible->parent()) return;
    deplace->parent()->removeChild(deplace);
    QTreeWidgetItem* parent = cible->parent();
    parent->insertChild(parent->indexOfChild(cible), deplace);
    TreeView1->expandAll();
    deplace = cible = nullptr;
}

void TFormGestConf::TrieEnfants(QTreeWidgetItem* noeud) {
    // The platform's locale-aware comparison, letter case counted.
    QCollator collateur{QLocale(QLocale::French, QLocale::France)};
    collateur.setCaseSensitivity(Qt::CaseSensitive);
    QList<QTreeWidgetItem*> enfants = noeud->takeChildren();
    std::stable_sort(enfants.begin(), enfants.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return collateur.compare(a->text(0), b->text(0)) < 0;
    });
    noeud->addChildren(enfants);
}

void TFormGestConf::Trieralphabtiquementlesenfantsdecettedestinations1Click() {
    TrieEnfants(TreeView1->Memorise ? TreeView1->Memorise : Racine());
    TreeView1->expandAll();
}

void TFormGestConf::Triertoutelarborescence1Click() {
    std::vector<QTreeWidgetItem*> pile{Racine()};
    while (!pile.empty()) {
        QTreeWidgetItem* noeud = pile.back();
        pile.pop_back();
        if (noeud->childCount() > 0) TrieEnfants(noeud);
        for (int i = 0; i < noeud->childCount(); ++i)
            pile.push_back(noeud->child(i));
    }
    TreeView1->expandAll();
}

void TFormGestConf::BitBtnSauverClick() {
    reconstruitListe();
    const QString fichier =
        Dialogues->ChoisitFichier(this, QStringLiteral("Enregistrer la configuration"), DossierSauver,
                                  FiltreConfiguration, QStringLiteral("ini"), true);
    if (fichier.isEmpty()) return;
    const TResultatConfiguration resultat = session.SauveConfiguration(fichier, fenetre);
    if (!resultat.Message.isEmpty() && session.Questions) session.Questions->Avertit(resultat.Message);
    if (resultat.Refusee) return;
    raise();
    DossierOuvrir = QFileInfo(fichier).absolutePath();
}

void TFormGestConf::BitBtnOuvrirClick() {
    const QString fichier =
        Dialogues->ChoisitFichier(this, QStringLiteral("Ouvrir une configuration"), DossierOuvrir,
                                  FiltreConfiguration, QStringLiteral("ini"), false);
    if (fichier.isEmpty()) return;
    FixeCurseur(Qt::WaitCursor);
    const TResultatConfiguration resultat = session.OuvreConfiguration(fichier, fenetre);
    if (!resultat.Message.isEmpty() && session.Questions) {
        if (resultat.Erreur)
            session.Questions->SignaleErreur(resultat.Message);
        else
            session.Questions->Avertit(resultat.Message);
    }
    if (resultat.Fait) {
        raise();
        emit ConfigurationOuverte();
        AfficheListe();
        DossierSauver = QFileInfo(fichier).absolutePath();
    }
    CurseurParDefaut();
}
