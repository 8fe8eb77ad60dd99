#include "destination.h"

#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/app/questions.h"
#include "core/duplicates/ecart.h"
#include "core/duplicates/magasin.h"
#include "core/duplicates/revue.h"
#include "core/source/balayage.h"

#include <QFile>

#include <algorithm>
#include <utility>

#include <unordered_set>

QString TContexteDestinations::DossierSignatures() const {
    return Chemins::Joint(DossierProgramme, QStringLiteral("Signatures"));
}

TLotMagasin::TLotMagasin(TContexteDestinations* contexteDestinations) : contexte(contexteDestinations) {
    if (!contexte || contexte->Lot) return;
    contexte->Lot = &index;
    proprietaire = true;
}

TLotMagasin::~TLotMagasin() {
    if (!proprietaire) return;
    contexte->Lot = nullptr;
    TMagasinSignatures(contexte->DossierSignatures(), nullptr, &contexte->CopiesGardees).TermineLot(index);
}

TDestination::TDestination(TContexteDestinations* contexte)
    : ListeSignatures(std::make_unique<TListeDoublons>(QString())), Contexte(contexte) {}

TDestination::~TDestination() {
    Ferme();
}

void TDestination::Ferme() {
    if (fermee.exchange(true)) return;
    {
        // Whatever the search still holds of this folder comes back to nothing.
        const std::lock_guard<std::mutex> verrou(Verrou);
        AnnuleEnVol();
    }
    // The trash keeps nothing in the store.
    if (!Contexte || Chemin.isEmpty() || Titre == TitreCorbeille) return;
    if (Contexte->ReponseMemorisee != ReponseConfirmation::Oui &&
        Contexte->ReponseMemorisee != ReponseConfirmation::OuiPourTous) {
        SauveSignatures();
    } else {
        const std::lock_guard<std::mutex> verrou(Verrou);
        TMagasinSignatures(Contexte->DossierSignatures(), Contexte->Lot, &Contexte->CopiesGardees)
            .Efface(ListeSignatures->Dossier);
        ATraiter.clear();
    }
}

TDestination::TComptes TDestination::Comptes() const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    return {ATraiter.size(), static_cast<qsizetype>(ListeSignatures->Miniatures.size()),
            ListeSignatures->Intraitables.size(), Doublons.size()};
}

bool TDestination::Connu(const QString& fichier) const {
    if (enVol.value(fichier) > annules.value(fichier)) return true;
    if (ATraiter.contains(fichier) || misDeCote.contains(fichier)) return true;
    if (ListeSignatures->Intraitables.contains(fichier)) return true;
    const auto& miniatures = ListeSignatures->Miniatures;
    return std::any_of(miniatures.begin(), miniatures.end(),
                       [&](const auto& m) { return m->Fichier == fichier; });
}

void TDestination::AjouteATraiter(const QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (!Connu(fichier)) ATraiter << fichier;
}

void TDestination::AjouteATraiter(const QByteArray& chemin) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    QHash<QString, QByteArray> octets;
    const QString texte = EnTexte(chemin, octets);
    // A file just put under this path: what was known under it described an earlier file, gone.
    // Looked for first, so that filing a new name does not read every duplicate line.
    if (Connu(texte)) OublieSousVerrou({texte});
    octetsDesNoms.insert(octets);
    ATraiter << texte;
}

QString TDestination::EnTexte(const QByteArray& chemin, QHash<QString, QByteArray>& octets) {
    const QString texte = QFile::decodeName(chemin);
    if (QFile::encodeName(texte) != chemin) octets.insert(texte, chemin);
    return texte;
}

QByteArray TDestination::OctetsDe(const QString& fichier) const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    const auto octets = octetsDesNoms.constFind(fichier);
    return octets != octetsDesNoms.cend() ? *octets : QFile::encodeName(fichier);
}

void TDestination::Oublie(const QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    OublieSousVerrou({fichier});
}

