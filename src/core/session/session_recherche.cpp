// The duplicate search as the session drives it: the decision made on each tick, starting and
// ending tasks, the near copies of the current image, and the commands of the "Images en double"
// menu.

#include "core/app/occupation.h"
#include "core/app/questions.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/inventaire.h"
#include "core/session/session.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// What the near-copies lookup depends on besides the picture: which destinations are searched, how
// many signatures each holds, and the sensitivity.
quint64 EtatDesDestinations(const TListeDestinations& destinations, int32_t sensibilite) {
    quint64 etat = static_cast<quint64>(sensibilite);
    for (int i = 1; i < destinations.Count(); ++i) {
        const TDestination* d = destinations.Element(i);
        etat = etat * 1000003u + reinterpret_cast<quintptr>(d) + (d->Active ? 1u : 0u) +
               static_cast<quint64>(d->Comptes().Signatures) * 7u;
    }
    return etat;
}

} // namespace

TBilanRecherche TSession::FinTache() {
    if (!configuration) return {};
    const TBilanRecherche bilan =
        BilanRecherche(configuration->Destinations, RechercheAutorisee, Occupe.load());
    if (bilan.ADemarrer >= 0)
        bilan.Comparaison ? DemarreComparaison(bilan.ADemarrer) : DemarreTache(bilan.ADemarrer);
    return bilan;
}

void TSession::DemarreTache(int index) {
    const std::shared_ptr<TDestination> d = configuration->Destinations.Partage(index);
    d->EnTraitement = true;
    std::shared_ptr<TListeGenerale> generales;
    if (d->RechercheGenerale) {
        ListeGenerale->Remplace(SignaturesGenerales(configuration->Destinations));
        generales = ListeGenerale;
    }
    // The task counts one in Occupe from here to the end of its body.
    auto* tache = new TTacheMini(d, generales, configuration->Sensibilite, Occupe, DecodeursEnPlus);
    connect(tache, &TTacheMini::Progression, this, [this, suivie = std::weak_ptr<TDestination>(d)] {
        if (const auto destination = suivie.lock(); destination && !destination->EstFermee())
            emit DestinationAvancee(destination.get());
    });
    // A task deleted by someone else (the window going first) has no end to handle.
    connect(tache, &QThread::finished, this, [this, finie = QPointer<TTacheMini>(tache)] {
        if (!finie) return;
        VraiFinTache(*finie);
        finie->deleteLater();
    });
    TacheRecherche = tache;
    tache->start(QThread::IdlePriority);
}

void TSession::DemarreComparaison(int index) {
    const TListeDestinations& destinations = configuration->Destinations;
    const std::shared_ptr<TDestination> d = destinations.Partage(index);
    d->EnTraitement = true;
    auto* tache = new TTacheComparaison(d, PartenairesGeneraux(destinations, index), d->RepriseComparaison,
                                        d->GenerationComparaison, configuration->Sensibilite, Occupe);
    connect(tache, &QThread::finished, this, [this, finie = QPointer<TTacheComparaison>(tache)] {
        if (!finie) return;
        ConclutComparaison(*finie->DestinationTraitee, finie->Generation, finie->Reprise, finie->Terminee,
                           finie->LignesAjoutees);
        VraiFinTache(*finie);
        finie->deleteLater();
    });
    TacheRecherche = tache;
    tache->start(QThread::IdlePriority);
}

void TSession::VraiFinTache(TTacheMini& tache) {
    TDestination& d = *tache.DestinationTraitee;
    d.EnTraitement = false;
    if (!d.EstFermee()) {
        emit DestinationAvancee(&d);
        // The store is written when more than ten signatures came since it last was.
        const auto signatures = static_cast<int32_t>(d.Comptes().Signatures);
        if (signatures - d.NbSauvees > 10 && d.SauveSignatures()) d.NbSauvees = signatures;
    }
    emit TacheTerminee(FinTache());
}

