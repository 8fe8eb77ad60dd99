#include "decodeurs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include <libheif/heif.h>

// HEIF, HEIC and AVIF through libheif. The file's own transforms (rotation, mirror, crop) are part
// of the picture, for the display and the signature alike: libheif applies them, and the size it
// gives is the transformed one.

namespace {

using Decodage::Arrete;

struct LibereContexte {
    void operator()(heif_context* contexte) const { heif_context_free(contexte); }
};
struct LibereHandle {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct LibereImage {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct LibereOptions {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using Contexte = std::unique_ptr<heif_context, LibereContexte>;
using Handle = std::unique_ptr<heif_image_handle, LibereHandle>;
using ImageHeif = std::unique_ptr<heif_image, LibereImage>;

// No side longer than a picture 4096 pixels high under the decoded-size cap could have: the
// library checks each side alone, before it allocates a grid's canvas from the grid's own sizes.
constexpr qint64 CoteMaximal = std::min<qint64>(32768, TailleDecodeeMaximale / 4 / 4096);

// The library reads through our handle, lazily: a signature reads only the thumbnail's bytes. The
// library aborts the process when a read of a picture's data fails, so a read never fails: a read
// error, a file cut since it was measured or a stop request gives zeros and marks the source, and
// whatever is decoded from it then is thrown away.
struct SourceHeif {
    std::FILE* fichier;
    int64_t taille;
    const std::atomic<bool>* arret;
    bool defaillante = false;

