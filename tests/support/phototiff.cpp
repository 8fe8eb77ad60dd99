#include "phototiff.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <vector>

#include <tiffio.h>

namespace {

void EcritPage(TIFF* tif, const QImage& source, const TOptionsTiff& options) {
    using C = TOptionsTiff::Couleurs;
    const QImage image = source.convertToFormat(options.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const uint32_t largeur = static_cast<uint32_t>(image.width()),
                   hauteur = static_cast<uint32_t>(image.height());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, largeur);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, hauteur);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, static_cast<uint16_t>(options.orientation));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, options.compression);
    // Before the palette, whose size the bits give.
    const uint16_t bits = options.couleurs == C::Rgb16 ? 16 : 8;
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    uint16_t echantillons = 3;
    QImage indexee;
    switch (options.couleurs) {
    case C::Rgb:
    case C::Rgb16:
        echantillons = options.alpha ? 4 : 3;
        if (options.compression == COMPRESSION_JPEG) {
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
            TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 90);
        } else {
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        }
        if (options.alpha) {
            const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
        }
        break;
    case C::Cmyk:
        echantillons = 4;
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
        break;
    case C::Palette: {
        echantillons = 1;
        indexee = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        std::vector<uint16_t> r(256), v(256), b(256);
        for (int i = 0; i < indexee.colorCount(); ++i) {
            r[static_cast<size_t>(i)] = static_cast<uint16_t>(qRed(indexee.color(i)) * 257);
            v[static_cast<size_t>(i)] = static_cast<uint16_t>(qGreen(indexee.color(i)) * 257);
            b[static_cast<size_t>(i)] = static_cast<uint16_t>(qBlue(indexee.color(i)) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), v.data(), b.data());
        break;
    }
    case C::Gris:
        echantillons = 1;
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        break;
    }
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, echantillons);
    if (options.tuile) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, options.tuile);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, options.tuile);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     options.lignesParBande ? options.lignesParBande : TIFFDefaultStripSize(tif, 0));
    }
    // The samples of a row, in the file's layout.
    const size_t parLigne = static_cast<size_t>(largeur) * echantillons * (bits / 8);
    std::vector<uint8_t> lignes(parLigne * hauteur);
    for (uint32_t y = 0; y < hauteur; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
        uint8_t* sortie = lignes.data() + parLigne * y;
        for (uint32_t x = 0; x < largeur; ++x) {
            const QRgb p = pixels[x];
            const int valeurs[4] = {qRed(p), qGreen(p), qBlue(p), qAlpha(p)};
            switch (options.couleurs) {
            case C::Rgb:
                for (int c = 0; c < echantillons; ++c)
                    *sortie++ = static_cast<uint8_t>(valeurs[c]);
                break;
            case C::Rgb16:
                for (int c = 0; c < echantillons; ++c) {
                    const uint16_t v = static_cast<uint16_t>(valeurs[c] * 257);
                    std::memcpy(sortie, &v, 2);
                    sortie += 2;
                }
                break;
            case C::Cmyk:
                for (int c = 0; c < 3; ++c)
                    *sortie++ = static_cast<uint8_t>(255 - valeurs[c]);
                *sortie++ = 0;
                break;
            case C::Palette:
                *sortie++ = indexee.constScanLine(static_cast<int>(y))[x];
                break;
            case C::Gris:
                *sortie++ = static_cast<uint8_t>(qGray(p));
                break;
            }
        }
    }
    if (options.tuile) {
        const uint32_t t = options.tuile;
        const size_t parPixel = static_cast<size_t>(echantillons) * (bits / 8);
        std::vector<uint8_t> tuile(static_cast<size_t>(TIFFTileSize(tif)));
        for (uint32_t ty = 0; ty < hauteur; ty += t)
            for (uint32_t tx = 0; tx < largeur; tx += t) {
                std::fill(tuile.begin(), tuile.end(), 0);
                for (uint32_t y = ty; y < std::min(hauteur, ty + t); ++y) {
                    const size_t n = std::min(t, largeur - tx) * parPixel;
                    std::memcpy(tuile.data() + (y - ty) * t * parPixel,
                                lignes.data() + parLigne * y + tx * parPixel, n);
                }
                TIFFWriteTile(tif, tuile.data(), tx, ty, 0, 0);
            }
    } else {
        for (uint32_t y = 0; y < hauteur; ++y)
            TIFFWriteScanline(tif, lignes.data() + parLigne * y, y, 0);
    }
}

