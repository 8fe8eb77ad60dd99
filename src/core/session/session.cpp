#include "session.h"

#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/annulation.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/recherche.h"
#include "core/source/sourceliste.h"

#include <algorithm>
#include <functional>

TSession::TSession() = default;

TSession::~TSession() {
    // A task still running counts in Occupe and reads the configuration's sensitivity. It ends
    // before it is deleted: a comparison's own parts (its partners, where it resumes) would go
    // before the base class waits for its thread.
    AttendFinRecherche();
    delete TacheRecherche.data();
    LibereCopies();
    configuration.reset();
    listeSource.reset();
    listeGroupe.reset();
}

void TSession::CreeDonnees() {
    if (configuration) return;
    listeSource = std::make_unique<TSourceListe>();
    configuration = std::make_unique<Tconfiguration>(*listeSource);
    NouveauxNiveaux();
}

void TSession::DemandeArretRecherche() {
    if (TTacheMini* tache = TacheRecherche.data()) tache->DemandeArret();
}

void TSession::AttendFinRecherche() {
    if (TTacheMini* tache = TacheRecherche.data()) {
        tache->DemandeArret();
        tache->wait();
    }
}

void TSession::LibereListeSource() {
    listeSource.reset();
}

TResultatClassement TSession::Classe(TDestination& d, bool copie, const std::optional<QList<int>>& lignes) {
    TResultatClassement resultat;
    resultat.Copie = copie;
    resultat.Selection = lignes.has_value();
    if (!listeSource || !configuration || listeSource->Fichiers.Vide()) {
        if (listeSource) {
            resultat.IndexAffiche = listeSource->IndexAffiche;
            resultat.IndexDemande = listeSource->IndexDemande;
        }
        return resultat;
    }
    TSourceListe& source = *listeSource;
    // A click, a key, a selection: one command, undone as one.
    const TCommandeAnnulation commande(configuration->Annulations);
    const auto classeUn = [&](int ligne) {
        const QByteArray chemin = source.Fichiers.Texte(ligne);
        const TClassement un = ClasseFichier(source, ligne, d, copie, configuration->Annulations);
        if (un.Classe)
            resultat.Classes.append({ligne, chemin, un.Cible});
        else if (!un.Echec.isEmpty())
            resultat.Echecs << un.Echec;
        return un.Classe;
    };
    if (lignes) {
        QList<int> ordre = *lignes;
        std::sort(ordre.begin(), ordre.end(), std::greater<>());
        ordre.erase(std::unique(ordre.begin(), ordre.end()), ordre.end());
        for (const int ligne : ordre) {
            if (ligne < 0 || ligne >= source.Fichiers.Count()) continue;
            source.IndexAffiche = ligne;
            classeUn(ligne);
        }
        if (source.IndexAffiche >= source.Fichiers.Count())
            source.IndexAffiche = std::max(0, source.Fichiers.Count() - 1);
        source.IndexDemande = source.IndexAffiche;
    } else {
        const int nombreAvant = source.Fichiers.Count();
        const int index = source.IndexAffiche;
        if (index >= 0 && index < nombreAvant && classeUn(index) && source.Fichiers.Count() < nombreAvant) {
            // What now stands at that line comes up; past the end, a step back to the new last one.
            if (index < source.Fichiers.Count())
                source.IndexDemande = -index;
            else if (index > 0)
                --source.IndexDemande;
            source.CouranteRetiree = true;
            resultat.CouranteRetiree = true;
        }
    }
    resultat.IndexAffiche = source.IndexAffiche;
    resultat.IndexDemande = source.IndexDemande;
    return resultat;
}

TResultatAnnulation TSession::Annule() {
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    TResultatAnnulation resultat;
    if (!listeSource || !configuration || configuration->Annulations.EstVide()) return resultat;
    resultat.Annulee = true;
    resultat.Detail =
        AnnuleDerniereCommande(configuration->Annulations, *listeSource, &configuration->Destinations);
    for (const TFichierAnnule& fichier : resultat.Detail.Fichiers)
        if (fichier.IndexRemis >= 0) resultat.IndexMontre = fichier.IndexRemis;
    if (resultat.IndexMontre >= 0) listeSource->IndexDemande = resultat.IndexMontre;
    return resultat;
}