void TDestination::OublieSousVerrou(const QSet<QString>& fichiers) {
    auto& miniatures = ListeSignatures->Miniatures;
    miniatures.erase(std::remove_if(miniatures.begin(), miniatures.end(),
                                    [&](const auto& m) { return fichiers.contains(m->Fichier); }),
                     miniatures.end());
    Doublons.removeIf([&](const QString& ligne) {
        const TPaire paire = LitPaire(ligne);
        return fichiers.contains(paire.Image1) || fichiers.contains(paire.Image2);
    });
    const auto nomme = [&](const QString& fichier) { return fichiers.contains(fichier); };
    ATraiter.removeIf(nomme);
    misDeCote.removeIf(nomme);
    ListeSignatures->Intraitables.removeIf(nomme);
    oubliesPendantLaTache.unite(fichiers);
    for (const QString& fichier : fichiers) {
        octetsDesNoms.remove(fichier);
        ListeSignatures->EtatsIntraitables.remove(fichier);
        const int pris = enVol.value(fichier);
        if (pris > 0) annules.insert(fichier, pris);
    }
}

void TDestination::AnnuleEnVol() {
    annules = enVol;
}

bool TDestination::Solde(const QString& fichier) {
    const auto pris = enVol.find(fichier);
    // Not taken through PrendSuivant: nothing to settle.
    if (pris == enVol.end()) return true;
    if (--*pris == 0) enVol.erase(pris);
    const auto annule = annules.find(fichier);
    if (annule == annules.end()) return true;
    if (--*annule == 0) annules.erase(annule);
    return false;
}

bool TDestination::PrendSuivant(QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (ATraiter.isEmpty() || fermee.load()) return false;
    fichier = ATraiter.takeFirst();
    ++enVol[fichier];
    return true;
}

void TDestination::RemetEnTete(const QStringList& fichiers) {
    if (fichiers.isEmpty()) return;
    const std::lock_guard<std::mutex> verrou(Verrou);
    QStringList remis;
    for (const QString& fichier : fichiers)
        if (Solde(fichier) && !Connu(fichier) && !remis.contains(fichier)) remis << fichier;
    ATraiter = remis + ATraiter;
}

bool TDestination::AjouteInaccessible(const QString& fichier, bool disparu) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (!Solde(fichier)) return false;
    if (disparu) {
        // Nothing to sign any more; the pairs that may name it go as the file is forgotten.
        octetsDesNoms.remove(fichier);
    } else if (!Connu(fichier)) {
        misDeCote << fichier;
    }
    return true;
}

void TDestination::CommenceTache() {
    const std::lock_guard<std::mutex> verrou(Verrou);
    oubliesPendantLaTache.clear();
    const QStringList repris = std::exchange(misDeCote, {});
    for (const QString& fichier : repris)
        if (!Connu(fichier)) ATraiter << fichier;
}

bool TDestination::AjouteSignature(std::shared_ptr<Tminiature> signature, const QStringList& lignes) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (!Solde(signature->Fichier)) return false;
    oubliesPendantLaTache.remove(signature->Fichier);
    ListeSignatures->Miniatures.push_back(std::move(signature));
    for (const QString& ligne : lignes) {
        const TPaire paire = LitPaire(ligne);
        if (paire.Image1 == paire.Image2 || oubliesPendantLaTache.contains(paire.Image2)) continue;
        InsereDoublon(ligne);
    }
    return true;
}

bool TDestination::InsereDoublon(const QString& ligne) {
    // Sorted with letter case ignored; but two files whose names differ only in case are two
    // files here, so only a line equal in every letter is a line already there.
    const auto avant = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    };
    auto place = std::lower_bound(Doublons.begin(), Doublons.end(), ligne, avant);
    for (auto i = place; i != Doublons.end() && !avant(ligne, *i); ++i)
        if (*i == ligne) return false;
    Doublons.insert(place, ligne);
    return true;
}

