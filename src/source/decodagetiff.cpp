#include "decodeurs.h"

// Not read yet: every file of this format is unreadable for now.
TImageDecodee DecodeTiff(const QByteArray&, const TDemandeDecodage&) {
    return TImageDecodee();
}
