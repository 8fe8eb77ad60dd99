#include "decodeurs.h"

#include "orientation.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

// PNG files are read by Qt's own reader, which decodes them through libpng: every colour type
// and bit depth, palettes and their transparency, the default picture of an animated file
// (its first frame). libpng bounds what it inflates (compressed text and colour profiles stay
// small; the picture's data ends with the rows the header announces), but allocates some chunks
// whole from the length they announce before reading them: the header's size is checked here
// against our cap first, and every chunk's length against what the file has left.

namespace {

using Decodage::Arrete;

quint32 Grand32(const uchar* o) {
    return quint32(o[0]) << 24 | quint32(o[1]) << 16 | quint32(o[2]) << 8 | quint32(o[3]);
}

// The size the header chunk gives; empty when the file does not open as a PNG.
QSize TailleEntete(std::FILE* fichier) {
    uchar debut[24];
    if (std::fread(debut, 1, sizeof debut, fichier) != sizeof debut) return QSize();
    if (std::memcmp(debut, "\x89PNG\r\n\x1a\n", 8) != 0 || std::memcmp(debut + 12, "IHDR", 4) != 0)
        return QSize();
    const quint32 largeur = Grand32(debut + 16), hauteur = Grand32(debut + 20);
    if (!Decodage::TailleAcceptable(largeur, hauteur)) return QSize();
    return QSize(static_cast<int>(largeur), static_cast<int>(hauteur));
}

// At most this many chunks are looked at.
constexpr int ChunksExaminesMaximum = 100000;

// Follows the chunk headers from one to the next by their lengths, up to the end chunk, the end
// of the file or a stop request. False when a chunk announces more data than the file has left;
// orientation, when asked: that of the file's first eXIf chunk, 1 without one.
bool ExamineChunks(std::FILE* fichier, const std::atomic<bool>* arret, int* orientation) {
    if (orientation) *orientation = 1;
    struct stat etat {};
    if (::fstat(::fileno(fichier), &etat) != 0) return true;
    const qint64 taille = etat.st_size;
    qint64 position = 8;
    bool exifLu = false;
    for (int n = 0; n < ChunksExaminesMaximum && !Arrete(arret); ++n) {
        uchar entete[8];
        if (::fseeko(fichier, static_cast<off_t>(position), SEEK_SET) != 0 ||
            std::fread(entete, 1, 8, fichier) != 8)
            return true;
        const quint32 longueur = Grand32(entete);
        if (qint64{longueur} > taille - position - 8) return false;
        if (std::memcmp(entete + 4, "IEND", 4) == 0) return true;
        if (orientation && std::memcmp(entete + 4, "eXIf", 4) == 0 && !exifLu) {
            exifLu = true;
            // An Exif block larger than this holds thumbnails: the orientation is in its first
            // directory, near the start.
            QByteArray bloc(static_cast<qsizetype>(std::min<quint32>(longueur, 64 * 1024)),
                            Qt::Uninitialized);
            if (std::fread(bloc.data(), 1, static_cast<size_t>(bloc.size()), fichier) ==
                static_cast<size_t>(bloc.size()))
                *orientation =
                    OrientationBlocExif(reinterpret_cast<const uchar*>(bloc.constData()), bloc.size());
        }
        position += 12 + qint64{longueur};
    }
    return true;
}

// The picture in RGB32, or in ARGB32 when it has transparency and keeps it; transparency left
// out keeps each pixel's own colour.
QImage En32Bits(QImage image, bool transparence) {
    if (image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        if (!transparence && !image.isNull()) {
            Decodage::RendOpaque(image);
            image.reinterpretAsFormat(QImage::Format_RGB32);
        }
        return image;
    }
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TImageDecodee DecodePng(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Decodage::Fichier fichier = Decodage::Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    const QSize naturelle = TailleEntete(fichier.get());
    if (naturelle.isEmpty()) {
        Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
        return resultat;
    }
    // A signature is of the picture as stored: its orientation is not read.
    int orientation = 1;
    const bool chunksSains =
        ExamineChunks(fichier.get(), demande.Arret, demande.Signature ? nullptr : &orientation);
    Decodage::FichierInterruptible appareil(demande.Arret);
    if (chunksSains && std::fseek(fichier.get(), 0, SEEK_SET) == 0 &&
        appareil.open(fichier.get(), QIODevice::ReadOnly)) {
        QImageReader lecteur(&appareil, "png");
        lecteur.setAutoTransform(false);
        QImage image;
        if (lecteur.read(&image) && image.size() == naturelle) {
            resultat.Image = En32Bits(std::move(image), !demande.Signature);
            resultat.Naturelle = naturelle;
            resultat.Lisible = !resultat.Image.isNull();
        }
    }
    Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
    if (!demande.Signature) Decodage::AppliqueOrientation(resultat, orientation);
    return resultat;
}