bool TDestination::ApparieDeja(const QString& a, const QString& b) const {
    return std::any_of(Doublons.begin(), Doublons.end(), [&](const QString& ligne) {
        const TPaire paire = LitPaire(ligne);
        return (paire.Image1 == a && paire.Image2 == b) || (paire.Image1 == b && paire.Image2 == a);
    });
}

bool TDestination::DetientSignature(const Tminiature& signature) const {
    const auto& miniatures = ListeSignatures->Miniatures;
    return std::any_of(miniatures.begin(), miniatures.end(),
                       [&](const auto& m) { return m.get() == &signature; });
}

int TDestination::AjoutePairesCroisees(const Tminiature& signee, const QString& nom, TDestination& autre,
                                       const std::vector<TPaireCroisee>& paires) {
    if (&autre == this || paires.empty()) return 0;
    const std::scoped_lock verrous(Verrou, autre.Verrou);
    // A signature forgotten meanwhile (undone, deleted, read again) has left its list.
    if (EstFermee() || autre.EstFermee() || signee.Fichier != nom || !DetientSignature(signee)) return 0;
    int ajoutees = 0;
    for (const TPaireCroisee& paire : paires) {
        if (paire.Autre->Fichier != paire.NomAutre || !autre.DetientSignature(*paire.Autre)) continue;
        if (ApparieDeja(nom, paire.NomAutre) || autre.ApparieDeja(nom, paire.NomAutre)) continue;
        ajoutees += InsereDoublon(LigneDoublon(paire.Dissemblance, nom, paire.NomAutre)) ? 1 : 0;
    }
    return ajoutees;
}

bool TDestination::AjouteIntraitable(const QString& fichier, const TEtatFichier& etat) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (!Solde(fichier)) return false;
    if (!ListeSignatures->Intraitables.contains(fichier)) ListeSignatures->Intraitables << fichier;
    if (etat.Taille >= 0)
        ListeSignatures->EtatsIntraitables.insert(fichier, etat);
    else
        ListeSignatures->EtatsIntraitables.remove(fichier);
    return true;
}

std::vector<std::shared_ptr<Tminiature>> TDestination::CopieSignatures() const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    return ListeSignatures->Miniatures;
}

void TDestination::ReserveSignatures(qsizetype enPlus) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    auto& miniatures = ListeSignatures->Miniatures;
    miniatures.reserve(miniatures.size() + static_cast<size_t>(std::max<qsizetype>(0, enPlus)));
}

void TDestination::EffaceDoublons() {
    const std::lock_guard<std::mutex> verrou(Verrou);
    Doublons.clear();
}

bool TDestination::EffaceSignatures() {
    if (!Contexte) return false;
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (!TMagasinSignatures(Contexte->DossierSignatures(), Contexte->Lot, &Contexte->CopiesGardees)
             .Efface(ListeSignatures->Dossier))
        return false;
    QStringList fichiers = FichiersConnusSousVerrou();
    fichiers.removeDuplicates();
    // Whatever the search still holds of this folder comes back to nothing.
    AnnuleEnVol();
    misDeCote.clear();
    ListeSignatures->Miniatures.clear();
    ListeSignatures->Intraitables.clear();
    ListeSignatures->EtatsIntraitables.clear();
    ListeSignatures->EmpreinteSauvee.clear();
    Doublons.clear();
    ATraiter = std::move(fichiers);
    NbSauvees = 0;
    return true;
}

QStringList TDestination::FichiersConnus() const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    return FichiersConnusSousVerrou();
}

QStringList TDestination::FichiersConnusSousVerrou() const {
    QStringList fichiers;
    fichiers.reserve(static_cast<qsizetype>(ListeSignatures->Miniatures.size()) + ATraiter.size() +
                     ListeSignatures->Intraitables.size());
    for (const auto& signature : ListeSignatures->Miniatures)
        fichiers << signature->Fichier;
    fichiers << ATraiter;
    for (auto pris = enVol.cbegin(); pris != enVol.cend(); ++pris)
        if (pris.value() > annules.value(pris.key()) && !fichiers.contains(pris.key()))
            fichiers << pris.key();
    return fichiers << misDeCote << ListeSignatures->Intraitables;
}

