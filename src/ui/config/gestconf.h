#pragma once

#include <QDialog>
#include <QTreeWidget>

#include <memory>
#include <vector>

class IDialogues;
class IFenetrePrincipale;
class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class TDestination;
class TListeGroupe;
class TSession;
struct TBandeIcones;

// The tree of the manager: a node pulled with the left button is dropped on another node, never
// on the root, itself or one of its own descendants; near the top or bottom edge the tree scrolls.
class TArbreDestinations : public QTreeWidget {
    Q_OBJECT
public:
    explicit TArbreDestinations(QWidget* parent = nullptr);
    // The node last pressed with any button; none for the root or empty space.
    QTreeWidgetItem* Memorise = nullptr;
    // Whether a node may be dropped on that one.
    bool AccepteDepot(const QTreeWidgetItem* cible) const;

signals:
    // A node dropped on another, at that point of the screen.
    void Depose(QTreeWidgetItem* deplace, QTreeWidgetItem* cible, QPoint ecran);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// True when node is start or one of its descendants.
bool TrouveDescendance(const QTreeWidgetItem* depart, const QTreeWidgetItem* noeud);

// The window "Gestionnaire de configuration": the destinations as a tree to rearrange by dragging
// and sorting, saving the configuration to a file of its own and opening another one. The tree
// is applied to the destinations and the levels when the window hides.
class TFormGestConf : public QDialog {
    Q_OBJECT
public:
    // session: the destinations shown and rearranged, and the configuration files opened and saved;
    // fenetre: the main window, whose bounds a configuration file saves and restores; icones: the
    // icon strip the tree's nodes take their images from.
    TFormGestConf(TSession& session, IFenetrePrincipale& fenetre, const TBandeIcones& icones,
                  QWidget* parent = nullptr);

    // The tree built from the open destinations (the trash aside), each under the one that opens
    // its level.
    void AfficheListe();
    // The destinations put in tree order, their levels numbered 1, 2, 3... in pre-order, and the
    // main window's levels made again from them.
    void reconstruitListe();

    void Dplacerdanscettedestination1Click();
    void Dplaceraprscettedestination1Click();
    void Trieralphabtiquementlesenfantsdecettedestinations1Click();
    void Triertoutelarborescence1Click();
    void BitBtnSauverClick();
    void BitBtnOuvrirClick();

    // Where the file pickers are shown (for real unless a test plays them).
    IDialogues* Dialogues;

signals:
    // Another configuration was opened: its source is to be shown.
    void ConfigurationOuverte();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QGroupBox* GroupBox2;
    QPushButton* BitBtnOuvrir;
    QPushButton* BitBtnSauver;
    QPushButton* bitbtnAide;
    QGroupBox* GroupBox1;
    TArbreDestinations* TreeView1;
    QMenu* PopupMenu1;
    QAction* Trieralphabtiquementlesenfantsdecettedestinations1;
    QAction* Triertoutelarborescence1;
    QMenu* PopupMenu2;
    QAction* Dplacerdanscettedestination1;
    QAction* Dplaceraprscettedestination1;

    QTreeWidgetItem* Racine() const { return TreeView1->topLevelItem(0); }
    std::shared_ptr<TDestination> DestinationDe(const QTreeWidgetItem* noeud) const;
    void TrieEnfants(QTreeWidgetItem* noeud);
    // A new, empty tree of levels for the main window and the configuration.
    TListeGroupe& NouveauxNiveaux();
    // An icon of the strip, with another one for the selected node.
    QIcon IconeDeNoeud(int normale, int choisie) const;

    // Where the file dialogs start.
    QString DossierSauver;
    QString DossierOuvrir;

    TSession& session;
    IFenetrePrincipale& fenetre;
    const TBandeIcones& icones;
    // The destinations shown, held while the tree names them by their index here.
    std::vector<std::shared_ptr<TDestination>> tenues;
    QTreeWidgetItem* deplace = nullptr;
    QTreeWidgetItem* cible = nullptr;
};
