#include "destination.h"

#include "app/attente.h"
#include "app/chemins.h"
#include "app/questions.h"
#include "duplicates/ecart.h"
#include "duplicates/magasin.h"
#include "duplicates/revue.h"
#include "source/balayage.h"

#include <QFile>

#include <algorithm>

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
    // The trash keeps nothing in the store.
    if (!Contexte || Chemin.isEmpty() || Titre == TitreCorbeille) return;
    if (Contexte->ReponseMemorisee != 6 && Contexte->ReponseMemorisee != 10) {
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

void TDestination::AjouteATraiter(const QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    ATraiter << fichier;
}

void TDestination::AjouteATraiter(const QByteArray& chemin) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    EnFile(chemin);
}

void TDestination::EnFile(const QByteArray& chemin) {
    const QString texte = QFile::decodeName(chemin);
    if (QFile::encodeName(texte) != chemin) octetsDesNoms.insert(texte, chemin);
    ATraiter << texte;
}

QByteArray TDestination::OctetsDe(const QString& fichier) const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    const auto octets = octetsDesNoms.constFind(fichier);
    return octets != octetsDesNoms.cend() ? *octets : QFile::encodeName(fichier);
}

void TDestination::Oublie(const QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    OublieSignaturesEtPaires({fichier});
    ATraiter.removeAll(fichier);
    octetsDesNoms.remove(fichier);
    ListeSignatures->Intraitables.removeAll(fichier);
}

void TDestination::OublieSignaturesEtPaires(const QSet<QString>& fichiers) {
    auto& miniatures = ListeSignatures->Miniatures;
    miniatures.erase(std::remove_if(miniatures.begin(), miniatures.end(),
                                    [&](const auto& m) { return fichiers.contains(m->Fichier); }),
                     miniatures.end());
    Doublons.removeIf([&](const QString& ligne) {
        const TPaire paire = LitPaire(ligne);
        return fichiers.contains(paire.Image1) || fichiers.contains(paire.Image2);
    });
}

bool TDestination::PrendSuivant(QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    if (ATraiter.isEmpty()) return false;
    fichier = ATraiter.takeFirst();
    return true;
}

void TDestination::RemetEnTete(const QStringList& fichiers) {
    if (fichiers.isEmpty()) return;
    const std::lock_guard<std::mutex> verrou(Verrou);
    ATraiter = fichiers + ATraiter;
}

void TDestination::AjouteSignature(std::shared_ptr<Tminiature> signature, const QStringList& lignes) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    ListeSignatures->Miniatures.push_back(std::move(signature));
    // Sorted with letter case ignored; but two files whose names differ only in case are two
    // files here, so only a line equal in every letter is a line already there.
    const auto avant = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    };
    for (const QString& ligne : lignes) {
        auto place = std::lower_bound(Doublons.begin(), Doublons.end(), ligne, avant);
        bool present = false;
        for (auto i = place; i != Doublons.end() && !avant(ligne, *i) && !present; ++i)
            present = *i == ligne;
        if (!present) Doublons.insert(place, ligne);
    }
}

void TDestination::AjouteIntraitable(const QString& fichier) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    ListeSignatures->Intraitables << fichier;
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

QStringList TDestination::FichiersConnus() const {
    const std::lock_guard<std::mutex> verrou(Verrou);
    QStringList fichiers;
    fichiers.reserve(static_cast<qsizetype>(ListeSignatures->Miniatures.size()) + ATraiter.size() +
                     ListeSignatures->Intraitables.size());
    for (const auto& signature : ListeSignatures->Miniatures)
        fichiers << signature->Fichier;
    return fichiers << ATraiter << ListeSignatures->Intraitables;
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
    const std::lock_guard<std::mutex> verrou(Verrou);
    OublieSignaturesEtPaires(fichiers);
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
    for (QString& fichier : ListeSignatures->Intraitables)
        fichiersChanges |= renomme(fichier);
    bool lignesChangees = false;
    for (QString& ligne : Doublons) {
        TPaire paire = LitPaire(ligne);
        const bool un = renomme(paire.Image1), deux = renomme(paire.Image2);
        if (!un && !deux) continue;
        ligne = LigneDoublon(paire.Dissemblance, paire.Image1, paire.Image2);
        lignesChangees = true;
    }
    if (lignesChangees) Doublons.sort(Qt::CaseInsensitive);
    return fichiersChanges || lignesChangees;
}

QString TDestination::NomAleatoire() {
    return ::NomAleatoire();
}

QByteArray TDestination::OctetsDuDossier() const {
    return CheminOctets.isEmpty() ? QFile::encodeName(Chemin) : CheminOctets;
}

void TDestination::Charge(const QString& chemin, const QString& titre, const QByteArray& octets) {
    const std::lock_guard<std::mutex> verrou(Verrou);
    Active = true;
    Titre = titre;
    Fonte = QFont();
    SousGroupe = -1;
    Groupe = 0;
    ATraiter.clear();
    Doublons.clear();
    octetsDesNoms.clear();
    Chemin = chemin;
    CheminOctets = octets.isEmpty() || QFile::encodeName(chemin) == octets ? QByteArray() : octets;
    ListeSignatures = std::make_unique<TListeDoublons>(chemin);

    if (titre != TitreCorbeille) {
        const QByteArray dossier = OctetsDuDossier();
        const EntreesParMasque blocs = ChercheImages(dossier, Recherche::ToutesEntrees);
        for (const auto& bloc : blocs)
            for (const TEntreeDossier& entree : bloc)
                EnFile(Chemins::Joint(dossier, entree.Nom));

        QStringList doublons;
        if (Contexte)
            TMagasinSignatures(Contexte->DossierSignatures(), Contexte->Lot, &Contexte->CopiesGardees)
                .Charge(chemin, *ListeSignatures, doublons);

        // Signatures of images still there leave the queue; the others are dropped. Hash sets
        // keep this linear in the size of the folder.
        std::unordered_set<QString> enAttente(ATraiter.begin(), ATraiter.end());
        std::unordered_set<QString> signees;
        auto& miniatures = ListeSignatures->Miniatures;
        IChargement* chargement = Contexte ? Contexte->Chargement : nullptr;
        if (chargement) chargement->DebutChargement(static_cast<int>(miniatures.size()));
        std::vector<std::shared_ptr<Tminiature>> gardees;
        gardees.reserve(miniatures.size());
        for (auto& miniature : miniatures) {
            if (enAttente.count(miniature->Fichier)) {
                signees.insert(miniature->Fichier);
                gardees.push_back(std::move(miniature));
            }
            if (chargement) chargement->PasChargement();
        }
        miniatures = std::move(gardees);
        const std::unordered_set<QString> intraitables(ListeSignatures->Intraitables.begin(),
                                                       ListeSignatures->Intraitables.end());
        ATraiter.removeIf([&](const QString& f) { return signees.count(f) || intraitables.count(f); });
        Doublons = doublons;
        Doublons.sort(Qt::CaseInsensitive);
        Doublons.removeDuplicates();
    }
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
    int16_t& reponse = Contexte->ReponseMemorisee;
    if (reponse != 10 && reponse != 9) {
        reponse = Contexte->Questions ? Contexte->Questions->Confirme(question) : int16_t{2};
        if (reponse == 2 || reponse == 8) return false;
    }
    if (reponse == 6 || reponse == 10) {
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
