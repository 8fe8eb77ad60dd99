// The Exif orientation reader, on a JPEG's first bytes.
#include "commun.h"
#include "core/source/orientation.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    const QByteArray debut =
        QByteArray::fromRawData(reinterpret_cast<const char*>(octets), static_cast<qsizetype>(taille));
    const int orientation = OrientationExif(debut);
    EXIGE(orientation >= 1 && orientation <= 8);
    // What the display does with it: turning a picture and its size agree.
    static const QImage petite = [] {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    }();
    EXIGE(Oriente(petite, orientation).size() == TailleOrientee(petite.size(), orientation));
    EXIGE(TailleOrientee(TailleOrientee(petite.size(), orientation), OrientationInverse(orientation)) ==
          petite.size());
    return 0;
}