QByteArray Contenu(const QString& chemin) {
    QFile fichier(chemin);
    fichier.open(QIODevice::ReadOnly);
    return fichier.readAll();
}

} // namespace

QByteArray Tiff(const QImage& image, const TOptionsTiff& options) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("t.tif"));
    TIFF* tif = TIFFOpen(QFile::encodeName(chemin).constData(), "w");
    if (!tif) return QByteArray();
    EcritPage(tif, image, options);
    TIFFWriteDirectory(tif);
    TOptionsTiff suite = options;
    suite.reduite = suite.secondePage = QImage();
    if (!options.reduite.isNull()) {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
        suite.orientation = 1;
        EcritPage(tif, options.reduite, suite);
        TIFFWriteDirectory(tif);
    }
    if (!options.secondePage.isNull()) {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        EcritPage(tif, options.secondePage, suite);
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return Contenu(chemin);
}

QByteArray Dng(const QImage& apercu, QSize brut, int orientation) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("t.dng"));
    TIFF* tif = TIFFOpen(QFile::encodeName(chemin).constData(), "w");
    if (!tif) return QByteArray();
    // The preview: one strip holding a whole JPEG stream, its tables within.
    const QImage image = apercu.convertToFormat(QImage::Format_RGB32);
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    const uint8_t version[4] = {1, 4, 0, 0};
    TIFFSetField(tif, TIFFTAG_DNGVERSION, version);
    TIFFSetField(tif, TIFFTAG_DNGBACKWARDVERSION, version);
    TIFFSetField(tif, TIFFTAG_MAKE, "Mirasolve");
    TIFFSetField(tif, TIFFTAG_MODEL, "Essai");
    TIFFSetField(tif, TIFFTAG_UNIQUECAMERAMODEL, "Mirasolve Essai");
    const toff_t sousRepertoire = 0;
    TIFFSetField(tif, TIFFTAG_SUBIFD, 1, &sousRepertoire);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height()));
    TIFFSetField(tif, TIFFTAG_ORIENTATION, static_cast<uint16_t>(orientation));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(tif, TIFFTAG_JPEGTABLESMODE, 0);
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 90);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(image.height()));
    std::vector<uint8_t> ligne(static_cast<size_t>(image.width()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            ligne[static_cast<size_t>(x) * 3] = static_cast<uint8_t>(qRed(pixels[x]));
            ligne[static_cast<size_t>(x) * 3 + 1] = static_cast<uint8_t>(qGreen(pixels[x]));
            ligne[static_cast<size_t>(x) * 3 + 2] = static_cast<uint8_t>(qBlue(pixels[x]));
        }
        TIFFWriteScanline(tif, ligne.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFWriteDirectory(tif);

    // The raw mosaic, red-green-green-blue, of a mid level.
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(brut.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(brut.height()));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, 32803); // colour filter array
    const uint16_t motif[2] = {2, 2};
    TIFFSetField(tif, TIFFTAG_CFAREPEATPATTERNDIM, motif);
    const uint8_t couleurs[4] = {0, 1, 1, 2};
    TIFFSetField(tif, TIFFTAG_CFAPATTERN, 4, couleurs);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(brut.height()));
    std::vector<uint16_t> brute(static_cast<size_t>(brut.width()), 2048);
    for (int y = 0; y < brut.height(); ++y)
        TIFFWriteScanline(tif, brute.data(), static_cast<uint32_t>(y), 0);
    TIFFWriteDirectory(tif);
    TIFFClose(tif);
    return Contenu(chemin);
}
