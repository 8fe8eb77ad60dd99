#include "decodeurs.h"

#include <jxl/decode.h>
#include <jxl/decode_cxx.h>
#include <jxl/resizable_parallel_runner.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

using Decodage::Arrete;
using Decodage::Fichier;
using Decodage::Ouvre;
using Decodage::QualifieEchec;
using Decodage::TailleAcceptable;

// The file is given to the decoder this much at a time, so that a large file is never read whole
// before the decoder has judged its header.
constexpr size_t MorceauJxl = 1 << 20;

// The decoder's parallel work goes through here: a decode asked to stop fails at its next piece
// of work, which the library reports as an error.
struct Executant {
    void* pool = nullptr; // the library's thread pool, or none: the calling thread alone
    const std::atomic<bool>* arret = nullptr;
};

JxlParallelRetCode Execute(void* opaque, void* travail, JxlParallelRunInit init,
                           JxlParallelRunFunction fonction, uint32_t debut, uint32_t fin) {
    const auto* executant = static_cast<const Executant*>(opaque);
    if (Arrete(executant->arret)) return -1;
    if (executant->pool)
        return JxlResizableParallelRunner(executant->pool, travail, init, fonction, debut, fin);
    if (const JxlParallelRetCode code = init(travail, 1); code != 0) return code;
    for (uint32_t i = debut; i < fin; ++i) {
        if (Arrete(executant->arret)) return -1;
        fonction(travail, i, 0);
    }
    return 0;
}

struct DetruitPool {
    void operator()(void* pool) const { JxlResizableParallelRunnerDestroy(pool); }
};

// Where the decoded rows go: every pixel into the picture, or for a signature the sums of each
// pas x pas block, one set of sums per decoding thread so that no two threads add to the same one.
struct Sortie {
    QImage image;
    // The picture's rows, taken once on this thread: the decoder's threads write through them, as
    // QImage's own row accessor may copy a shared picture and is not to be called from several.
    uchar* pixels = nullptr;
    qsizetype octetsParLigne = 0;
    size_t largeur = 0, hauteur = 0; // of the picture the decoder gives
    size_t pas = 1;
    bool alpha = false;
    std::vector<std::vector<uint32_t>> sommes; // per thread: red, green, blue, pixels of each block
};

void* PrepareSortie(void* opaque, size_t fils, size_t) {
    auto* sortie = static_cast<Sortie*>(opaque);
    if (sortie->pas == 1) return sortie;
    try {
        const size_t blocs =
            static_cast<size_t>(sortie->image.width()) * static_cast<size_t>(sortie->image.height());
        if (sortie->sommes.size() < fils) sortie->sommes.resize(fils);
        for (std::vector<uint32_t>& sommes : sortie->sommes)
            sommes.resize(4 * blocs);
    } catch (...) {
        return nullptr;
    }
    return sortie;
}

// Per-pixel loops: tracing their every comparison for a fuzzer's coverage only slows each input.
#if defined(__clang__)
#define SANS_TRACE_DE_COUVERTURE __attribute__((no_sanitize("coverage")))
#else
#define SANS_TRACE_DE_COUVERTURE
#endif

// Called by the decoder's threads, each with pixels of its own: RGBA bytes to RGB32 or ARGB32, or
// added to the sums of their blocks.
SANS_TRACE_DE_COUVERTURE void RecoitPixels(void* opaque, size_t fil, size_t x, size_t y, size_t nombre,
                                           const void* donnees) {
    auto* sortie = static_cast<Sortie*>(opaque);
    const auto* p = static_cast<const uint8_t*>(donnees);
    if (sortie->pas == 1) {
        auto* ligne =
            reinterpret_cast<QRgb*>(sortie->pixels + static_cast<qsizetype>(y) * sortie->octetsParLigne) + x;
        if (sortie->alpha)
            for (size_t i = 0; i < nombre; ++i, p += 4)
                ligne[i] = qRgba(p[0], p[1], p[2], p[3]);
        else
            for (size_t i = 0; i < nombre; ++i, p += 4)
                ligne[i] = qRgb(p[0], p[1], p[2]);
        return;
    }
    // Each run of pixels of one block summed apart, then added to the block.
    const size_t pas = sortie->pas;
    uint32_t* ligne = sortie->sommes[fil].data() + 4 * (y / pas) * static_cast<size_t>(sortie->image.width());
    for (size_t i = 0; i < nombre;) {
        const size_t bloc = (x + i) / pas, fin = std::min(nombre, (bloc + 1) * pas - x);
        uint32_t r = 0, v = 0, b = 0;
        const uint32_t n = static_cast<uint32_t>(fin - i);
        for (; i < fin; ++i, p += 4) {
            r += p[0];
            v += p[1];
            b += p[2];
        }
        uint32_t* somme = ligne + 4 * bloc;
        somme[0] += r;
        somme[1] += v;
        somme[2] += b;
        somme[3] += n;
    }
}

