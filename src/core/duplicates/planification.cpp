#include "planification.h"

#include "comparaisongenerale.h"
#include "core/destinations/destination.h"

bool EstCherchee(const TDestination& d) {
    return d.Active && d.RechercheLocale;
}

TBilanRecherche BilanRecherche(const TListeDestinations& destinations, bool autorisee, int32_t occupe) {
    TBilanRecherche bilan;
    // The comparisons of destinations that entered GENERAL mode come first: until they are done,
    // a new signature would be compared with signatures that are still to be compared themselves.
    if (autorisee && occupe < 1)
        for (int i = 1; i < destinations.Count(); ++i) {
            const TDestination& d = *destinations.Element(i);
            if (d.ComparaisonEnAttente && EstCherchee(d) && EstGenerale(d)) {
                bilan.ADemarrer = i;
                bilan.Comparaison = true;
                return bilan;
            }
        }
    for (int i = 1; i < destinations.Count(); ++i) {
        const TDestination& d = *destinations.Element(i);
        const TDestination::TComptes comptes = d.Comptes();
        bilan.Doublons += comptes.Doublons;
        // A destination left unsearched would hold the bar short of its end for ever.
        if (!EstCherchee(d)) continue;
        bilan.Signatures += comptes.Signatures;
        bilan.AFaire += comptes.ATraiter;
        if (autorisee && comptes.ATraiter > 0 && occupe < 1) {
            bilan.ADemarrer = i;
            return bilan;
        }
    }
    return bilan;
}

TProgression ProgressionDe(const TBilanRecherche& bilan) {
    TProgression progression;
    progression.Fait = bilan.Signatures == 0 && bilan.AFaire == 0 ? 1 : bilan.Signatures;
    progression.Total = bilan.AFaire + progression.Fait;
    return progression;
}

std::vector<std::shared_ptr<Tminiature>> SignaturesGenerales(const TListeDestinations& destinations) {
    std::vector<std::vector<std::shared_ptr<Tminiature>>> parDestination;
    std::size_t total = 0;
    for (int i = 1; i < destinations.Count(); ++i) {
        const TDestination& d = *destinations.Element(i);
        if (!d.Active) continue;
        parDestination.push_back(d.CopieSignatures());
        total += parDestination.back().size();
    }
    std::vector<std::shared_ptr<Tminiature>> toutes;
    toutes.reserve(total);
    for (auto& signatures : parDestination)
        for (auto& signature : signatures)
            toutes.push_back(std::move(signature));
    return toutes;
}

QStringList FixeModeRecherche(const TListeDestinations& destinations, bool locale, bool generale) {
    QStringList echecs;
    for (int i = 1; i < destinations.Count(); ++i) {
        TDestination& d = *destinations.Element(i);
        const bool etaitGenerale = EstGenerale(d);
        d.RechercheLocale = locale;
        d.RechercheGenerale = generale;
        if (!SuitChangementDeMode(d, etaitGenerale)) echecs << d.Chemin;
    }
    return echecs;
}

int DestinationEnTraitement(const TListeDestinations& destinations) {
    for (int i = 1; i < destinations.Count(); ++i)
        if (destinations.Element(i)->EnTraitement) return i;
    return -1;
}

int SuivanteAvecDoublons(const TListeDestinations& destinations, int dernier) {
    auto aDesDoublons = [&](int i) { return destinations.Element(i)->Comptes().Doublons > 0; };
    for (int i = dernier + 1; i < destinations.Count(); ++i)
        if (aDesDoublons(i)) return i;
    for (int i = 0; i <= dernier && i < destinations.Count(); ++i)
        if (aDesDoublons(i)) return i;
    return -1;
}

int32_t PositionPourMontrer(int n, int pos, int nbVisibles) {
    return nbVisibles + pos - 2 < n ? pos : n - (nbVisibles - 2);
}