QStringList TSession::ChangeModeRecherche(bool locale, bool generale) {
    DemandeArretRecherche();
    if (!configuration) return {};
    return FixeModeRecherche(configuration->Destinations, locale, generale);
}

bool TSession::EffaceDoublons(int index) {
    if (!configuration || index < 0 || index >= configuration->Destinations.Count() || !Questions)
        return false;
    TDestination& d = *configuration->Destinations.Element(index);
    if (!Questions->ConfirmeOkAnnuler(
            QStringLiteral(
                "Etes-vous sur de vouloir effacer la liste des images en double de la destination '") +
            d.Titre + u'\''))
        return false;
    d.EffaceDoublons();
    return true;
}

bool TSession::RevoitDoublons(TDestination& d,
                              const std::function<void(const std::shared_ptr<TDestination>&)>& revue) {
    if (d.Comptes().Doublons == 0) return false;
    // Held for as long as the review lasts; the destination too.
    const std::shared_ptr<TDestination> tenue = d.weak_from_this().lock();
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    // Pairs whose files are gone are not shown again.
    d.ElagueDoublons();
    if (tenue && configuration) revue(tenue);
    return true;
}

QStringList TSession::GereSignatures(const std::function<void()>& gestionnaire) {
    const TOccupation occupation(Occupe);
    // The images in the search's hands are back in their lists before anything is counted.
    AttendFinRecherche();
    QStringList echecs;
    if (configuration) {
        // The stores then hold what the open destinations hold now.
        echecs = SauveMagasinsOuverts(configuration->Destinations);
        if (!echecs.isEmpty() && Questions)
            Questions->SignaleErreur(
                QStringLiteral("Les signatures de ces dossiers n'ont pas pu être enregistrées ; leurs "
                               "comptes sont ceux de la mémoire :\n") +
                echecs.join(u'\n'));
    }
    gestionnaire();
    return echecs;
}

void TSession::ChercheCopiesDeLaCourante(TImageDecodee image, QByteArray chemin, bool meme) {
    const bool montree = image.Lisible && !image.Image.isNull();
    const qint64 cle = montree ? image.Image.cacheKey() : 0;
    if (!montree) chemin.clear();
    if (!meme && cle == cleCherchee && chemin == fichierCherche) return;
    cleCherchee = cle;
    fichierCherche = chemin;
    imageCherchee = montree ? image : TImageDecodee();
    const uint64_t numero = ++numeroCopies;
    if (!montree || !configuration) {
        CopiesRecues(numero, {});
        return;
    }
    if (!chercheurCopies) {
        chercheurCopies = new TChercheurCopies(this);
        connect(chercheurCopies, &TChercheurCopies::Trouvees, this, &TSession::CopiesRecues,
                Qt::QueuedConnection);
    }
    // The trash and the folder shown as the source (inactive) never count, whatever their mode.
    std::vector<std::shared_ptr<TDestination>> destinations;
    for (int i = 1; i < configuration->Destinations.Count(); ++i)
        if (configuration->Destinations.Element(i)->Active)
            destinations.push_back(configuration->Destinations.Partage(i));
    etatDesCopies = EtatDesDestinations(configuration->Destinations, configuration->Sensibilite);
    chercheurCopies->Demande(numero, std::move(image), QFile::decodeName(chemin), std::move(destinations),
                             configuration->Sensibilite);
}

void TSession::VerifieCopiesDeLaCourante() {
    if (!configuration || cleCherchee == 0) return;
    if (EtatDesDestinations(configuration->Destinations, configuration->Sensibilite) != etatDesCopies)
        ChercheCopiesDeLaCourante(imageCherchee, fichierCherche, true);
}

void TSession::CopiesRecues(quint64 numero, const std::vector<TCopieConnue>& copies) {
    if (numero != numeroCopies) return; // an image no longer shown
    CopiesDeLaCourante = copies;
    emit CopiesTrouvees();
}

void TSession::LibereCopies() {
    delete chercheurCopies;
    chercheurCopies = nullptr;
    // Answers still on their way hold destinations too.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    CopiesDeLaCourante.clear();
}
