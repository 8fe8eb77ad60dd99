#include "decodeurs.h"

// Not read yet: every file of this format is unreadable for now.
TImageDecodee DecodeHeif(const QByteArray&, const TDemandeDecodage&) {
    return TImageDecodee();
}
