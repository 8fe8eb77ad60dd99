#include "recherche.h"

#include "destinations/destination.h"
#include "magasin.h"

#include <condition_variable>
#include <deque>
#include <mutex>

void TListeComparaison::Reserve(std::size_t n) {
    grilles.reserve(100 * n);
    signatures.reserve(n);
}

void TListeComparaison::Ajoute(std::shared_ptr<Tminiature> signature) {
    grilles.insert(grilles.end(), signature->Grille.begin(), signature->Grille.end());
    signatures.push_back(std::move(signature));
}

QStringList TListeComparaison::Compare(const Tminiature& nouvelle, int32_t sensibilite) const {
    // The dissimilarity is the grid distance times a factor of at least 1, rounded: never below
    // the distance. Only a distance below the sensitivity can make a pair, and only those few are
    // worked out in full.
    std::vector<uint32_t> proches;
    EcartsSousLeSeuil(nouvelle.Grille.data(), grilles.data(), signatures.size(), sensibilite, proches);
    QStringList lignes;
    for (const uint32_t i : proches) {
        const Tminiature& ancienne = *signatures[i];
        const int32_t d = Dissemblance(nouvelle, ancienne);
        if (EstDoublon(d, sensibilite)) lignes << LigneDoublon(d, nouvelle.Fichier, ancienne.Fichier);
    }
    return lignes;
}

namespace {

// The images of the queue being decoded ahead: the task takes their results in order, decoding
// itself the next one when no helper has begun it, and waiting for it otherwise.
class TDecodageAvance {
public:
    struct Resultat {
        QString fichier;
        ResultatCalcul etat = ResultatCalcul::Intraitable;
        std::shared_ptr<Tminiature> signature;
    };

    TDecodageAvance(int nombreAides, const std::atomic<bool>& arretDemande) : arret(arretDemande) {
        for (int i = 0; i < nombreAides; ++i) {
            std::unique_ptr<QThread> aide(QThread::create([this] { Aide(); }));
            aide->start(QThread::IdlePriority);
            aides.push_back(std::move(aide));
        }
    }
    ~TDecodageAvance() {
        {
            const std::lock_guard<std::mutex> garde(verrou);
            fin = true;
        }
        change.notify_all();
        for (auto& aide : aides)
            aide->wait();
    }
    TDecodageAvance(const TDecodageAvance&) = delete;
    TDecodageAvance& operator=(const TDecodageAvance&) = delete;

    void Ajoute(const QString& fichier, const QByteArray& octets) {
        auto travail = std::make_shared<Travail>();
        travail->resultat.fichier = fichier;
        travail->octets = octets;
        {
            const std::lock_guard<std::mutex> garde(verrou);
            file.push_back(std::move(travail));
        }
        change.notify_one();
    }
    std::size_t Taille() const {
        const std::lock_guard<std::mutex> garde(verrou);
        return file.size();
    }
    // The result of the oldest image, taken out of the list. While a helper decodes it, the
    // caller decodes the next image that nobody has begun, rather than wait idle.
    Resultat Premier() {
        std::unique_lock<std::mutex> garde(verrou);
        const std::shared_ptr<Travail> premier = file.front();
        file.pop_front();
        for (;;) {
            if (premier->etat == Etat::Fait) return std::move(premier->resultat);
            std::shared_ptr<Travail> travail = premier->etat == Etat::Attente ? premier : PremierEnAttente();
            if (travail)
                Traite(garde, *travail);
            else
                change.wait(garde, [&] { return premier->etat == Etat::Fait; });
        }
    }
    // The images not taken yet, in queue order; the list is left empty.
    QStringList Restants() {
        std::unique_lock<std::mutex> garde(verrou);
        QStringList restants;
        for (const auto& travail : file)
            restants << travail->resultat.fichier;
        file.clear();
        return restants;
    }

private:
    enum class Etat { Attente, EnCours, Fait };
    struct Travail {
        Resultat resultat;
        QByteArray octets; // what the file is opened with
        Etat etat = Etat::Attente;
    };

    void Decode(Travail& travail) const {
        Resultat& resultat = travail.resultat;
        auto signature = std::make_shared<Tminiature>();
        resultat.etat = signature->CalculeOctets(travail.octets, &arret);
        if (resultat.etat == ResultatCalcul::Calculee) {
            // The name as queued, whatever the decoding of its bytes gives back.
            signature->Fichier = resultat.fichier;
            resultat.signature = std::move(signature);
        }
    }