QStringList TDestination::CopieDoublons() const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    return Doublons;
}

void TDestination::ElagueDoublons() {
    // The files are looked at outside the lock, which a search may want meanwhile.
    const QStringList lignes = CopieDoublons();
    QSet<QString> absentes;
    for (const QString& ligne : lignes) {
        const TPaire paire = LitPaire(ligne);
        if (!QFile::exists(paire.Image1) || !QFile::exists(paire.Image2)) absentes.insert(ligne);
    }
    if (absentes.isEmpty()) return;
    const std::lock_guard<std::mutex> verrou(Verrou);
    Doublons.removeIf([&](const QString& ligne) { return absentes.contains(ligne); });
}

void TDestination::RetireDoublons(const QStringList& lignes) {
    const QSet<QString> retirees(lignes.begin(), lignes.end());
    const std::lock_guard<std::mutex> verrou(Verrou);
    Doublons.removeIf([&](const QString& ligne) { return retirees.contains(ligne); });
}

void TDestination::OublieImages(const QSet<QString>& fichiers) {
    if (fichiers.isEmpty()) return;
    const std::lock_guard<std::mutex> verrou(Verrou);
    OublieSousVerrou(fichiers);
}

bool TDestination::RenommeFichiers(const QHash<QString, QString>& nouveaux) {
    if (nouveaux.isEmpty()) return false;
    const std::lock_guard<std::mutex> verrou(Verrou);
    // True when the path was one of the renamed files.
    auto renomme = [&](QString& chemin) {
        const auto nouveau = nouveaux.constFind(chemin);
        if (nouveau == nouveaux.cend()) return false;
        octetsDesNoms.remove(chemin);
        chemin = *nouveau;
        return true;
    };
    bool fichiersChanges = false;
    for (auto& signature : ListeSignatures->Miniatures)
        fichiersChanges |= renomme(signature->Fichier);
    for (QString& fichier : ATraiter)
        fichiersChanges |= renomme(fichier);
    for (QString& fichier : misDeCote)
        fichiersChanges |= renomme(fichier);
    auto& etats = ListeSignatures->EtatsIntraitables;
    for (QString& fichier : ListeSignatures->Intraitables) {
        const QString ancien = fichier;
        if (!renomme(fichier)) continue;
        fichiersChanges = true;
        if (etats.contains(ancien)) etats.insert(fichier, etats.take(ancien));
    }
    // What the search holds under an old name is void; the file is queued under its new one.
    for (auto pris = enVol.cbegin(); pris != enVol.cend(); ++pris) {
        const auto nouveau = nouveaux.constFind(pris.key());
        if (nouveau == nouveaux.cend() || pris.value() <= annules.value(pris.key())) continue;
        annules.insert(pris.key(), pris.value());
        ATraiter << *nouveau;
        fichiersChanges = true;
    }
    bool lignesChangees = false;
    for (QString& ligne : Doublons) {
        TPaire paire = LitPaire(ligne);
        const bool un = renomme(paire.Image1), deux = renomme(paire.Image2);
        if (!un && !deux) continue;
        ligne = LigneDoublon(paire.Dissemblance, paire.Image1, paire.Image2);
        lignesChangees = true;
    }
    if (lignesChangees) Doublons.sort(Qt::CaseInsensitive);
    // A pending comparison goes by file names: renamed files may now stand before where it was,
    // so it starts again from the first (the pairs already recorded are not recorded twice).
    if (fichiersChanges) RepriseComparaison.clear();
    return fichiersChanges || lignesChangees;
}

QString TDestination::NomAleatoire() {
    return ::NomAleatoire();
}

QByteArray TDestination::OctetsDuDossier() const {
    return CheminOctets.isEmpty() ? QFile::encodeName(Chemin) : CheminOctets;
}

