#include "tachesource.h"

#include "cacheimages.h"

#include <algorithm>

TTacheSource::TTacheSource(TChargeurImages& proprietaire) : chargeur(proprietaire) {}

void TTacheSource::run() {
    QSize ecran;
    while (chargeur.Prend(*this, ecran)) {
        bool place = true, abandonne = false;
        if (!chargeur.cache.Cherche(fichier, ecran)) {
            ++enCours;
            const TEmpreinteFichier avant = EmpreinteDe(fichier);
            TEbauche ebauche;
            if (urgent)
                ebauche = [this](const TImageDecodee& premiere) { emit chargeur.Ebauche(fichier, premiere); };
            const TImageDecodee image = DecodeImage(fichier, ecran, &abandon, ebauche);
            abandonne = image.Abandonne;
            if (!abandonne) {
                place =
                    chargeur.cache.Range(fichier, ecran, image, avant) != TCacheImages::Rangement::SansPlace;
                emit chargeur.Decodee(fichier, image);
            }
            --enCours;
        }
        chargeur.Termine(*this, place, abandonne);
    }
}

TChargeurImages::TChargeurImages(TCacheImages& cacheImages, int fils, QObject* parent)
    : QObject(parent), cache(cacheImages) {
    qRegisterMetaType<TImageDecodee>();
    for (int i = 0; i < std::max(1, fils); ++i) {
        taches.push_back(std::make_unique<TTacheSource>(*this));
        taches.back()->start(QThread::IdlePriority);
    }
}

TChargeurImages::~TChargeurImages() {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        fin = true;
        urgents.clear();
        anticipes.clear();
        for (const auto& tache : taches)
            tache->abandon = true;
    }
    travail.notify_all();
    for (const auto& tache : taches)
        tache->wait();
}

void TChargeurImages::Veut(const QList<QByteArray>& nouveauxUrgents,
                           const QList<QByteArray>& nouveauxAnticipes, QSize ecran) {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        urgents = nouveauxUrgents;
        anticipes = nouveauxAnticipes;
        urgentsVoulus = QSet<QByteArray>(urgents.begin(), urgents.end());
        anticipesVoulus = QSet<QByteArray>(anticipes.begin(), anticipes.end());
        ecranVoulu = ecran;
        plein = false;
        // Urgent files that no thread decodes, less the threads that wait: as many threads decoding
        // a file that is not urgent give it up.
        qsizetype enSouffrance = 0;
        for (const QByteArray& chemin : urgents)
            if (std::none_of(taches.begin(), taches.end(),
                             [&](const auto& t) { return t->fichier == chemin; }))
                ++enSouffrance;
        for (const auto& tache : taches)
            if (tache->fichier.isEmpty()) --enSouffrance;
        for (const auto& tache : taches) {
            if (enSouffrance <= 0) break;
            if (!tache->fichier.isEmpty() && !urgents.contains(tache->fichier)) {
                tache->abandon = true;
                --enSouffrance;
            }
        }
    }
    travail.notify_all();
}

bool TChargeurImages::Prend(TTacheSource& tache, QSize& ecran) {
    std::unique_lock<std::mutex> garde(verrou);
    tache.fichier.clear();
    tache.abandon = false;
    auto prisParUneAutre = [this](const QByteArray& chemin) {
        return std::any_of(taches.begin(), taches.end(), [&](const auto& t) { return t->fichier == chemin; });
    };
    for (;;) {
        if (fin) return false;
        for (QList<QByteArray>* liste : {&urgents, &anticipes}) {
            if (liste == &anticipes && plein) break;
            while (!liste->isEmpty()) {
                const QByteArray chemin = liste->takeFirst();
                if (prisParUneAutre(chemin)) continue;
                tache.fichier = chemin;
                tache.urgent = liste == &urgents;
                ecran = ecranVoulu;
                return true;
            }
        }
        ++enAttente;
        travail.wait(garde);
        --enAttente;
    }
}

bool TChargeurImages::AuRepos() {
    const std::lock_guard<std::mutex> garde(verrou);
    return enAttente == static_cast<int>(taches.size()) && urgents.isEmpty() &&
           (plein || anticipes.isEmpty());
}

void TChargeurImages::Termine(TTacheSource& tache, bool place, bool abandonne) {
    const std::lock_guard<std::mutex> garde(verrou);
    if (abandonne && urgentsVoulus.contains(tache.fichier))
        urgents.prepend(tache.fichier);
    else if (abandonne && anticipesVoulus.contains(tache.fichier))
        anticipes.prepend(tache.fichier);
    if (!tache.urgent && !place) plein = true;
    tache.fichier.clear();
}