    // Decodes one image with the lock let go meanwhile, and tells whoever waits for it.
    void Traite(std::unique_lock<std::mutex>& garde, Travail& travail) {
        travail.etat = Etat::EnCours;
        garde.unlock();
        Decode(travail);
        garde.lock();
        travail.etat = Etat::Fait;
        change.notify_all();
    }

    // The oldest image nobody has begun; the lock is held.
    std::shared_ptr<Travail> PremierEnAttente() const {
        for (const auto& travail : file)
            if (travail->etat == Etat::Attente) return travail;
        return nullptr;
    }

    void Aide() {
        std::unique_lock<std::mutex> garde(verrou);
        for (;;) {
            std::shared_ptr<Travail> travail;
            change.wait(garde, [&] {
                travail = fin ? nullptr : PremierEnAttente();
                return fin || travail;
            });
            if (!travail) return;
            Traite(garde, *travail);
        }
    }

    const std::atomic<bool>& arret;
    mutable std::mutex verrou;
    std::condition_variable change;
    std::deque<std::shared_ptr<Travail>> file;
    std::vector<std::unique_ptr<QThread>> aides;
    bool fin = false;
};

} // namespace

TTacheMini::TTacheMini(std::shared_ptr<TDestination> destination,
                       std::shared_ptr<TListeGenerale> generalesPartagees,
                       const std::atomic<int32_t>& sensibiliteCourante, std::atomic<int32_t>& occupeCompteur,
                       int aides)
    : DestinationTraitee(std::move(destination)), generales(std::move(generalesPartagees)),
      sensibilite(sensibiliteCourante), occupe(occupeCompteur), decodeursEnPlus(std::max(0, aides)) {
    ++occupe;
}

TTacheMini::~TTacheMini() {
    // A running task is waited for; one never started still gives back its count.
    DemandeArret();
    wait();
    if (!compteRendu.exchange(true)) --occupe;
}

void TTacheMini::DemandeArret() {
    arret = true;
    requestInterruption();
}

int TTacheMini::DecodeursEnPlusParDefaut() {
    return std::max(0, QThread::idealThreadCount() - 1);
}

bool TTacheMini::Arrete() const {
    return arret.load() || DestinationTraitee->EstFermee();
}

void TTacheMini::run() {
    // The count is given back as the body ends, so that the next task may start at once.
    struct FinDeTache {
        TTacheMini& tache;
        ~FinDeTache() {
            if (!tache.compteRendu.exchange(true)) --tache.occupe;
        }
    } fin{*this};
    Travaille();
}

void TTacheMini::Travaille() {
    TDestination& d = *DestinationTraitee;

    // The comparison list: the general one shared by every active destination, or the folder's
    // own signatures.
    TListeComparaison comparaison;
    {
        const auto depart = generales ? generales->Copie() : d.CopieSignatures();
        comparaison.Reserve(depart.size() + static_cast<std::size_t>(d.Comptes().ATraiter));
        for (const auto& signature : depart)
            comparaison.Ajoute(signature);
    }
    d.ReserveSignatures(d.Comptes().ATraiter);

    TDecodageAvance avance(decodeursEnPlus, arret);
    const std::size_t enAvance = decodeursEnPlus == 0 ? 1 : 8 * static_cast<std::size_t>(decodeursEnPlus + 1);
    QString fichier;
    while (!Arrete()) {
        while (avance.Taille() < enAvance && d.PrendSuivant(fichier))
            avance.Ajoute(fichier, d.OctetsDe(fichier));
        if (avance.Taille() == 0) break;
        TDecodageAvance::Resultat resultat = avance.Premier();
        if (resultat.etat == ResultatCalcul::Abandonnee) {
            // Stopped part-way: the image is queued again, first.
            d.RemetEnTete(QStringList{resultat.fichier} + avance.Restants());
            return;
        }
        if (resultat.etat == ResultatCalcul::Intraitable) {
            d.AjouteIntraitable(resultat.fichier);
            continue;
        }
        const QStringList lignes = comparaison.Compare(*resultat.signature, sensibilite.load());
        comparaison.Ajoute(resultat.signature);
        if (generales) generales->Ajoute(resultat.signature);
        d.AjouteSignature(std::move(resultat.signature), lignes);
        if (d.Comptes().Signatures % 10 == 0 && !Arrete()) emit Progression();
    }
    d.RemetEnTete(avance.Restants());
}
