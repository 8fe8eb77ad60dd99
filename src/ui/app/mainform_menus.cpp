#include "mainform.h"

#include "fenetre.h"
#include "imagecontrole.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QAction* TMainForm::NouvelleAction(QMenu* menu, const QString& nom, const QString& titre, int image,
                                   int contexte, const QString& indice) {
    QAction* action = menu->addAction(titre);
    action->setObjectName(nom);
    if (image >= 0) action->setIcon(ImageList4.Icone(image));
    if (contexte) FixeContexteAide(action, contexte);
    if (!indice.isEmpty()) action->setToolTip(indice);
    return action;
}

void TMainForm::CreeMenus() {
    QMenuBar* barre = menuBar();
    barre->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* fichier = barre->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    GestiondeSignatures1 = NouvelleAction(fichier, QStringLiteral("GestiondeSignatures1"),
                                          QStringLiteral("Gérer les &Signatures des images"), -1, 2205);
    Gestionnairedeconfiguration1 =
        NouvelleAction(fichier, QStringLiteral("Gestionnairedeconfiguration1"),
                       QStringLiteral("Gérer les &Configurations multiples"), 2, 2205);
    connect(Gestionnairedeconfiguration1, &QAction::triggered, this,
            &TMainForm::Gestionnairedeconfiguration1Click);
    Prfrences1 =
        NouvelleAction(fichier, QStringLiteral("Prfrences1"), QStringLiteral("&Préférences"), 25, 2205);
    fichier->addSeparator();
    Viderlacorbeille1 = NouvelleAction(fichier, QStringLiteral("Viderlacorbeille1"),
                                       QStringLiteral("&Vider la corbeille"), 16, 2205);
    connect(GestiondeSignatures1, &QAction::triggered, this, &TMainForm::GestiondeSignatures1Click);
    connect(Prfrences1, &QAction::triggered, this, &TMainForm::Prfrences1Click);
    connect(Viderlacorbeille1, &QAction::triggered, this, &TMainForm::Viderlacorbeille1Click);
    fichier->addSeparator();
    Quit1 = NouvelleAction(fichier, QStringLiteral("Quit1"), QStringLiteral("&Quitter"), -1, 2205);
    connect(Quit1, &QAction::triggered, this, &TMainForm::Quit1Click);

    QMenu* source = barre->addMenu(QStringLiteral("&Source"));
    source->setObjectName(QStringLiteral("Source1"));
    Parcourir1 =
        NouvelleAction(source, QStringLiteral("Parcourir1"), QStringLiteral("&Définir une nouvelle source"),
                       0, 2210, QStringLiteral("Définir une nouvelle source"));
    Rafraichir1 =
        NouvelleAction(source, QStringLiteral("Rafraichir1"), QStringLiteral("&Rafraichir la source"), 1,
                       2210, QStringLiteral("Rafraichir la source"));
    connect(Parcourir1, &QAction::triggered, this, &TMainForm::Parcourir1Click);
    connect(Rafraichir1, &QAction::triggered, this, &TMainForm::Rafraichir1Click);

    QMenu* destinations = barre->addMenu(QStringLiteral("&Destinations"));
    destinations->setObjectName(QStringLiteral("Destinations1"));
    Annulation1 = NouvelleAction(destinations, QStringLiteral("Annulation1"),
                                 QStringLiteral("A&nnuler la dernière commande"), 9, 2215,
                                 QStringLiteral("Annuler la dernière commande"));
    // Ctrl+Z, shown in the menu; a text being typed keeps it for itself.
    Annulation1->setShortcut(QKeySequence::Undo);
    connect(Annulation1, &QAction::triggered, this, &TMainForm::Annulation1Click);
    destinations->addSeparator();
    Ajouter1 =
        NouvelleAction(destinations, QStringLiteral("Ajouter1"), QStringLiteral("&Ajouter une destination"),
                       7, 2215, QStringLiteral("Ajouter une destination"));
    Ajouteravecsousdossiers1 =
        NouvelleAction(destinations, QStringLiteral("Ajouteravecsousdossiers1"),
                       QStringLiteral("Ajouter une destination avec ses &Sous-dossiers"), 10, 2215,
                       QStringLiteral("Ajouter une destination avec ses sous-dossiers"));
    Fermertouteslesdestinations1 =
        NouvelleAction(destinations, QStringLiteral("Fermertouteslesdestinations1"),
                       QStringLiteral("&Fermer toutes les destinations"), 12, 2215,
                       QStringLiteral("Fermer toutes les destinations"));
    connect(Ajouter1, &QAction::triggered, this, &TMainForm::Ajouter1Click);
    connect(Ajouteravecsousdossiers1, &QAction::triggered, this, &TMainForm::Ajouteravecsousdossiers1Click);
    connect(Fermertouteslesdestinations1, &QAction::triggered, this,
            &TMainForm::Fermertouteslesdestinations1Click);

    QMenu* doublons = barre->addMenu(QStringLiteral("&Images en double"));
    doublons->setObjectName(QStringLiteral("Ddoublonnage1"));
    FixeContexteAide(doublons, 2220);
    Dsactiverlarecherchepourtouteslesdestinations1 =
        NouvelleAction(doublons, QStringLiteral("Dsactiverlarecherchepourtouteslesdestinations1"),
                       QStringLiteral("&Désactiver la recherche pour toutes les destinations"), 4, 2220,
                       QStringLiteral("Désactiver la recherche pour toutes les destinations"));
    ActiverlarechercheLOCALEpourtouteslesdestinations1 =
        NouvelleAction(doublons, QStringLiteral("ActiverlarechercheLOCALEpourtouteslesdestinations1"),
                       QStringLiteral("Activer la recherche &LOCALE pour toutes les destinations"), 8, 2220,
                       QStringLiteral("Activer la recherche LOCALE pour toutes les destinations"));
    ActiverlarechercheGENERALEpourtouteslesdestinations1 =
        NouvelleAction(doublons, QStringLiteral("ActiverlarechercheGENERALEpourtouteslesdestinations1"),
                       QStringLiteral("Activer la recherche &GENERALE pour toutes les destinations"), 11,
                       2220, QStringLiteral("Activer la recherche GENERALE pour toutes les destinations"));
    doublons->addSeparator();
    Montrerladestinationencoursdeddoublonnage1 =
        NouvelleAction(doublons, QStringLiteral("Montrerladestinationencoursdeddoublonnage1"),
                       QStringLiteral("&Montrer la destination en cours de recherche"), 21, 2220,
                       QStringLiteral("Montrer la destination en cours de recherche"));
    Montrerlesdestinationsquiontdesdoublons1 =
        NouvelleAction(doublons, QStringLiteral("Montrerlesdestinationsquiontdesdoublons1"),
                       QStringLiteral("Montrer les destinations qui ont des &Images en double"), 20, 2220,
                       QStringLiteral("Montrer les destinations qui ont des images en double"));
    connect(Dsactiverlarecherchepourtouteslesdestinations1, &QAction::triggered, this,
            &TMainForm::Dsactiverlededoublonagepourtous1Click);
    connect(ActiverlarechercheLOCALEpourtouteslesdestinations1, &QAction::triggered, this,
            &TMainForm::Activerleddoublonnage1Click);
    connect(ActiverlarechercheGENERALEpourtouteslesdestinations1, &QAction::triggered, this,
            &TMainForm::ActiverleddoublonnageGENERALpourtouteslesdestinations1Click);
    connect(Montrerladestinationencoursdeddoublonnage1, &QAction::triggered, this,
            &TMainForm::Montrerladestinationencoursdeddoublonnage1Click);
    connect(Montrerlesdestinationsquiontdesdoublons1, &QAction::triggered, this,
            &TMainForm::Montrerlesdestinationsquiontdesdoublons1Click);

    QMenu* aide = barre->addMenu(QStringLiteral("&Aide"));
    aide->setObjectName(QStringLiteral("Aide1"));
    FixeContexteAide(aide, 2200);
    Guide1 = NouvelleAction(aide, QStringLiteral("Guide1"), QStringLiteral("&Sommaire"), 14, 0);
    Tutorial1 = NouvelleAction(aide, QStringLiteral("Tutorial1"), QStringLiteral("Tutorial"), -1, 0);
    Rfrences1 = NouvelleAction(aide, QStringLiteral("Rfrences1"), QStringLiteral("Références"), -1, 0);
    connect(Guide1, &QAction::triggered, this, &TMainForm::Guide1Click);
    connect(Tutorial1, &QAction::triggered, this, &TMainForm::Tutorial1Click);
    connect(Rfrences1, &QAction::triggered, this, &TMainForm::Rfrences1Click);

    PopupMenuTri = new QMenu(this);
    PopupMenuTri->setObjectName(QStringLiteral("PopupMenuTri"));
    TrierparNom1 =
        NouvelleAction(PopupMenuTri, QStringLiteral("TrierparNom1"), QStringLiteral("Trier par &Nom"), -1, 0);
    TrierparDate1 = NouvelleAction(PopupMenuTri, QStringLiteral("TrierparDate1"),
                                   QStringLiteral("Trier par &Date"), -1, 0);
    TrierparTaille1 = NouvelleAction(PopupMenuTri, QStringLiteral("TrierparTaille1"),
                                     QStringLiteral("Trier par &Taille"), -1, 0);
    TrierparExtension1 = NouvelleAction(PopupMenuTri, QStringLiteral("TrierparExtension1"),
                                        QStringLiteral("Trier par &Extension"), -1, 0);

    // The tile menu carries in its property "Tag" the destinations-list index of the tile it was
    // opened on.
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->setProperty("Tag", 0);
    Fermerladestination1 = NouvelleAction(PopupMenu2, QStringLiteral("Fermerladestination1"),
                                          QStringLiteral("&Fermer la destination"), -1, 0);
    PopupMenu2->addSeparator();
    Modifierlescaractristiques1 = NouvelleAction(PopupMenu2, QStringLiteral("Modifierlescaractristiques1"),
                                                 QStringLiteral("&Modifier les caractéristiques"), -1, 0);
    connect(Fermerladestination1, &QAction::triggered, this, &TMainForm::Fermerladestination1Click);
    connect(Modifierlescaractristiques1, &QAction::triggered, this,
            &TMainForm::Modifierlescaractristiques1Click);
    Effacer1 = NouvelleAction(PopupMenu2, QStringLiteral("Effacer1"),
                              QStringLiteral("Effacer la liste des images en double"), -1, 0);
    connect(Effacer1, &QAction::triggered, this, &TMainForm::Effacer1Click);
    Renommerlesfichiers1 =
        NouvelleAction(PopupMenu2, QStringLiteral("Renommerlesfichiers1"),
                       QStringLiteral("&Renommer les fichiers dans la destination"), -1, 0);
    connect(Renommerlesfichiers1, &QAction::triggered, this, &TMainForm::Renommerlesfichiers1Click);
    Slectionnercettedestinationcommesource1 =
        NouvelleAction(PopupMenu2, QStringLiteral("Slectionnercettedestinationcommesource1"),
                       QStringLiteral("Sélectionner cette destination comme source"), -1, 0);
    connect(Slectionnercettedestinationcommesource1, &QAction::triggered, this,
            &TMainForm::Slectionnercettedestinationcommesource1Click);

    // The command keys no menu holds.
    CreeRaccourcis();
}

