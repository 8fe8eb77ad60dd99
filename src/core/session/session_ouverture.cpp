// The session's operations on the open destinations: opening one, closing one with its sub-tree or
// all of them, modifying one, adding a folder tree; and the tree levels they are counted in.

#include "core/app/chemins.h"
#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/fermeture.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/tools/arborescence.h"
#include "session.h"

#include <QSet>

#include <utility>
#include <vector>

namespace {

// The destinations of the list from entry 1 on, with their folders, in list order.
std::vector<std::pair<const TDestination*, QString>> Ouvertes(const TListeDestinations& destinations) {
    std::vector<std::pair<const TDestination*, QString>> ouvertes;
    for (int i = 1; i < destinations.Count(); ++i)
        ouvertes.emplace_back(destinations.Element(i), destinations.Element(i)->Chemin);
    return ouvertes;
}

// The folders of those that are no longer in the list (compared by object, never read again).
QStringList Parties(const std::vector<std::pair<const TDestination*, QString>>& avant,
                    const TListeDestinations& destinations) {
    QSet<const TDestination*> restent;
    for (int i = 1; i < destinations.Count(); ++i)
        restent.insert(destinations.Element(i));
    QStringList parties;
    for (const auto& [destination, chemin] : avant)
        if (!restent.contains(destination)) parties << chemin;
    return parties;
}

} // namespace

TListeGroupe& TSession::NouveauxNiveaux() {
    listeGroupe = std::make_unique<TListeGroupe>();
    if (configuration) {
        listeGroupe->Destinations = &configuration->Destinations;
        configuration->ListeGroupe = listeGroupe.get();
    }
    return *listeGroupe;
}

QString TSession::RefusDossier(const QString& chemin, const TDestination* deplacee) const {
    if (!configuration) return QString();
    const TListeDestinations& destinations = configuration->Destinations;
    // The same folder under another spelling is a folder already open too.
    if (TDossiersOuverts(destinations).Contient(chemin) ||
        OuverteSousUnAutreChemin(chemin, destinations, deplacee))
        return QStringLiteral("Le dossier existe déja");
    if (Chemins::EstReserve(chemin, DossierProgramme))
        return QStringLiteral(
                   "Le dossier « %1 » est celui du programme, de sa corbeille ou de ses signatures : il ne "
                   "peut pas être une destination.")
            .arg(chemin);
    return QString();
}

TResultatOuverture TSession::OuvreDestination(const TProprietesDestination& proprietes, int32_t niveau) {
    TResultatOuverture resultat;
    if (!configuration || !listeGroupe) return resultat;
    resultat.Refus = RefusDossier(proprietes.Chemin);
    if (!resultat.Refus.isEmpty()) return resultat;
    resultat.Ouverte = ::OuvreDestination(proprietes, niveau, configuration->Destinations, *listeGroupe,
                                          configuration->ContexteDestinations);
    return resultat;
}

TResultatFermeture TSession::FermeDestination(int index) {
    TResultatFermeture resultat;
    if (!configuration || !listeGroupe || index < 0 || index >= configuration->Destinations.Count())
        return resultat;
    const auto avant = Ouvertes(configuration->Destinations);
    {
        const TOccupation occupation(Occupe);
        DemandeArretRecherche();
        const TLotMagasin lot(&configuration->ContexteDestinations);
        TFermeture(configuration->Destinations, *listeGroupe, configuration->ContexteDestinations)
            .FermeAvecSousArbre(index);
    }
    resultat.Fermees = Parties(avant, configuration->Destinations);
    return resultat;
}

TResultatFermeture TSession::FermeTout() {
    TResultatFermeture resultat;
    if (!configuration || !listeGroupe) return resultat;
    const auto avant = Ouvertes(configuration->Destinations);
    {
        const TOccupation occupation(Occupe);
        DemandeArretRecherche();
        const TLotMagasin lot(&configuration->ContexteDestinations);
        resultat.ToutAnnule =
            !TFermeture(configuration->Destinations, *listeGroupe, configuration->ContexteDestinations)
                 .FermeTout();
    }
    resultat.Fermees = Parties(avant, configuration->Destinations);
    return resultat;
}

TResultatModification TSession::ModifieDestination(int index, TProprietesDestination proprietes) {
    TResultatModification resultat;
    if (!configuration || !listeGroupe || index < 0 || index >= configuration->Destinations.Count())
        return resultat;
    TListeDestinations& destinations = configuration->Destinations;
    TDestination& d = *destinations.Element(index);
    if (d.Titre == TitreCorbeille) return resultat; // the trash keeps its folder, title and font

    // Its own folder reached another way is still its folder.
    if (proprietes.Chemin != d.Chemin && MemeDossier(proprietes.Chemin, d.Chemin))
        proprietes.Chemin = d.Chemin;
    if (proprietes.Chemin != d.Chemin) {
        resultat.Refus = RefusDossier(proprietes.Chemin, &d);
        if (!resultat.Refus.isEmpty()) return resultat;
        TDestination* nouvelle = nullptr;
        {
            // No search starts meanwhile; the one running, if any, stops on its own as its
            // destination closes.
            const TOccupation occupation(Occupe);
            DemandeArretRecherche();
            const TLotMagasin lot(&configuration->ContexteDestinations);
            nouvelle = ChangeDossierDestination(index, proprietes, destinations, *listeGroupe,
                                                configuration->ContexteDestinations, resultat.Echec);
        }
        resultat.Modifiee = resultat.DossierChange = nouvelle != nullptr;
        // The old object may be gone: the entry is read again.
        resultat.Destination = destinations.Element(index);
        return resultat;
    }

    // The same folder: the destination keeps its lists and store. The search stops before the
    // destination it may be reading changes.
    DemandeArretRecherche();
    const bool etaitGenerale = EstGenerale(d);
    d.RechercheLocale = proprietes.RechercheLocale;
    d.RechercheGenerale = proprietes.RechercheGenerale;
    const bool marqueGardee = SuitChangementDeMode(d, etaitGenerale);
    d.Fonte = proprietes.Fonte;
    d.FonteCharset = proprietes.Charset;
    d.FonteCouleur = proprietes.Couleur;
    d.Titre = proprietes.Titre;
    // The title's height may have changed.
    listeGroupe->Recalcule(d);
    resultat.Modifiee = true;
    resultat.Destination = &d;
    if (!marqueGardee) resultat.Avertissement = MessageMarqueComparaison({d.Chemin});
    return resultat;
}

TResultatArborescence TSession::AjouteArborescence(const QString& dossier,
                                                   const TOptionsArborescence& options,
                                                   const TValidation& valide) {
    TResultatArborescence resultat;
    if (!configuration || !listeGroupe) return resultat;
    TListeDestinations& destinations = configuration->Destinations;
    // Opened destinations are appended, in the order of the walk.
    const int avant = destinations.Count();
    TAjoutArborescence ajout(destinations, *listeGroupe, configuration->ContexteDestinations);
    ajout.Valide = valide;
    ajout.Ajoute(dossier, options);
    for (int i = avant; i < destinations.Count(); ++i)
        resultat.Ouvertes << destinations.Element(i);
    return resultat;
}