void TermineSortie(void*) {}

// The signature's picture: the average of each block.
SANS_TRACE_DE_COUVERTURE void MoyennesDesBlocs(Sortie& sortie) {
    const int largeur = sortie.image.width();
    for (int y = 0; y < sortie.image.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(sortie.image.scanLine(y));
        for (int x = 0; x < largeur; ++x) {
            uint32_t somme[4] = {};
            for (const std::vector<uint32_t>& sommes : sortie.sommes)
                for (size_t k = 0; k < 4; ++k)
                    somme[k] += sommes[4 * (static_cast<size_t>(y) * static_cast<size_t>(largeur) +
                                            static_cast<size_t>(x)) +
                                       k];
            if (somme[3] > 0)
                ligne[x] = qRgb(static_cast<int>((somme[0] + somme[3] / 2) / somme[3]),
                                static_cast<int>((somme[1] + somme[3] / 2) / somme[3]),
                                static_cast<int>((somme[2] + somme[3] / 2) / somme[3]));
        }
    }
}

// One pixel out of how many, in each direction, a signature needs: the 8 x 8 blocks' averages
// (which the decoder gives before the rest of a lossy picture) while 100 of them remain on each
// side, else fewer, else every pixel.
size_t PasDeSignature(size_t largeur, size_t hauteur) {
    const int n = EchelleJpegSignature(QSize(static_cast<int>(largeur), static_cast<int>(hauteur)));
    return static_cast<size_t>(8 / n);
}

// Gives the decoder the next piece of the file after what it has not used yet; false at the end.
bool Alimente(JxlDecoder* decodeur, std::FILE* fichier, std::vector<uint8_t>& tampon, bool& fin) {
    if (fin) return false;
    const size_t restant = JxlDecoderReleaseInput(decodeur);
    tampon.erase(tampon.begin(),
                 tampon.end() - static_cast<std::ptrdiff_t>(std::min(restant, tampon.size())));
    const size_t garde = tampon.size();
    tampon.resize(garde + MorceauJxl);
    const size_t lus = std::fread(tampon.data() + garde, 1, MorceauJxl, fichier);
    tampon.resize(garde + lus);
    fin = lus < MorceauJxl;
    if (JxlDecoderSetInput(decodeur, tampon.data(), tampon.size()) != JXL_DEC_SUCCESS) return false;
    if (fin) JxlDecoderCloseInput(decodeur);
    return true;
}

// The orientation the file stores, read by a decoder of its own from the file's start: a decoder
// that turns the picture reports it as upright. 1 when it cannot be read.
int OrientationStockee(std::FILE* fichier) {
    const long position = std::ftell(fichier);
    int orientation = 1;
    JxlDecoderPtr decodeur = JxlDecoderMake(nullptr);
    if (position < 0 || !decodeur || std::fseek(fichier, 0, SEEK_SET) != 0) return orientation;
    JxlDecoder* d = decodeur.get();
    if (JxlDecoderSetKeepOrientation(d, JXL_TRUE) == JXL_DEC_SUCCESS &&
        JxlDecoderSubscribeEvents(d, JXL_DEC_BASIC_INFO) == JXL_DEC_SUCCESS) {
        std::vector<uint8_t> tampon;
        bool fin = false;
        for (;;) {
            const JxlDecoderStatus etat = JxlDecoderProcessInput(d);
            if (etat == JXL_DEC_NEED_MORE_INPUT && Alimente(d, fichier, tampon, fin)) continue;
            JxlBasicInfo info{};
            if (etat == JXL_DEC_BASIC_INFO && JxlDecoderGetBasicInfo(d, &info) == JXL_DEC_SUCCESS)
                orientation = static_cast<int>(info.orientation);
            break;
        }
    }
    // Going back also forgets the end of the file the reading above may have met.
    return std::fseek(fichier, position, SEEK_SET) == 0 ? orientation : -1;
}

