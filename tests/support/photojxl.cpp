#include "photojxl.h"

#include <jxl/encode_cxx.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Runs the encoder to its end, collecting what it writes.
QByteArray Termine(JxlEncoder* encodeur) {
    JxlEncoderCloseInput(encodeur);
    std::vector<uint8_t> sortie(64 * 1024);
    size_t ecrits = 0;
    for (;;) {
        uint8_t* suivant = sortie.data() + ecrits;
        size_t libre = sortie.size() - ecrits;
        const JxlEncoderStatus etat = JxlEncoderProcessOutput(encodeur, &suivant, &libre);
        ecrits = static_cast<size_t>(suivant - sortie.data());
        if (etat == JXL_ENC_SUCCESS) break;
        if (etat != JXL_ENC_NEED_MORE_OUTPUT) return QByteArray();
        sortie.resize(sortie.size() * 2);
    }
    return QByteArray(reinterpret_cast<const char*>(sortie.data()), static_cast<qsizetype>(ecrits));
}

} // namespace

QByteArray JxlPhoto(const QImage& image, const OptionsJxl& options) {
    JxlEncoderPtr encodeur = JxlEncoderMake(nullptr);
    const bool alpha = image.hasAlphaChannel() && !options.Gris16;
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<uint32_t>(image.width());
    info.ysize = static_cast<uint32_t>(image.height());
    info.bits_per_sample = options.Gris16 ? 16 : 8;
    info.num_color_channels = options.Gris16 ? 1 : 3;
    info.orientation = static_cast<JxlOrientation>(options.Orientation);
    info.uses_original_profile = options.SansPerte ? JXL_TRUE : JXL_FALSE;
    if (alpha) {
        info.alpha_bits = 8;
        info.num_extra_channels = 1;
    }
    if (!options.Suivante.isNull()) {
        info.have_animation = JXL_TRUE;
        info.animation.tps_numerator = 10;
        info.animation.tps_denominator = 1;
    }
    JxlEncoderUseContainer(encodeur.get(), options.Conteneur ? JXL_TRUE : JXL_FALSE);
    if (JxlEncoderSetBasicInfo(encodeur.get(), &info) != JXL_ENC_SUCCESS) return QByteArray();
    JxlColorEncoding couleurs;
    JxlColorEncodingSetToSRGB(&couleurs, options.Gris16 ? JXL_TRUE : JXL_FALSE);
    if (JxlEncoderSetColorEncoding(encodeur.get(), &couleurs) != JXL_ENC_SUCCESS) return QByteArray();
    JxlEncoderFrameSettings* reglages = JxlEncoderFrameSettingsCreate(encodeur.get(), nullptr);
    JxlEncoderFrameSettingsSetOption(reglages, JXL_ENC_FRAME_SETTING_EFFORT, options.Effort);
    if (options.SansPerte)
        JxlEncoderSetFrameLossless(reglages, JXL_TRUE);
    else
        JxlEncoderSetFrameDistance(reglages, options.Distance);
    if (options.Progressif) {
        JxlEncoderFrameSettingsSetOption(reglages, JXL_ENC_FRAME_SETTING_PROGRESSIVE_AC, 1);
        JxlEncoderFrameSettingsSetOption(reglages, JXL_ENC_FRAME_SETTING_PROGRESSIVE_DC, 1);
    }
    for (const QImage& cadre : {image, options.Suivante}) {
        if (cadre.isNull()) break;
        if (info.have_animation) {
            JxlFrameHeader entete;
            JxlEncoderInitFrameHeader(&entete);
            entete.duration = 10;
            JxlEncoderSetFrameHeader(reglages, &entete);
        }
        // Rows packed without padding, as the encoder reads them.
        std::vector<uint8_t> pixels;
        JxlPixelFormat format{alpha ? 4u : 3u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        if (options.Gris16) {
            format = {1, JXL_TYPE_UINT16, JXL_NATIVE_ENDIAN, 0};
            std::vector<uint16_t> gris;
            for (int y = 0; y < cadre.height(); ++y)
                for (int x = 0; x < cadre.width(); ++x)
                    gris.push_back(static_cast<uint16_t>(qGray(cadre.pixel(x, y)) * 257));
            pixels.resize(gris.size() * 2);
            std::memcpy(pixels.data(), gris.data(), pixels.size());
        } else {
            const QImage rgba =
                cadre.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
            const size_t ligne = static_cast<size_t>(rgba.width()) * (alpha ? 4 : 3);
            pixels.resize(ligne * static_cast<size_t>(rgba.height()));
            for (int y = 0; y < rgba.height(); ++y)
                std::copy_n(rgba.constScanLine(y), ligne, pixels.data() + ligne * static_cast<size_t>(y));
        }
        if (JxlEncoderAddImageFrame(reglages, &format, pixels.data(), pixels.size()) != JXL_ENC_SUCCESS)
            return QByteArray();
    }
    return Termine(encodeur.get());
}

QByteArray JxlDeJpeg(const QByteArray& jpeg) {
    JxlEncoderPtr encodeur = JxlEncoderMake(nullptr);
    if (JxlEncoderStoreJPEGMetadata(encodeur.get(), JXL_TRUE) != JXL_ENC_SUCCESS) return QByteArray();
    JxlEncoderFrameSettings* reglages = JxlEncoderFrameSettingsCreate(encodeur.get(), nullptr);
    JxlEncoderFrameSettingsSetOption(reglages, JXL_ENC_FRAME_SETTING_EFFORT, 3);
    if (JxlEncoderAddJPEGFrame(reglages, reinterpret_cast<const uint8_t*>(jpeg.constData()),
                               static_cast<size_t>(jpeg.size())) != JXL_ENC_SUCCESS)
        return QByteArray();
    return Termine(encodeur.get());
}
