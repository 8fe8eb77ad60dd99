#include "decodeurs.h"

#include "orientation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include <sys/stat.h>
#include <webp/decode.h>
#include <webp/demux.h>

namespace {

using Decodage::Arrete;
using Decodage::TailleAcceptable;

// Bytes read from the file, then given to the decoder, between two looks at a stop request: small
// enough to stop within a few milliseconds, large enough that the incremental decoder's pauses cost
// nothing measurable.
constexpr qsizetype Tranche = 256 * 1024;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr WEBP_CSP_MODE ModeArgb32 = MODE_BGRA;
#else
constexpr WEBP_CSP_MODE ModeArgb32 = MODE_ARGB;
#endif

struct LibereDemux {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct LibereDecodeur {
    void operator()(WebPIDecoder* decodeur) const { WebPIDelete(decodeur); }
};

// The whole file, read a slice at a time; false when it cannot be read, is asked to stop, or is
// larger than any picture under the cap could need.
bool LitFichier(std::FILE* fichier, QByteArray& octets, const std::atomic<bool>* arret) {
    struct stat etat {};
    if (::fstat(::fileno(fichier), &etat) != 0 || etat.st_size <= 0 || etat.st_size > TailleDecodeeMaximale)
        return false;
    octets.resize(static_cast<qsizetype>(etat.st_size));
    qsizetype lus = 0;
    while (lus < octets.size()) {
        if (Arrete(arret)) return false;
        const size_t n = std::fread(octets.data() + lus, 1,
                                    static_cast<size_t>(std::min(Tranche, octets.size() - lus)), fichier);
        if (n == 0) break;
        lus += static_cast<qsizetype>(n);
    }
    // A read error is not the end of the file: what was read is not the picture.
    if (std::ferror(fichier)) return false;
    octets.truncate(lus);
    return lus > 0;
}

// The size a decode for the signature takes: the smallest that keeps 100 pixels a side.
QSize TailleSignature(QSize naturelle) {
    const int cote = std::min(naturelle.width(), naturelle.height());
    if (cote <= 100) return naturelle;
    const double rapport = 100.0 / cote;
    return QSize(std::max(100, static_cast<int>(std::ceil(naturelle.width() * rapport))),
                 std::max(100, static_cast<int>(std::ceil(naturelle.height() * rapport))));
}

// Decodes one frame's bitstream (a VP8 or VP8L chunk, its alpha chunk before it) at the size of
// the picture given, into it, fed a slice at a time so that a stop request is seen between
// slices. Data that ends early leaves the rows it reached and mid grey below; no row at all is
// a failure.
bool DecodeCadre(const WebPData& cadre, QImage& image, QSize taille, bool rapide,
                 const std::atomic<bool>* arret) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return false;
    WebPBitstreamFeatures proprietes;
    if (WebPGetFeatures(cadre.bytes, cadre.size, &proprietes) != VP8_STATUS_OK) return false;
    if (proprietes.width != taille.width() || proprietes.height != taille.height()) {
        config.options.use_scaling = 1;
        config.options.scaled_width = taille.width();
        config.options.scaled_height = taille.height();
    }
    if (rapide) {
        config.options.bypass_filtering = 1;
        config.options.no_fancy_upsampling = 1;
    }
    config.output.colorspace = ModeArgb32;
    config.output.is_external_memory = 1;
    config.output.width = taille.width();
    config.output.height = taille.height();
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = static_cast<int>(image.bytesPerLine());
    config.output.u.RGBA.size =
        static_cast<size_t>(image.bytesPerLine()) * static_cast<size_t>(taille.height());
    std::unique_ptr<WebPIDecoder, LibereDecodeur> decodeur(WebPIDecode(nullptr, 0, &config));
    if (!decodeur) return false;
    VP8StatusCode etat = VP8_STATUS_SUSPENDED;
    for (size_t donnes = 0; donnes < cadre.size && etat == VP8_STATUS_SUSPENDED;) {
        if (Arrete(arret)) return false;
        donnes = std::min(cadre.size, donnes + static_cast<size_t>(Tranche));
        etat = WebPIUpdate(decodeur.get(), cadre.bytes, donnes);
    }
    if (etat == VP8_STATUS_OK) return true;
    if (etat != VP8_STATUS_SUSPENDED) return false;
    int derniere = 0;
    if (!WebPIDecGetRGB(decodeur.get(), &derniere, nullptr, nullptr, nullptr) || derniere <= 0) return false;
    for (int y = derniere; y < taille.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(ligne, ligne + taille.width(), qRgb(128, 128, 128));
    }
    return true;
}

TImageDecodee DecodeOctets(const QByteArray& octets, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    const WebPData donnees{reinterpret_cast<const uint8_t*>(octets.constData()),
                           static_cast<size_t>(octets.size())};
    // Partial: a file cut short, or whose sizes say more than it holds, shows what it has.
    WebPDemuxState etatDemux = WEBP_DEMUX_PARSE_ERROR;
    std::unique_ptr<WebPDemuxer, LibereDemux> demux(WebPDemuxPartial(&donnees, &etatDemux));
    if (!demux || etatDemux < WEBP_DEMUX_PARSED_HEADER) return resultat;
    const QSize naturelle(static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH)),
                          static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT)));
    if (!TailleAcceptable(naturelle.width(), naturelle.height())) return resultat;

    int orientation = 1;
    WebPChunkIterator exif;
    if (!demande.Signature && WebPDemuxGetChunk(demux.get(), "EXIF", 1, &exif)) {
        orientation = OrientationBlocExif(exif.chunk.bytes, static_cast<qsizetype>(exif.chunk.size));
        WebPDemuxReleaseChunkIterator(&exif);
    }

    // The first frame: the whole picture of a still file.
    WebPIterator iterateur;
    if (!WebPDemuxGetFrame(demux.get(), 1, &iterateur)) return resultat;
    const WebPData cadre = iterateur.fragment;
    const QRect rectangle(iterateur.x_offset, iterateur.y_offset, iterateur.width, iterateur.height);
    const bool alphaDuFichier = iterateur.has_alpha != 0;
    const bool couvre = iterateur.x_offset == 0 && iterateur.y_offset == 0 &&
                        QSize(iterateur.width, iterateur.height) == naturelle;
    // What a first frame smaller than the canvas leaves uncovered is transparent.
    const bool alpha = (alphaDuFichier || !couvre) && !demande.Signature;
    WebPDemuxReleaseIterator(&iterateur);
    if (!QRect(QPoint(), naturelle).contains(rectangle) || rectangle.isEmpty()) return resultat;

    const QSize taille = demande.Signature
                             ? TailleSignature(naturelle)
                             : Decodage::TailleVue(naturelle, TailleOrientee(demande.Ecran, orientation));
    const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage image;
    if (couvre) {
        image = QImage(taille, format);
        if (image.isNull() || !DecodeCadre(cadre, image, taille, demande.Signature, demande.Arret))
            return resultat;
    } else {
        // A first frame smaller than the animation's canvas: decoded whole in its place on a
        // clear canvas, then reduced.
        image = QImage(naturelle, format);
        if (image.isNull()) return resultat;
        image.fill(alpha ? Qt::transparent : Qt::black);
        QImage place(image.scanLine(rectangle.y()) + qsizetype{rectangle.x()} * 4, rectangle.width(),
                     rectangle.height(), image.bytesPerLine(), format);
        if (!DecodeCadre(cadre, place, rectangle.size(), demande.Signature, demande.Arret)) return resultat;
        if (taille != naturelle)
            image = image.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (alphaDuFichier && !alpha) Decodage::RendOpaque(image);
    resultat.Image = std::move(image);
    resultat.Naturelle = naturelle;
    resultat.Lisible = true;
    if (!demande.Signature) Decodage::AppliqueOrientation(resultat, orientation);
    return resultat;
}

} // namespace

TImageDecodee DecodeWebp(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Decodage::Fichier fichier = Decodage::Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    QByteArray octets;
    if (LitFichier(fichier.get(), octets, demande.Arret)) resultat = DecodeOctets(octets, demande);
    Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
    return resultat;
}