    bool Interrompue() const { return defaillante || Arrete(arret); }
};

int64_t PositionHeif(void* source) {
    return ::ftello(static_cast<SourceHeif*>(source)->fichier);
}

int LitHeif(void* donnees, size_t taille, void* source) {
    auto* s = static_cast<SourceHeif*>(source);
    if (!s->Interrompue() && std::fread(donnees, 1, taille, s->fichier) == taille) return 0;
    s->defaillante = true;
    std::memset(donnees, 0, taille);
    return 0;
}

int PlaceHeif(int64_t position, void* source) {
    return ::fseeko(static_cast<SourceHeif*>(source)->fichier, position, SEEK_SET) == 0 ? 0 : 1;
}

heif_reader_grow_status AttendTailleHeif(int64_t taille, void* source) {
    return taille <= static_cast<SourceHeif*>(source)->taille ? heif_reader_grow_status_size_reached
                                                              : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader LecteurHeif = {1, PositionHeif, LitHeif, PlaceHeif, AttendTailleHeif};

// The handle's picture in 8 bits a channel, RGB32, or ARGB32 when transparence and the picture
// has an alpha channel; null when it cannot be decoded or is larger than the cap. The library
// offers no way to stop a decode part-way (its progress hooks are never called for a grid's
// tiles): a stop is seen by the reads of the picture's data, which then read nothing.
QImage DecodeHandle(heif_image_handle* handle, bool transparence, const SourceHeif& source) {
    const int largeur = heif_image_handle_get_width(handle);
    const int hauteur = heif_image_handle_get_height(handle);
    if (!Decodage::TailleAcceptable(largeur, hauteur)) return QImage();
    const bool alpha = transparence && heif_image_handle_has_alpha_channel(handle);
    std::unique_ptr<heif_decoding_options, LibereOptions> options(heif_decoding_options_alloc());
    if (!options) return QImage();
    options->convert_hdr_to_8bit = 1;
    heif_image* brute = nullptr;
    if (heif_decode_image(handle, &brute, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code != heif_error_Ok)
        return QImage();
    const ImageHeif image(brute);
    int pas = 0;
    const uint8_t* pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &pas);
    const int l = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || !Decodage::TailleAcceptable(l, h) || source.Interrompue()) return QImage();
    // The library's rows seen as a picture of Qt's, then converted into one of our own.
    const QImage vue(pixels, l, h, pas, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return vue.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// The smallest thumbnail with at least minimum pixels a side and fewer than the picture's, if any.
Handle Vignette(heif_image_handle* principale, int minimum) {
    const int nombre = heif_image_handle_get_number_of_thumbnails(principale);
    if (nombre <= 0) return nullptr;
    std::vector<heif_item_id> ids(static_cast<size_t>(nombre));
    heif_image_handle_get_list_of_thumbnail_IDs(principale, ids.data(), nombre);
    const qint64 aire =
        qint64{heif_image_handle_get_width(principale)} * heif_image_handle_get_height(principale);
    Handle choisie;
    qint64 aireChoisie = aire;
    for (const heif_item_id id : ids) {
        heif_image_handle* brute = nullptr;
        if (heif_image_handle_get_thumbnail(principale, id, &brute).code != heif_error_Ok) continue;
        Handle vignette(brute);
        const int l = heif_image_handle_get_width(brute), h = heif_image_handle_get_height(brute);
        const qint64 aireVignette = qint64{l} * h;
        if (l >= minimum && h >= minimum && aireVignette < aireChoisie) {
            choisie = std::move(vignette);
            aireChoisie = aireVignette;
        }
    }
    return choisie;
}

TImageDecodee Lisible(QImage image, QSize naturelle) {
    TImageDecodee resultat;
    if (image.isNull()) return resultat;
    resultat.Image = std::move(image);
    resultat.Naturelle = naturelle;
    resultat.Lisible = true;
    return resultat;
}

TImageDecodee LitHeifOuvert(std::FILE* fichier, const TDemandeDecodage& demande) {
    struct stat etat {};
    if (::fstat(::fileno(fichier), &etat) != 0) return TImageDecodee();
    SourceHeif source{fichier, static_cast<int64_t>(etat.st_size), demande.Arret};
    Contexte contexte(heif_context_alloc());
    if (!contexte) return TImageDecodee();
    heif_context_set_maximum_image_size_limit(contexte.get(), static_cast<int>(CoteMaximal));
    // The display decodes a grid's tiles on every core; a signature leaves the cores to the
    // other files the search signs at the same time.
    heif_context_set_max_decoding_threads(
        contexte.get(),
        demande.Signature ? 0 : static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    if (heif_context_read_from_reader(contexte.get(), &LecteurHeif, &source, nullptr).code != heif_error_Ok)
        return TImageDecodee();
    heif_image_handle* brute = nullptr;
    if (source.Interrompue() ||
        heif_context_get_primary_image_handle(contexte.get(), &brute).code != heif_error_Ok)
        return TImageDecodee();
    const Handle principale(brute);
    const QSize naturelle(heif_image_handle_get_width(brute), heif_image_handle_get_height(brute));
    if (!Decodage::TailleAcceptable(naturelle.width(), naturelle.height())) return TImageDecodee();

    if (demande.Signature) {
        // A stored thumbnail that keeps 100 pixels a side costs a fraction of the whole picture.
        if (const Handle vignette = Vignette(brute, 100)) {
            TImageDecodee resultat = Lisible(DecodeHandle(vignette.get(), false, source), naturelle);
            if (resultat.Lisible || source.Interrompue()) return resultat;
        }
        QImage image = DecodeHandle(brute, false, source);
        const QSize taille = image.size();
        return Lisible(std::move(image), taille);
    }
    if (demande.Ebauche && *demande.Ebauche) {
        // The thumbnail first, shown while the whole picture decodes.
        if (const Handle vignette = Vignette(brute, 1)) {
            const TImageDecodee ebauche = Lisible(DecodeHandle(vignette.get(), true, source), naturelle);
            if (ebauche.Lisible) (*demande.Ebauche)(ebauche);
        }
    }
    // Once begun, the whole picture cannot be stopped: the caller may rather keep its thread.
    if (demande.Engage && *demande.Engage && !(*demande.Engage)()) {
        TImageDecodee abandon;
        abandon.Abandonne = true;
        return abandon;
    }
    // The picture's own size, should its header announce another.
    QImage image = DecodeHandle(brute, true, source);
    const QSize taille = image.size();
    return Lisible(std::move(image), taille);
}

} // namespace

TImageDecodee DecodeHeif(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Decodage::Fichier fichier = Decodage::Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    try {
        resultat = LitHeifOuvert(fichier.get(), demande);
    } catch (...) {
        // The library's own failures (memory): no picture.
        resultat = TImageDecodee();
    }
    Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
    return resultat;
}
