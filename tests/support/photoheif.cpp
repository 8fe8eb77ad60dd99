#include "photoheif.h"

#include <algorithm>
#include <memory>

#include <libheif/heif.h>

namespace {

struct Libere {
    void operator()(heif_context* c) const { heif_context_free(c); }
    void operator()(heif_encoder* e) const { heif_encoder_release(e); }
    void operator()(heif_image* i) const { heif_image_release(i); }
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
    void operator()(heif_encoding_options* o) const { heif_encoding_options_free(o); }
};

heif_error Ajoute(heif_context*, const void* donnees, size_t taille, void* octets) {
    static_cast<QByteArray*>(octets)->append(static_cast<const char*>(donnees),
                                             static_cast<qsizetype>(taille));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

// Encodes the picture into the context; null when the encoder fails.
heif_image_handle* Encode(heif_context* contexte, heif_encoder* encodeur, const QImage& source,
                          const TOptionsHeif& options) {
    const QImage image =
        source.convertToFormat(options.Alpha ? (options.Premultipliee ? QImage::Format_RGBA8888_Premultiplied
                                                                      : QImage::Format_RGBA8888)
                                             : QImage::Format_RGB888);
    const bool profond = options.Bits > 8;
    const heif_chroma chroma =
        profond ? (options.Alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                : (options.Alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    heif_image* brute = nullptr;
    if (heif_image_create(image.width(), image.height(), heif_colorspace_RGB, chroma, &brute).code !=
        heif_error_Ok)
        return nullptr;
    std::unique_ptr<heif_image, Libere> photo(brute);
    if (options.Alpha && options.Premultipliee) heif_image_set_premultiplied_alpha(brute, 1);
    if (heif_image_add_plane(brute, heif_channel_interleaved, image.width(), image.height(), options.Bits)
            .code != heif_error_Ok)
        return nullptr;
    int pas = 0;
    uint8_t* plan = heif_image_get_plane(brute, heif_channel_interleaved, &pas);
    const int valeursLigne = image.width() * (options.Alpha ? 4 : 3);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* ligne = image.constScanLine(y);
        uint8_t* sortie = plan + static_cast<qsizetype>(y) * pas;
        if (!profond) {
            std::copy_n(ligne, valeursLigne, sortie);
            continue;
        }
        // Each 8-bit value spread over the deeper range, little-endian.
        for (int i = 0; i < valeursLigne; ++i) {
            const int valeur = ligne[i] * ((1 << options.Bits) - 1) / 255;
            sortie[2 * i] = static_cast<uint8_t>(valeur & 0xff);
            sortie[2 * i + 1] = static_cast<uint8_t>(valeur >> 8);
        }
    }
    std::unique_ptr<heif_encoding_options, Libere> reglages(heif_encoding_options_alloc());
    reglages->save_alpha_channel = options.Alpha ? 1 : 0;
    reglages->image_orientation = static_cast<heif_orientation>(options.Orientation);
    heif_image_handle* handle = nullptr;
    if (heif_context_encode_image(contexte, brute, encodeur, reglages.get(), &handle).code != heif_error_Ok)
        return nullptr;
    return handle;
}

} // namespace

QByteArray OctetsHeif(const QImage& image, const TOptionsHeif& options) {
    std::unique_ptr<heif_context, Libere> contexte(heif_context_alloc());
    heif_encoder* encodeur = nullptr;
    if (heif_context_get_encoder_for_format(
            contexte.get(), options.Av1 ? heif_compression_AV1 : heif_compression_HEVC, &encodeur)
            .code != heif_error_Ok)
        return {};
    std::unique_ptr<heif_encoder, Libere> gardeEncodeur(encodeur);
    heif_encoder_set_lossy_quality(encodeur, options.Qualite);
    std::unique_ptr<heif_image_handle, Libere> principale(Encode(contexte.get(), encodeur, image, options));
    if (!principale) return {};
    if (options.Vignette > 0) {
        // Filtered as a camera filters its thumbnails, rather than sampled.
        const QImage reduite =
            image.scaled(options.Vignette, options.Vignette, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        std::unique_ptr<heif_image_handle, Libere> vignette(
            Encode(contexte.get(), encodeur, reduite, options));
        // This version of the library takes the thumbnail first, whatever its header says.
        if (!vignette ||
            heif_context_assign_thumbnail(contexte.get(), vignette.get(), principale.get()).code !=
                heif_error_Ok)
            return {};
    }
    QByteArray octets;
    heif_writer ecrivain{1, Ajoute};
    if (heif_context_write(contexte.get(), &ecrivain, &octets).code != heif_error_Ok) return {};
    return octets;
}
