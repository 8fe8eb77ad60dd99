// The decoding entry points of the display and of the signature, on a file of the scratch folder:
// the decoder is the one its extension names, chosen here from the first bytes as a user's
// file would be named.
#include "commun.h"
#include "duplicates/dejaclasse.h"
#include "duplicates/miniature.h"
#include "source/decodage.h"

#include <atomic>
#include <cmath>

namespace {

QString NomSelonLeContenu(const uint8_t* octets, size_t taille) {
    if (taille >= 3 && octets[0] == 'G' && octets[1] == 'I' && octets[2] == 'F')
        return QStringLiteral("image.gif");
    if (taille >= 2 && octets[0] == 'B' && octets[1] == 'M') return QStringLiteral("image.bmp");
    return QStringLiteral("image.jpg");
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
    const QByteArray chemin = EcritEntree(NomSelonLeContenu(octets, taille), octets, taille);
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
    return 0;
}