namespace {

// The untreatable images of a list read from the store, kept only while their file is in the
// folder (presents) with the size and modification time recorded when it failed to decode. Any
// other is dropped: a file gone, or changed since, which is then queued again. An entry without a
// record, from a store written before they were kept, is tried once more.
void GardeIntraitablesInchanges(TListeDoublons& liste, const std::unordered_set<QString>& presents,
                                const QHash<QString, QByteArray>& octets) {
    QStringList gardes;
    QHash<QString, TEtatFichier> etats;
    for (const QString& fichier : std::as_const(liste.Intraitables)) {
        if (!presents.count(fichier) || etats.contains(fichier)) continue;
        const auto etat = liste.EtatsIntraitables.constFind(fichier);
        if (etat == liste.EtatsIntraitables.cend()) continue;
        const QByteArray chemin = octets.value(fichier, QFile::encodeName(fichier));
        if (TEtatFichier::De(chemin) != *etat) continue;
        gardes << fichier;
        etats.insert(fichier, *etat);
    }
    liste.Intraitables = gardes;
    liste.EtatsIntraitables = etats;
}

} // namespace

void TDestination::Charge(const QString& chemin, const QString& titre, const QByteArray& octetsDuChemin) {
    // The folder and the store are read, and the loading window told, before the lock is taken:
    // nothing that may wait for the user or repaint a window runs under it.
    auto liste = std::make_unique<TListeDoublons>(chemin);
    QStringList file, doublons;
    QHash<QString, QByteArray> octets;
    // The folder's own bytes are kept only when its text does not give them back.
    const QByteArray cheminOctets = octetsDuChemin.isEmpty() || QFile::encodeName(chemin) == octetsDuChemin
                                        ? QByteArray()
                                        : octetsDuChemin;
    if (titre != TitreCorbeille) {
        const QByteArray dossier = cheminOctets.isEmpty() ? QFile::encodeName(chemin) : cheminOctets;
        const EntreesParMasque blocs = ChercheImages(dossier, Recherche::ToutesEntrees);
        for (const auto& bloc : blocs)
            for (const TEntreeDossier& entree : bloc)
                file << EnTexte(Chemins::Joint(dossier, entree.Nom), octets);

        if (Contexte)
            TMagasinSignatures(Contexte->DossierSignatures(), Contexte->Lot, &Contexte->CopiesGardees)
                .Charge(chemin, *liste, doublons);

        // Signatures of images still there leave the queue; the others are dropped. Hash sets
        // keep this linear in the size of the folder.
        const std::unordered_set<QString> presents(file.begin(), file.end());
        std::unordered_set<QString> signees;
        auto& miniatures = liste->Miniatures;
        IChargement* chargement = Contexte ? Contexte->Chargement : nullptr;
        if (chargement) chargement->DebutChargement(static_cast<int>(miniatures.size()));
        std::vector<std::shared_ptr<Tminiature>> gardees;
        gardees.reserve(miniatures.size());
        for (auto& miniature : miniatures) {
            if (presents.count(miniature->Fichier)) {
                signees.insert(miniature->Fichier);
                gardees.push_back(std::move(miniature));
            }
            if (chargement) chargement->PasChargement();
        }
        miniatures = std::move(gardees);
        GardeIntraitablesInchanges(*liste, presents, octets);
        const std::unordered_set<QString> intraitables(liste->Intraitables.begin(),
                                                       liste->Intraitables.end());
        file.removeIf([&](const QString& f) { return signees.count(f) || intraitables.count(f); });
        doublons.sort(Qt::CaseInsensitive);
        doublons.removeDuplicates();
    }

    const std::lock_guard<std::mutex> verrou(Verrou);
    // What the search holds of the lists replaced is void.
    AnnuleEnVol();
    misDeCote.clear();
    Active = true;
    Titre = titre;
    Fonte = QFont();
    SousGroupe = -1;
    Groupe = 0;
    ATraiter = std::move(file);
    Doublons = std::move(doublons);
    octetsDesNoms = std::move(octets);
    Chemin = chemin;
    CheminOctets = cheminOctets;
    ListeSignatures = std::move(liste);
    if (Contexte && Contexte->SourcePath && Chemin == *Contexte->SourcePath) Active = false;
    NbSauvees = static_cast<int32_t>(ListeSignatures->Miniatures.size());
}

