#include "tachesource.h"

#include "cacheimages.h"

#include <algorithm>

TTacheSource::TTacheSource(TChargeurImages& proprietaire) : chargeur(proprietaire) {}

void TTacheSource::run() {
    QByteArray chemin;
    QSize ecran;
    bool urgent = false;
    while (chargeur.Prend(chemin, ecran, urgent)) {
        bool place = true;
        if (!chargeur.cache.Cherche(chemin, ecran)) {
            ++enCours;
            const TEmpreinteFichier avant = EmpreinteDe(chemin);
            const TImageDecodee image = DecodeImage(chemin, ecran);
            place = chargeur.cache.Range(chemin, ecran, image, avant) != TCacheImages::Rangement::SansPlace;
            emit chargeur.Decodee(chemin, image);
            --enCours;
        }
        chargeur.Termine(chemin, urgent, place);
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
        QMutexLocker garde(&verrou);
        fin = true;
        urgents.clear();
        anticipes.clear();
    }
    travail.wakeAll();
    for (const auto& tache : taches)
        tache->wait();
}

void TChargeurImages::Veut(const QList<QByteArray>& chemins, QSize ecran, int nombreUrgents) {
    {
        QMutexLocker garde(&verrou);
        urgents = chemins.first(std::clamp<qsizetype>(nombreUrgents, 0, chemins.size()));
        anticipes = chemins.sliced(urgents.size());
        ecranVoulu = ecran;
        plein = false;
    }
    travail.wakeAll();
}

bool TChargeurImages::Prend(QByteArray& chemin, QSize& ecran, bool& urgent) {
    QMutexLocker garde(&verrou);
    for (;;) {
        if (fin) return false;
        for (QList<QByteArray>* liste : {&urgents, &anticipes}) {
            if (liste == &anticipes && plein) break;
            while (!liste->isEmpty()) {
                chemin = liste->takeFirst();
                if (enCours.contains(chemin)) continue;
                enCours.insert(chemin);
                ecran = ecranVoulu;
                urgent = liste == &urgents;
                return true;
            }
        }
        travail.wait(&verrou);
    }
}

void TChargeurImages::Termine(const QByteArray& chemin, bool urgent, bool place) {
    QMutexLocker garde(&verrou);
    enCours.remove(chemin);
    if (!urgent && !place) plein = true;
}
