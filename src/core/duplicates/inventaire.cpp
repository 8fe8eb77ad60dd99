#include "inventaire.h"

#include "core/destinations/destination.h"

#include <QHash>

QStringList SauveMagasinsOuverts(const TListeDestinations& destinations) {
    QStringList echecs;
    // Each save reads and writes the index itself, so that a failure to write it is known here.
    for (int i = 1; i < destinations.Count(); ++i) {
        TDestination& d = *destinations.Element(i);
        if (d.EstFermee()) continue;
        const auto signatures = static_cast<int32_t>(d.Comptes().Signatures);
        if (d.SauveSignatures())
            d.NbSauvees = signatures;
        else
            echecs << d.Chemin;
    }
    return echecs;
}

TDossierStocke EtatOuvert(const TDestination& destination, const TDossierStocke& stocke) {
    const TDestination::TComptes comptes = destination.Comptes();
    TDossierStocke etat = stocke;
    etat.Signatures = comptes.Signatures;
    etat.Intraitables = comptes.Intraitables;
    etat.Doublons = comptes.Doublons;
    return etat;
}

QList<TDossierInventaire> InventaireActuel(const QString& dossierSignatures,
                                           const TListeDestinations& destinations) {
    // The open folders by the key the store's index matches them with: letter case ignored.
    QHash<QString, std::shared_ptr<TDestination>> ouvertes;
    for (int i = 1; i < destinations.Count(); ++i) {
        const std::shared_ptr<TDestination>& d = destinations.Partage(i);
        ouvertes.insert(d->Chemin.toCaseFolded(), d);
    }
    QList<TDossierInventaire> dossiers;
    for (const TDossierStocke& stocke : TMagasinSignatures(dossierSignatures).Inventaire()) {
        const std::shared_ptr<TDestination> d = ouvertes.take(stocke.Dossier.toCaseFolded());
        dossiers << TDossierInventaire{d ? EtatOuvert(*d, stocke) : stocke, d != nullptr, d};
    }
    for (int i = 1; i < destinations.Count(); ++i) {
        const std::shared_ptr<TDestination> d = ouvertes.take(destinations.Element(i)->Chemin.toCaseFolded());
        if (!d) continue;
        TDossierStocke etat;
        etat.Dossier = d->Chemin;
        dossiers << TDossierInventaire{EtatOuvert(*d, etat), true, d};
    }
    return dossiers;
}

bool EffaceSignaturesDuDossier(const QString& dossierSignatures, const TDossierInventaire& dossier) {
    if (!dossier.Ouvert) return TMagasinSignatures(dossierSignatures).Efface(dossier.Etat.Dossier);
    const std::shared_ptr<TDestination> d = dossier.Destination.lock();
    return d && d->EffaceSignatures();
}