bool TDestination::SauveSignatures() {
    if (!Contexte) return false;
    const std::lock_guard<std::mutex> verrou(Verrou);
    return TMagasinSignatures(Contexte->DossierSignatures(), Contexte->Lot, &Contexte->CopiesGardees)
        .Sauve(*ListeSignatures, Doublons);
}

bool TDestination::DemandeEffacement() {
    if (!Contexte) return false;
    const QString question =
        QStringLiteral("Voulez-vous effacer les signatures du dossier '") + Chemin + QStringLiteral("' ?");
    ReponseConfirmation& reponse = Contexte->ReponseMemorisee;
    if (reponse != ReponseConfirmation::OuiPourTous && reponse != ReponseConfirmation::NonPourTous) {
        reponse =
            Contexte->Questions ? Contexte->Questions->Confirme(question) : ReponseConfirmation::Annuler;
        if (reponse == ReponseConfirmation::Annuler || reponse == ReponseConfirmation::ToutAnnuler)
            return false;
    }
    if (reponse == ReponseConfirmation::Oui || reponse == ReponseConfirmation::OuiPourTous) {
        const std::lock_guard<std::mutex> verrou(Verrou);
        ATraiter.clear();
    }
    return true;
}

void TDestination::RetireSignaturesDisparues() {
    const std::lock_guard<std::mutex> verrou(Verrou);
    auto& miniatures = ListeSignatures->Miniatures;
    for (auto i = static_cast<qsizetype>(miniatures.size()) - 1; i >= 0; --i)
        if (!QFile::exists(miniatures[static_cast<size_t>(i)]->Fichier))
            miniatures.erase(miniatures.begin() + i);
}

std::unique_ptr<TDestination> CreeCorbeille(TContexteDestinations* contexte) {
    auto corbeille = std::make_unique<TDestination>(contexte);
    corbeille->Charge(Chemins::Joint(contexte->DossierProgramme, TitreCorbeille), TitreCorbeille);
    corbeille->Groupe = -1;
    corbeille->SousGroupe = -1;
    corbeille->Fonte = QFont(QStringLiteral("Arial"));
    corbeille->Fonte.setPointSize(16);
    return corbeille;
}

std::shared_ptr<TDestination> DestinationDuFichier(const TListeDestinations& destinations,
                                                   const QByteArray& chemin) {
    for (int i = 1; i < destinations.Count(); ++i) {
        const std::shared_ptr<TDestination>& d = destinations.Partage(i);
        if (Chemins::Joint(d->OctetsDuDossier(), Chemins::NomDeFichier(chemin)) == chemin) return d;
    }
    return nullptr;
}

bool TDestination::CopieLaPlusProche(const Tminiature& signature, int32_t sensibilite, QString& fichier,
                                     int32_t& dissemblance) const {
    const std::lock_guard<std::mutex> garde(Verrou);
    if (!ListeSignatures) return false;
    bool trouvee = false;
    int32_t seuil = sensibilite;
    // The grid distance never exceeds the dissimilarity: only grids nearer than the best so far
    // are worked out in full.
    for (const std::shared_ptr<Tminiature>& autre : ListeSignatures->Miniatures) {
        if (EcartGrilles(signature.Grille.data(), autre->Grille.data()) >= seuil) continue;
        if (autre->Fichier == signature.Fichier) continue;
        const int32_t d = Dissemblance(signature, *autre);
        if (!EstDoublon(d, seuil)) continue;
        seuil = d;
        fichier = autre->Fichier;
        dissemblance = d;
        trouvee = true;
    }
    return trouvee;
}
