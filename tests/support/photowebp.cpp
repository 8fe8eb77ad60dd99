#include "photowebp.h"

#include <QBuffer>
#include <QImageWriter>

#include <webp/decode.h>
#include <webp/encode.h>

namespace {

void Ajoute32Petit(QByteArray& octets, quint32 valeur, int octetsEcrits = 4) {
    for (int k = 0; k < octetsEcrits; ++k)
        octets.append(static_cast<char>((valeur >> (8 * k)) & 0xFF));
}

void Ajoute32Grand(QByteArray& octets, quint32 valeur) {
    for (int k = 3; k >= 0; --k)
        octets.append(static_cast<char>((valeur >> (8 * k)) & 0xFF));
}

QByteArray ChunkWebp(const char type[4], const QByteArray& donnees) {
    QByteArray chunk(type, 4);
    Ajoute32Petit(chunk, static_cast<quint32>(donnees.size()));
    chunk += donnees;
    if (donnees.size() % 2) chunk.append('\0');
    return chunk;
}

QByteArray Riff(const QByteArray& chunks) {
    QByteArray fichier("RIFF");
    Ajoute32Petit(fichier, static_cast<quint32>(chunks.size() + 4));
    return fichier + "WEBP" + chunks;
}

// The chunks of a simple WebP after its header, without the extended header chunk if any.
QByteArray ChunksImage(const QByteArray& webp) {
    QByteArray chunks;
    for (qsizetype i = 12; i + 8 <= webp.size();) {
        const auto* o = reinterpret_cast<const uchar*>(webp.constData() + i);
        const qsizetype taille = o[4] | o[5] << 8 | o[6] << 16 | o[7] << 24;
        const qsizetype entier = 8 + taille + (taille % 2);
        if (webp.mid(i, 4) != "VP8X") chunks += webp.mid(i, entier);
        i += entier;
    }
    return chunks;
}

QByteArray Vp8x(quint8 drapeaux, int largeur, int hauteur) {
    QByteArray donnees;
    donnees.append(static_cast<char>(drapeaux));
    donnees.append(3, '\0');
    Ajoute32Petit(donnees, static_cast<quint32>(largeur - 1), 3);
    Ajoute32Petit(donnees, static_cast<quint32>(hauteur - 1), 3);
    return ChunkWebp("VP8X", donnees);
}

constexpr quint8 DrapeauAnimation = 0x02, DrapeauExif = 0x08, DrapeauAlpha = 0x10;

} // namespace

QByteArray WebpPhoto(const QImage& image, bool sansPerte, int qualite) {
    const bool alpha = image.hasAlphaChannel();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    // Qt's ARGB32 is B, G, R, A in memory on the machines the tests run on.
    uint8_t* sortie = nullptr;
    const int pas = static_cast<int>(argb.bytesPerLine());
    size_t taille = 0;
    if (alpha)
        taille = sansPerte
                     ? WebPEncodeLosslessBGRA(argb.constBits(), argb.width(), argb.height(), pas, &sortie)
                     : WebPEncodeBGRA(argb.constBits(), argb.width(), argb.height(), pas,
                                      static_cast<float>(qualite), &sortie);
    else {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        const int pasRgb = static_cast<int>(rgb.bytesPerLine());
        taille = sansPerte
                     ? WebPEncodeLosslessRGB(rgb.constBits(), rgb.width(), rgb.height(), pasRgb, &sortie)
                     : WebPEncodeRGB(rgb.constBits(), rgb.width(), rgb.height(), pasRgb,
                                     static_cast<float>(qualite), &sortie);
    }
    QByteArray octets(reinterpret_cast<const char*>(sortie), static_cast<qsizetype>(taille));
    WebPFree(sortie);
    return octets;
}

QByteArray BlocExif(int orientation, bool prefixe) {
    QByteArray bloc = prefixe ? QByteArray("Exif\0\0", 6) : QByteArray();
    bloc += QByteArray("MM\0*\0\0\0\x08", 8);
    bloc += QByteArray("\0\x01", 2);                   // one entry
    bloc += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, one SHORT
    bloc.append('\0').append(static_cast<char>(orientation)).append(2, '\0');
    bloc += QByteArray(4, '\0'); // no next directory
    return bloc;
}

QByteArray WebpAvecExif(const QByteArray& webp, int orientation) {
    int largeur = 0, hauteur = 0;
    WebPGetInfo(reinterpret_cast<const uint8_t*>(webp.constData()), static_cast<size_t>(webp.size()),
                &largeur, &hauteur);
    const QByteArray image = ChunksImage(webp);
    const quint8 drapeaux =
        DrapeauExif | (image.startsWith("ALPH") || image.startsWith("VP8L") ? DrapeauAlpha : 0);
    return Riff(Vp8x(drapeaux, largeur, hauteur) + image + ChunkWebp("EXIF", BlocExif(orientation, false)));
}

QByteArray WebpAnime(const QList<CadreWebp>& cadres, int largeur, int hauteur) {
    QByteArray anim;
    Ajoute32Petit(anim, 0xFFFFFFFFu); // background colour
    anim.append(2, '\0');             // loop for ever
    QByteArray chunks = Vp8x(DrapeauAnimation | DrapeauAlpha, largeur, hauteur) + ChunkWebp("ANIM", anim);
    for (const CadreWebp& cadre : cadres) {
        int l = 0, h = 0;
        WebPGetInfo(reinterpret_cast<const uint8_t*>(cadre.Webp.constData()),
                    static_cast<size_t>(cadre.Webp.size()), &l, &h);
        QByteArray anmf;
        Ajoute32Petit(anmf, static_cast<quint32>(cadre.X / 2), 3);
        Ajoute32Petit(anmf, static_cast<quint32>(cadre.Y / 2), 3);
        Ajoute32Petit(anmf, static_cast<quint32>(l - 1), 3);
        Ajoute32Petit(anmf, static_cast<quint32>(h - 1), 3);
        Ajoute32Petit(anmf, 100, 3); // milliseconds
        anmf.append('\0');           // blended, not disposed
        chunks += ChunkWebp("ANMF", anmf + ChunksImage(cadre.Webp));
    }
    return Riff(chunks);
}

QByteArray PngPhoto(const QImage& image) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    QImageWriter ecrivain(&tampon, "png");
    ecrivain.write(image);
    return octets;
}

QByteArray ChunkPng(const char type[4], const QByteArray& donnees) {
    QByteArray chunk;
    Ajoute32Grand(chunk, static_cast<quint32>(donnees.size()));
    const QByteArray corps = QByteArray(type, 4) + donnees;
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : corps) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    chunk += corps;
    Ajoute32Grand(chunk, crc ^ 0xFFFFFFFFu);
    return chunk;
}

QByteArray PngAvecExif(const QByteArray& png, int orientation) {
    // Signature (8) and header chunk (8 + 13 + 4).
    constexpr qsizetype FinEntete = 8 + 25;
    return png.left(FinEntete) + ChunkPng("eXIf", BlocExif(orientation, false)) + png.mid(FinEntete);
}
