// Before filing: where near copies of the current image already are among the open destinations.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"
#include "ui/source/pleinecran.h"

#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>

namespace {

// What the lookup depends on besides the picture: which destinations are searched, how many
// signatures each holds, and the sensitivity.
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

void TMainForm::ChercheCopiesDeLaCourante(bool meme) {
    TImageDecodee image;
    QByteArray chemin;
    const bool montree = Affichage->ImageCourante(image, chemin);
    const qint64 cle = montree ? image.Image.cacheKey() : 0;
    if (!meme && cle == imageCherchee && chemin == fichierCherche) return;
    imageCherchee = cle;
    fichierCherche = chemin;
    const uint64_t numero = ++numeroCopies;
    if (!montree || !Configuration) {
        CopiesTrouvees(numero, {});
        return;
    }
    if (!chercheurCopies) {
        chercheurCopies = new TChercheurCopies(this);
        connect(chercheurCopies, &TChercheurCopies::Trouvees, this, &TMainForm::CopiesTrouvees,
                Qt::QueuedConnection);
    }
    // The trash and the folder shown as the source (inactive) never count, whatever their mode.
    std::vector<std::shared_ptr<TDestination>> destinations;
    for (int i = 1; i < Configuration->Destinations.Count(); ++i)
        if (Configuration->Destinations.Element(i)->Active)
            destinations.push_back(Configuration->Destinations.Partage(i));
    etatDesCopies = EtatDesDestinations(Configuration->Destinations, Configuration->Sensibilite);
    chercheurCopies->Demande(numero, std::move(image), QFile::decodeName(chemin), std::move(destinations),
                             Configuration->Sensibilite);
}

void TMainForm::VerifieCopiesDeLaCourante() {
    if (!Configuration || imageCherchee == 0) return;
    if (EtatDesDestinations(Configuration->Destinations, Configuration->Sensibilite) != etatDesCopies)
        ChercheCopiesDeLaCourante(true);
}

void TMainForm::CopiesTrouvees(quint64 numero, const std::vector<TCopieConnue>& copies) {
    if (numero != numeroCopies) return; // an image no longer shown
    CopiesDeLaCourante = copies;
    GroupBoxCourant->setTitle(TitreImageCourante(copies));
    QHash<const TDestination*, QString> marques;
    for (const TCopieConnue& copie : copies)
        marques.insert(copie.Destination.get(), copie.Fichier);
    // Most photos are nowhere yet: the tiles are drawn again only when their marks change.
    if (marques != Panneau->Copies) {
        Panneau->Copies = std::move(marques);
        RafraichisListeDestinations();
    }
    emit CopiesMontrees();
}

bool TMainForm::MontreCopieLaPlusProche() {
    if (CopiesDeLaCourante.empty()) return false;
    const QScreen* ecran = QGuiApplication::primaryScreen();
    const TImageDecodee image = DecodeImage(QFile::encodeName(CopiesDeLaCourante.front().Fichier),
                                            ecran ? ecran->geometry().size() : QSize());
    if (!image.Lisible) return false;
    FormPleinEcran->MontreImage(image.Image, image.Naturelle);
    return true;
}