QToolButton* TMainForm::NouveauBouton(QToolBar* barre, const QString& nom, QAction* action, int image,
                                      const QString& indice) {
    auto* bouton = new QToolButton(barre);
    bouton->setObjectName(nom);
    bouton->setAutoRaise(true);
    bouton->setFocusPolicy(Qt::NoFocus);
    bouton->setIcon(ImageList4.Icone(image));
    bouton->setToolTip(indice);
    // A click does exactly what the menu entry does.
    connect(bouton, &QToolButton::clicked, action, &QAction::trigger);
    barre->addWidget(bouton);
    return bouton;
}

void TMainForm::CreeBarresOutils() {
    auto nouvelleBarre = [this](const QString& nom, const QString& titre) {
        auto* barre = new QToolBar(titre, this);
        barre->setObjectName(nom);
        barre->setIconSize(QSize(16, 16));
        barre->setFloatable(false);
        FixeContexteAide(barre, 2200);
        addToolBar(Qt::TopToolBarArea, barre);
        return barre;
    };

    ToolBarSource = nouvelleBarre(QStringLiteral("ToolBarSource"), QStringLiteral("Source"));
    ToolButton1 = NouveauBouton(ToolBarSource, QStringLiteral("ToolButton1"), Parcourir1, 0,
                                QStringLiteral("Définir une nouvelle source"));
    ToolButton2 = NouveauBouton(ToolBarSource, QStringLiteral("ToolButton2"), Rafraichir1, 1,
                                QStringLiteral("Rafraichir la source"));
    ToolBarSource->addSeparator();

    ToolBarDestination = nouvelleBarre(QStringLiteral("ToolBarDestination"), QStringLiteral("Destinations"));
    ToolButton14 = NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton14"), Annulation1, 9,
                                 QStringLiteral("Annuler la dernière commande"));
    ToolBarDestination->addSeparator();
    ToolButton3 = NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton3"), Ajouter1, 7,
                                QStringLiteral("Ajouter une destination"));
    ToolButton12 = NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton12"), Ajouteravecsousdossiers1,
                                 10, QStringLiteral("Ajouter une destination avec ses sous-dossiers"));
    ToolButton15 =
        NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton15"), Fermertouteslesdestinations1, 12,
                      QStringLiteral("Fermer toutes les destinations"));
    ToolBarDestination->addSeparator();
    ToolButton16 = NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton16"),
                                 Dsactiverlarecherchepourtouteslesdestinations1, 4,
                                 QStringLiteral("Désactiver la recherche pour toutes les destinations"));
    ToolButton17 = NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton17"),
                                 ActiverlarechercheLOCALEpourtouteslesdestinations1, 8,
                                 QStringLiteral("Activer la recherche LOCALE pour toutes les destinations"));
    ToolButton18 =
        NouveauBouton(ToolBarDestination, QStringLiteral("ToolButton18"),
                      ActiverlarechercheGENERALEpourtouteslesdestinations1, 11,
                      QStringLiteral("Activer la recherche GENERALE pour toutes les destinations"));

    ToolBar2 = nouvelleBarre(QStringLiteral("ToolBar2"), QStringLiteral("Recherche"));
    ToolButton4 =
        NouveauBouton(ToolBar2, QStringLiteral("ToolButton4"), Montrerladestinationencoursdeddoublonnage1, 21,
                      QStringLiteral("Montrer la destination en cours de recherche"));
    ToolButton4->setProperty("ImageIndex", 21);
    Panel3 = new QFrame(ToolBar2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setLineWidth(1);
    Panel3->setFixedSize(122, 22);
    ImageProgress = new TImage(Panel3);
    ImageProgress->setObjectName(QStringLiteral("ImageProgress"));
    ImageProgress->setGeometry(1, 1, 120, 20);
    ToolBar2->addWidget(Panel3);

    ToolBar1 = nouvelleBarre(QStringLiteral("ToolBar1"), QStringLiteral("Dédoublonnage"));
    ToolBar1->setFloatable(true);
    ToolButton5 =
        NouveauBouton(ToolBar1, QStringLiteral("ToolButton5"), Montrerlesdestinationsquiontdesdoublons1, 20,
                      QStringLiteral("Montrer les destinations qui ont des images en double"));
    StaticDoublons = new QLabel(ToolBar1);
    StaticDoublons->setObjectName(QStringLiteral("StaticDoublons"));
    StaticDoublons->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticDoublons->setAlignment(Qt::AlignCenter);
    StaticDoublons->setFixedSize(154, 22);
    QFont police = StaticDoublons->font();
    police.setPixelSize(13);
    StaticDoublons->setFont(police);
    // The label's own font: the count is written smaller from it when it does not fit the box.
    StaticDoublons->setProperty("PoliceDeBase", police);
    StaticDoublons->setToolTip(QStringLiteral("Nombre de destinations total"));
    ToolBar1->addWidget(StaticDoublons);
}
