// The decoding entry points of the display and of the signature, on a file of the scratch folder.
// The reader is chosen by the file's content first, then by its name: the input is named so that
// every reader is reached, the camera RAW reader and the fall-back on the name included.
#include "commun.h"
#include "core/duplicates/dejaclasse.h"
#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "core/source/formats.h"

#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>

namespace {

// The names an input is decoded under: the one of the format its first bytes announce; a TIFF
// structure both as a TIFF and as a camera RAW file, which only the name tells apart; bytes that
// announce no format under the name of one reader, chosen by their last byte, as a file whose
// name alone says what it is.
QStringList NomsSelonLeContenu(const uint8_t* octets, size_t taille) {
    const QByteArrayView debut(octets,
                               static_cast<qsizetype>(std::min<size_t>(taille, OctetsDeSignatureFormat)));
    switch (DecodeurDuContenu(debut)) {
    case Decodeur::Jpeg:
        return {QStringLiteral("image.jpg")};
    case Decodeur::Gif:
        return {QStringLiteral("image.gif")};
    case Decodeur::Bmp:
        return {QStringLiteral("image.bmp")};
    case Decodeur::Png:
        return {QStringLiteral("image.png")};
    case Decodeur::Webp:
        return {QStringLiteral("image.webp")};
    case Decodeur::Tiff:
        return {QStringLiteral("image.tif"), QStringLiteral("image.dng")};
    case Decodeur::Heif:
        return {QStringLiteral("image.heic")};
    case Decodeur::Jxl:
        return {QStringLiteral("image.jxl")};
    case Decodeur::Raw:
        return {QStringLiteral("image.orf")};
    case Decodeur::Aucun:
        break;
    }
    static const char* const ParLeNom[] = {"image.jpg",  "image.gif", "image.bmp",  "image.png",
                                           "image.webp", "image.tif", "image.heic", "image.avif",
                                           "image.jxl",  "image.nef", "image.cr2",  "image.raf"};
    return {QString::fromLatin1(ParLeNom[taille > 0 ? octets[taille - 1] % std::size(ParLeNom) : 0])};
}

// What every decode promises: a readable result has a picture and a natural size, an unreadable
// one neither.
void VerifieDecodage(const TImageDecodee& image) {
    EXIGE(!image.Abandonne);
    EXIGE(image.Lisible == !image.Image.isNull());
    EXIGE(image.Lisible == !image.Naturelle.isEmpty());
    if (image.Lisible) EXIGE(image.Image.sizeInBytes() <= TailleDecodeeMaximale);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    for (const QString& nom : NomsSelonLeContenu(octets, taille)) {
        const QByteArray chemin = EcritEntree(nom, octets, taille);
        const std::atomic<bool> jamais{false};

        // The display: at the size of a common screen, the first scans of a progressive file handed
        // over first.
        const TImageDecodee vue =
            DecodeImage(chemin, QSize(1920, 1080), &jamais, [](const TImageDecodee& ebauche) {
                EXIGE(ebauche.Lisible && !ebauche.Image.isNull() && !ebauche.Naturelle.isEmpty());
            });
        VerifieDecodage(vue);
        // The near copies of the picture shown are looked for from its decoded pixels.
        if (vue.Lisible) SignatureDAffichage(vue, QString::fromUtf8(chemin));

        // The signature, from its own decode.
        Tminiature miniature;
        const ResultatCalcul calcul = miniature.CalculeOctets(chemin, &jamais);
        EXIGE(calcul != ResultatCalcul::Abandonnee);
        if (calcul == ResultatCalcul::Calculee)
            EXIGE(miniature.Proportion > 0 && std::isfinite(miniature.Proportion));
        VideDossierDeTravail();
    }
    return 0;
}
