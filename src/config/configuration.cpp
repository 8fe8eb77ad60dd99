#include "configuration.h"

#include "app/chemins.h"
#include "destinations/destination.h"
#include "fenetreprincipale.h"

Tconfiguration::Tconfiguration(TSourceListe& listeSource)
    : SourcePath(Chemins::DossierParDefaut()), source(listeSource) {}

void Tconfiguration::ReleveFenetre(IFenetrePrincipale& fenetre) {
    const QRect bornes = fenetre.BornesNormales();
    Maximized = fenetre.EstMaximisee();
    if (Maximized) fenetre.RetablitEtatNormal();
    WindowWidth = bornes.width();
    WindowHeight = bornes.height();
    WindowLeft = bornes.left();
    WindowTop = bornes.top();
    Divider1 = fenetre.LargeurDestinations();
    Divider2 = fenetre.LargeurListe();
    Divider3 = fenetre.HauteurApercus();
}

void Tconfiguration::AppliqueFenetre(IFenetrePrincipale& fenetre) {
    fenetre.FixeBornes(QRect(WindowLeft, WindowTop, WindowWidth, WindowHeight));
    fenetre.FixeSeparateurs(Divider1, Divider2, Divider3);
    fenetre.FixeMaximisee(Maximized);
}

void Tconfiguration::ChangeSource(const QString& chemin) {
    SourcePath = Chemins::SansSeparateurFinal(chemin);
    source.ChargeDossier(SourcePath, Destinations);
}

void Tconfiguration::LectureParDefaut() {
    Maximized = false;
    WindowWidth = 640;
    WindowHeight = 480;
    WindowLeft = 0;
    WindowTop = 0;
    Divider1 = 167;
    Divider2 = 98;
    Divider3 = 65;
    SizeFilter = false;
    SizeFilterX = 100;
    SizeFilterY = 100;
    Sensibilite = 150000;
    BullesAide = true;
    DestinationCount = 0;
    ChangeSource(Chemins::DossierParDefaut());
    source.Trie(TriNom);
}
