#include "decodeurs.h"

// Not read yet: every file of this format is unreadable for now.
TImageDecodee DecodeJxl(const QByteArray&, const TDemandeDecodage&) {
    return TImageDecodee();
}