TImageDecodee LitJxl(std::FILE* fichier, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    JxlDecoderPtr decodeur = JxlDecoderMake(nullptr);
    JxlDecoder* d = decodeur.get();
    if (!d) return resultat;
    Executant executant{nullptr, demande.Arret};
    std::unique_ptr<void, DetruitPool> pool;
    int evenements = JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE;
    if (demande.Signature) {
        // The picture as stored, and its 8 x 8 averages as soon as the decoder has them.
        evenements |= JXL_DEC_FRAME_PROGRESSION;
        if (JxlDecoderSetKeepOrientation(d, JXL_TRUE) != JXL_DEC_SUCCESS ||
            JxlDecoderSetProgressiveDetail(d, kDC) != JXL_DEC_SUCCESS)
            return resultat;
    }
    if (JxlDecoderSubscribeEvents(d, evenements) != JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(d, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetParallelRunner(d, Execute, &executant) != JXL_DEC_SUCCESS)
        return resultat;

    std::vector<uint8_t> tampon;
    bool fin = false;
    JxlBasicInfo info{};
    int orientation = 1; // as stored; the decoder turns the picture for the display
    Sortie sortie;
    for (;;) {
        if (Arrete(demande.Arret)) return resultat;
        switch (JxlDecoderProcessInput(d)) {
        case JXL_DEC_NEED_MORE_INPUT:
            // A file cut short is no picture.
            if (!Alimente(d, fichier, tampon, fin)) return resultat;
            break;
        case JXL_DEC_BASIC_INFO: {
            if (JxlDecoderGetBasicInfo(d, &info) != JXL_DEC_SUCCESS ||
                !TailleAcceptable(info.xsize, info.ysize))
                return resultat;
            if (!demande.Signature) {
                orientation = OrientationStockee(fichier);
                if (orientation < 0) return resultat;
            }
            const size_t fils =
                std::min<size_t>(JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize),
                                 std::max(1u, std::thread::hardware_concurrency()));
            if (fils > 1) {
                pool.reset(JxlResizableParallelRunnerCreate(nullptr));
                if (!pool) return resultat;
                JxlResizableParallelRunnerSetThreads(pool.get(), fils);
                executant.pool = pool.get();
            }
            break;
        }
        case JXL_DEC_COLOR_ENCODING: {
            // sRGB where the decoder can give it; a picture described by its own profile keeps it.
            JxlColorEncoding srgb{};
            srgb.color_space = info.num_color_channels == 1 ? JXL_COLOR_SPACE_GRAY : JXL_COLOR_SPACE_RGB;
            srgb.white_point = JXL_WHITE_POINT_D65;
            srgb.primaries = JXL_PRIMARIES_SRGB;
            srgb.transfer_function = JXL_TRANSFER_FUNCTION_SRGB;
            srgb.rendering_intent = JXL_RENDERING_INTENT_PERCEPTUAL;
            JxlDecoderSetPreferredColorProfile(d, &srgb);
            break;
        }
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            if (!sortie.image.isNull()) return resultat; // one frame only
            sortie.largeur = info.xsize;
            sortie.hauteur = info.ysize;
            sortie.pas = demande.Signature ? PasDeSignature(info.xsize, info.ysize) : 1;
            sortie.alpha = !demande.Signature && info.alpha_bits > 0;
            sortie.image = QImage(static_cast<int>((info.xsize + sortie.pas - 1) / sortie.pas),
                                  static_cast<int>((info.ysize + sortie.pas - 1) / sortie.pas),
                                  sortie.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            if (sortie.image.isNull()) return resultat;
            sortie.image.fill(qRgb(128, 128, 128));
            sortie.pixels = sortie.image.bits();
            sortie.octetsParLigne = sortie.image.bytesPerLine();
            const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
            if (JxlDecoderSetMultithreadedImageOutCallback(d, &format, PrepareSortie, RecoitPixels,
                                                           TermineSortie, &sortie) != JXL_DEC_SUCCESS)
                return resultat;
            break;
        }
        case JXL_DEC_FRAME_PROGRESSION:
            // The 8 x 8 averages are all a signature at that scale takes: the rest is not decoded.
            if (sortie.pas == 8) {
                if (JxlDecoderFlushImage(d) == JXL_DEC_SUCCESS) {
                    resultat.Lisible = true;
                    break;
                }
                // Nothing flushed: the whole picture will be added up instead.
                for (std::vector<uint32_t>& sommes : sortie.sommes)
                    std::fill(sommes.begin(), sommes.end(), 0u);
            }
            continue;
        case JXL_DEC_FULL_IMAGE:
            resultat.Lisible = true;
            break;
        default: // an error, or the end of a file that held no picture
            return resultat;
        }
        if (resultat.Lisible) break;
    }
    if (sortie.pas > 1) MoyennesDesBlocs(sortie);
    resultat.Image = std::move(sortie.image);
    resultat.Naturelle = QSize(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
    // For the display the decoder turned the picture as the file says, and gave its turned size.
    if (orientation > 1 && orientation <= 8) resultat.Orientation = orientation;
    return resultat;
}

} // namespace

TImageDecodee DecodeJxl(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Fichier fichier = Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    resultat = LitJxl(fichier.get(), demande);
    QualifieEchec(resultat, demande.Arret, fichier.get());
    return resultat;
}
