// Before filing: where near copies of the current image already are among the open destinations,
// as the session finds them, shown in the current image's caption and on the tiles.

#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"
#include "ui/source/pixels.h"
#include "ui/source/pleinecran.h"

#include <QFile>
#include <QGroupBox>

void TMainForm::ChercheCopiesDeLaCourante(bool meme) {
    // Nothing shown leaves the picture unreadable: no copy then.
    TImageDecodee image;
    QByteArray chemin;
    Affichage->ImageCourante(image, chemin);
    session.ChercheCopiesDeLaCourante(std::move(image), std::move(chemin), meme);
}

void TMainForm::VerifieCopiesDeLaCourante() {
    session.VerifieCopiesDeLaCourante();
}

void TMainForm::CopiesTrouvees() {
    const std::vector<TCopieConnue>& copies = session.CopiesDeLaCourante;
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
    const std::vector<TCopieConnue>& copies = session.CopiesDeLaCourante;
    if (copies.empty()) return false;
    const TImageDecodee image =
        DecodeImage(QFile::encodeName(copies.front().Fichier), EcranEnPixels(FormPleinEcran));
    if (!image.Lisible) return false;
    FormPleinEcran->MontreImage(image.Image, image.Naturelle);
    return true;
}
