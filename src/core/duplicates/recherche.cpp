#include "recherche.h"

#include "core/destinations/destination.h"
#include "magasin.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include <sys/stat.h>

void TListeComparaison::Reserve(std::size_t n) {
    grilles.reserve(100 * n);
    signatures.reserve(n);
}

void TListeComparaison::Ajoute(std::shared_ptr<Tminiature> signature) {
    grilles.insert(grilles.end(), signature->Grille.begin(), signature->Grille.end());
    signatures.push_back(std::move(signature));
}

std::vector<std::pair<uint32_t, int32_t>> TListeComparaison::Paires(const Tminiature& nouvelle,
                                                                    int32_t sensibilite) const {
    // The dissimilarity is the grid distance times a factor of at least 1, rounded: never below
    // the distance. Only a distance below the sensitivity can make a pair, and only those few are
    // worked out in full.
    std::vector<uint32_t> proches;
    EcartsSousLeSeuil(nouvelle.Grille.data(), grilles.data(), signatures.size(), sensibilite, proches);
    std::vector<std::pair<uint32_t, int32_t>> paires;
    for (const uint32_t i : proches) {
        const Tminiature& ancienne = *signatures[i];
        if (ancienne.Fichier == nouvelle.Fichier) continue;
        const int32_t d = Dissemblance(nouvelle, ancienne);
        if (EstDoublon(d, sensibilite)) paires.emplace_back(i, d);
    }
    return paires;
}

QStringList TListeComparaison::Compare(const Tminiature& nouvelle, int32_t sensibilite) const {
    QStringList lignes;
    for (const auto& [i, d] : Paires(nouvelle, sensibilite))
        lignes << LigneDoublon(d, nouvelle.Fichier, signatures[i]->Fichier);
    return lignes;
}

namespace {

// A file that no longer stands at its path, as opposed to one that could not be read there.
bool Disparu(const QByteArray& chemin) {
    struct stat etat {};
    return ::stat(chemin.constData(), &etat) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// The images of the queue being decoded ahead: the task takes their results in order, decoding
// itself the next one when no helper has begun it, and waiting for it otherwise.
class TDecodageAvance {
public:
    struct Resultat {
        QString fichier;
        ResultatCalcul etat = ResultatCalcul::Intraitable;
        std::shared_ptr<Tminiature> signature;
        TEtatFichier etatFichier; // the file's state before it was read
        bool disparu = false;     // unreadable because gone
    };
    using TCalcul = std::function<ResultatCalcul(const QByteArray&, Tminiature&)>;

    TDecodageAvance(int nombreAides, TCalcul calcul) : calcule(std::move(calcul)) {
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
        resultat.etatFichier = TEtatFichier::De(travail.octets);
        resultat.etat = calcule(travail.octets, *signature);
        if (resultat.etat == ResultatCalcul::Inaccessible) resultat.disparu = Disparu(travail.octets);
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

    const TCalcul calcule;
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

ResultatCalcul TTacheMini::Calcule(const QByteArray& chemin, Tminiature& signature) {
    return signature.CalculeOctets(chemin, &arret);
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
    d.CommenceTache();
    d.ReserveSignatures(d.Comptes().ATraiter);

    TDecodageAvance avance(decodeursEnPlus, [this](const QByteArray& chemin, Tminiature& signature) {
        return Calcule(chemin, signature);
    });
    const std::size_t enAvance = decodeursEnPlus == 0 ? 1 : 8 * static_cast<std::size_t>(decodeursEnPlus + 1);
    QString fichier;
    while (!Arrete()) {
        while (avance.Taille() < enAvance && d.PrendSuivant(fichier))
            avance.Ajoute(fichier, d.OctetsDe(fichier));
        if (avance.Taille() == 0) break;
        TDecodageAvance::Resultat resultat = avance.Premier();
        switch (resultat.etat) {
        case ResultatCalcul::Abandonnee:
            // Stopped part-way: the image is queued again, first.
            d.RemetEnTete(QStringList{resultat.fichier} + avance.Restants());
            return;
        case ResultatCalcul::Intraitable:
            d.AjouteIntraitable(resultat.fichier, resultat.etatFichier);
            continue;
        case ResultatCalcul::Inaccessible:
            d.AjouteInaccessible(resultat.fichier, resultat.disparu);
            continue;
        case ResultatCalcul::Calculee:
            break;
        }
        const std::shared_ptr<Tminiature> signature = resultat.signature;
        const QStringList lignes = comparaison.Compare(*signature, sensibilite.load());
        // A file forgotten while it was decoded is neither signed nor compared with.
        if (!d.AjouteSignature(signature, lignes)) continue;
        comparaison.Ajoute(signature);
        if (generales) generales->Ajoute(signature);
        if (d.Comptes().Signatures % 10 == 0 && !Arrete()) emit Progression();
    }
    d.RemetEnTete(avance.Restants());
    // The decodes still under way on the helpers are of no use now.
    arret = true;
}

TTacheComparaison::TTacheComparaison(std::shared_ptr<TDestination> destination,
                                     std::vector<std::shared_ptr<TDestination>> autres, QString reprise,
                                     int generation, const std::atomic<int32_t>& sensibiliteCourante,
                                     std::atomic<int32_t>& occupeCompteur)
    : TTacheMini(std::move(destination), nullptr, sensibiliteCourante, occupeCompteur, 0),
      Reprise(std::move(reprise)), Generation(generation), partenaires(std::move(autres)),
      sensibiliteComparaison(sensibiliteCourante) {}

TTacheComparaison::~TTacheComparaison() {
    DemandeArret();
    wait();
}

void TTacheComparaison::Travaille() {
    TDestination& d = *DestinationTraitee;
    TListeComparaison comparaison;
    std::vector<TDestination*> destinationDe; // the partner of each signature of the list
    std::vector<QString> noms;                // each signature's file as it was taken
    for (const auto& partenaire : partenaires) {
        for (auto& signature : partenaire->CopieSignatures()) {
            noms.push_back(signature->Fichier);
            comparaison.Ajoute(std::move(signature));
            destinationDe.push_back(partenaire.get());
        }
    }

    // Its own signatures not compared yet, by file name.
    std::vector<std::pair<QString, std::shared_ptr<Tminiature>>> aComparer;
    for (auto& signature : d.CopieSignatures())
        if (signature->Fichier > Reprise) aComparer.emplace_back(signature->Fichier, std::move(signature));
    std::sort(aComparer.begin(), aComparer.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    for (const auto& [nom, signature] : aComparer) {
        if (Arrete()) return;
        // The pairs grouped by the partner that holds the other image.
        std::vector<std::pair<TDestination*, TPaireCroisee>> paires;
        for (const auto& [i, dissemblance] : comparaison.Paires(*signature, sensibiliteComparaison.load()))
            paires.push_back({destinationDe[i], {comparaison.Signature(i), noms[i], dissemblance}});
        std::stable_sort(paires.begin(), paires.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t debut = 0; debut < paires.size();) {
            std::size_t fin = debut;
            std::vector<TPaireCroisee> groupe;
            while (fin < paires.size() && paires[fin].first == paires[debut].first)
                groupe.push_back(paires[fin++].second);
            LignesAjoutees += d.AjoutePairesCroisees(*signature, nom, *paires[debut].first, groupe);
            debut = fin;
        }
        Reprise = nom;
    }
    Terminee = true;
}
