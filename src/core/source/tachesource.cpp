#include "tachesource.h"

#include "cacheimages.h"

#include <algorithm>

TTacheSource::TTacheSource(TChargeurImages& proprietaire) : chargeur(proprietaire) {}

void TTacheSource::run() {
    while (chargeur.Prend(*this)) {
        bool place = true, abandonne = false;
        if (!chargeur.cache.Cherche(fichier, ecran)) {
            ++enCours;
            const TEmpreinteFichier avant = EmpreinteDe(fichier);
            TEbauche ebauche;
            if (urgent)
                ebauche = [this](const TImageDecodee& premiere) {
                    if (chargeur.NoteEbauche(fichier)) emit chargeur.Ebauche(fichier, premiere, ecran);
                };
            const TImageDecodee image =
                DecodeImage(fichier, ecran, &abandon, ebauche, [this] { return chargeur.Engage(*this); });
            // Decoded for a screen size given up meanwhile: as if given up, the file goes back to
            // the list to be decoded for the new one.
            abandonne = image.Abandonne || !chargeur.Livre(*this, image, avant, place);
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
        if (nouveauxUrgents != urgentsVoulus || nouveauxAnticipes != anticipesVoulus || ecran != ecranVoulu)
            changement = std::chrono::steady_clock::now();
        urgents = nouveauxUrgents;
        anticipes = nouveauxAnticipes;
        urgentsVoulus = urgents;
        anticipesVoulus = anticipes;
        // Decodes for another screen size are of no use: they give up, unless they cannot.
        if (ecran != ecranVoulu)
            for (const auto& tache : taches)
                if (!tache->fichier.isEmpty() && !tache->engagee) tache->abandon = true;
        ecranVoulu = ecran;
        plein = false;
        for (auto it = ebauchees.begin(); it != ebauchees.end();)
            it = urgents.contains(*it) ? std::next(it) : ebauchees.erase(it);
        // Urgent files that no thread decodes, less the threads that wait: as many threads decoding
        // a less wanted file give it up, those on a file that is not urgent first, then those on an
        // urgent file already showing a first picture when one with nothing on screen waits. A
        // decode that cannot stop is left alone; one waiting for leave sees for itself.
        qsizetype enSouffrance = 0, sansImage = 0;
        for (const QByteArray& chemin : urgents)
            if (std::none_of(taches.begin(), taches.end(),
                             [&](const auto& t) { return t->fichier == chemin; })) {
                ++enSouffrance;
                if (!ebauchees.contains(chemin)) ++sansImage;
            }
        // Threads free, stopping, or waiting for leave on a file that is not urgent, which they give up.
        for (const auto& tache : taches)
            if (tache->fichier.isEmpty() || tache->abandon ||
                (tache->attendEngagement && !urgents.contains(tache->fichier)))
                --enSouffrance;
        auto abandonne = [&](auto&& moinsVoulu) {
            for (const auto& tache : taches) {
                if (enSouffrance <= 0) return;
                if (!tache->fichier.isEmpty() && !tache->engagee && !tache->attendEngagement &&
                    !tache->abandon && moinsVoulu(tache->fichier)) {
                    tache->abandon = true;
                    --enSouffrance;
                }
            }
        };
        abandonne([&](const QByteArray& chemin) { return !urgents.contains(chemin); });
        if (sansImage > 0) abandonne([&](const QByteArray& chemin) { return ebauchees.contains(chemin); });
    }
    travail.notify_all();
}

int TChargeurImages::Rang(const QByteArray& chemin) const {
    const qsizetype nombre = urgentsVoulus.size();
    if (const qsizetype i = urgentsVoulus.indexOf(chemin); i >= 0)
        return static_cast<int>(ebauchees.contains(chemin) ? nombre + i : i);
    if (const qsizetype i = anticipesVoulus.indexOf(chemin); i >= 0) return static_cast<int>(2 * nombre + i);
    return INT_MAX;
}

int TChargeurImages::LibresMeilleurs(int rang) const {
    int nombre = 0;
    for (const QByteArray& chemin : urgents)
        nombre += Rang(chemin) < rang;
    if (!plein)
        for (const QByteArray& chemin : anticipes)
            nombre += Rang(chemin) < rang;
    return nombre;
}

bool TChargeurImages::NoteEbauche(const QByteArray& chemin) {
    const std::lock_guard<std::mutex> garde(verrou);
    if (!urgentsVoulus.contains(chemin) || ebauchees.contains(chemin)) return false;
    ebauchees.insert(chemin);
    return true;
}

bool TChargeurImages::Engage(TTacheSource& tache) {
    std::unique_lock<std::mutex> garde(verrou);
    tache.attendEngagement = true;
    for (;;) {
        const int rang = Rang(tache.fichier);
        if (fin || tache.abandon || rang == INT_MAX) break;
        // Better-wanted files that no thread has taken go to the threads that are free, stopping or
        // waiting here with a less wanted file; past those, this one gives its file up.
        int remplacantes = enAttente;
        bool devancee = false;
        for (const auto& t : taches) {
            if (t.get() == &tache) continue;
            if ((t->abandon && !t->engagee) || (t->attendEngagement && Rang(t->fichier) > rang))
                ++remplacantes;
            if (t->engagee || (t->attendEngagement && Rang(t->fichier) < rang)) devancee = true;
        }
        if (LibresMeilleurs(rang) > remplacantes) break;
        // A slot with nothing to show gains nothing by waiting for the wants to settle.
        const bool sansImage = rang < urgentsVoulus.size();
        const auto calme = changement + std::chrono::milliseconds(CalmeMs.load());
        if (!devancee && (sansImage || std::chrono::steady_clock::now() >= calme)) {
            tache.attendEngagement = false;
            tache.engagee = true;
            return true;
        }
        if (devancee)
            travail.wait(garde);
        else
            travail.wait_until(garde, calme);
    }
    tache.attendEngagement = false;
    tache.abandon = true;
    return false;
}

bool TChargeurImages::Prend(TTacheSource& tache) {
    std::unique_lock<std::mutex> garde(verrou);
    tache.fichier.clear();
    tache.abandon = false;
    tache.engagee = false;
    auto prisParUneAutre = [this](const QByteArray& chemin) {
        return std::any_of(taches.begin(), taches.end(), [&](const auto& t) { return t->fichier == chemin; });
    };
    for (;;) {
        if (fin) return false;
        // The most wanted file that no thread has taken.
        urgents.removeIf(prisParUneAutre);
        anticipes.removeIf(prisParUneAutre);
        QList<QByteArray>* choisie = nullptr;
        qsizetype position = 0;
        int meilleur = INT_MAX;
        for (QList<QByteArray>* liste : {&urgents, &anticipes}) {
            if (liste == &anticipes && plein) break;
            for (qsizetype i = 0; i < liste->size(); ++i)
                if (const int rang = Rang(liste->at(i)); !choisie || rang < meilleur) {
                    choisie = liste;
                    position = i;
                    meilleur = rang;
                }
        }
        if (choisie) {
            tache.fichier = choisie->takeAt(position);
            tache.urgent = choisie == &urgents;
            tache.ecran = ecranVoulu;
            return true;
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

bool TChargeurImages::Livre(TTacheSource& tache, const TImageDecodee& image, TEmpreinteFichier avant,
                            bool& place) {
    // Under the lock, so that no new size is wanted between the check and the hand-over.
    const std::lock_guard<std::mutex> garde(verrou);
    if (tache.ecran != ecranVoulu) return false;
    place = cache.Range(tache.fichier, tache.ecran, image, avant) != TCacheImages::Rangement::SansPlace;
    emit Decodee(tache.fichier, image, tache.ecran);
    return true;
}

void TChargeurImages::Termine(TTacheSource& tache, bool place, bool abandonne) {
    const std::lock_guard<std::mutex> garde(verrou);
    if (abandonne && urgentsVoulus.contains(tache.fichier) && !urgents.contains(tache.fichier))
        urgents.prepend(tache.fichier);
    else if (abandonne && anticipesVoulus.contains(tache.fichier) && !anticipes.contains(tache.fichier))
        anticipes.prepend(tache.fichier);
    if (!tache.urgent && !place) plein = true;
    tache.fichier.clear();
    tache.engagee = false;
    // Threads waiting for leave to begin a decode may have it now, or a file given up to take.
    travail.notify_all();
}
