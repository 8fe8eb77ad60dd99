#include "formats.h"

#include <QtGlobal>

#include <array>
#include <cstdio>
#include <cstring>

namespace {

struct TFormat {
    const char* extension;
    Decodeur decodeur;
    int masque;
};

constexpr int MasqueRaw = 10;

constexpr std::array Formats{
    TFormat{"jpg", Decodeur::Jpeg, 0},        TFormat{"jpe", Decodeur::Jpeg, 1},
    TFormat{"jpeg", Decodeur::Jpeg, 1},       TFormat{"bmp", Decodeur::Bmp, 2},
    TFormat{"gif", Decodeur::Gif, 3},         TFormat{"png", Decodeur::Png, 4},
    TFormat{"webp", Decodeur::Webp, 5},       TFormat{"tif", Decodeur::Tiff, 6},
    TFormat{"tiff", Decodeur::Tiff, 6},       TFormat{"heic", Decodeur::Heif, 7},
    TFormat{"heif", Decodeur::Heif, 7},       TFormat{"hif", Decodeur::Heif, 7},
    TFormat{"avif", Decodeur::Heif, 8},       TFormat{"jxl", Decodeur::Jxl, 9},
    TFormat{"dng", Decodeur::Raw, MasqueRaw}, TFormat{"cr2", Decodeur::Raw, MasqueRaw},
    TFormat{"cr3", Decodeur::Raw, MasqueRaw}, TFormat{"nef", Decodeur::Raw, MasqueRaw},
    TFormat{"nrw", Decodeur::Raw, MasqueRaw}, TFormat{"arw", Decodeur::Raw, MasqueRaw},
    TFormat{"srf", Decodeur::Raw, MasqueRaw}, TFormat{"sr2", Decodeur::Raw, MasqueRaw},
    TFormat{"orf", Decodeur::Raw, MasqueRaw}, TFormat{"rw2", Decodeur::Raw, MasqueRaw},
    TFormat{"raf", Decodeur::Raw, MasqueRaw}, TFormat{"pef", Decodeur::Raw, MasqueRaw},
    TFormat{"srw", Decodeur::Raw, MasqueRaw}, TFormat{"3fr", Decodeur::Raw, MasqueRaw},
    TFormat{"iiq", Decodeur::Raw, MasqueRaw}, TFormat{"erf", Decodeur::Raw, MasqueRaw},
    TFormat{"kdc", Decodeur::Raw, MasqueRaw}, TFormat{"mrw", Decodeur::Raw, MasqueRaw},
    TFormat{"rwl", Decodeur::Raw, MasqueRaw},
};

const TFormat* FormatDeLExtension(QByteArrayView extension) {
    for (const TFormat& format : Formats)
        if (static_cast<qsizetype>(std::strlen(format.extension)) == extension.size() &&
            qstrnicmp(extension.data(), format.extension, extension.size()) == 0)
            return &format;
    return nullptr;
}

bool Commence(QByteArrayView octets, qsizetype position, QByteArrayView attendu) {
    return octets.size() >= position + attendu.size() && octets.sliced(position, attendu.size()) == attendu;
}

// The brands of an ISO media file's "ftyp" box that announce a HEIF or AVIF still picture.
bool MarqueHeif(QByteArrayView marque) {
    for (const char* connue :
         {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "mif2", "miaf", "avif", "avis"})
        if (marque == QByteArrayView(connue)) return true;
    return false;
}

} // namespace

int MasqueDeLExtension(QByteArrayView extension) {
    const TFormat* format = FormatDeLExtension(extension);
    return format ? format->masque : -1;
}

Decodeur DecodeurDeLExtension(QByteArrayView extension) {
    const TFormat* format = FormatDeLExtension(extension);
    return format ? format->decodeur : Decodeur::Aucun;
}

bool ExtensionHistorique(QByteArrayView extension) {
    const int masque = MasqueDeLExtension(extension);
    return masque >= 0 && masque <= 3;
}

QByteArrayView ExtensionDuChemin(const QByteArray& chemin) {
    const qsizetype point = chemin.lastIndexOf('.');
    const qsizetype separateur = chemin.lastIndexOf('/');
    if (point < 0 || point < separateur) return {};
    return QByteArrayView(chemin).sliced(point + 1);
}

Decodeur DecodeurDuContenu(QByteArrayView debut) {
    if (Commence(debut, 0, "\xFF\xD8\xFF")) return Decodeur::Jpeg;
    if (Commence(debut, 0, "GIF8")) return Decodeur::Gif;
    if (Commence(debut, 0, "BM")) return Decodeur::Bmp;
    if (Commence(debut, 0, "\x89PNG\r\n\x1A\n")) return Decodeur::Png;
    if (Commence(debut, 0, "RIFF") && Commence(debut, 8, "WEBP")) return Decodeur::Webp;
    if (Commence(debut, 0, QByteArrayView("II*\0", 4)) || Commence(debut, 0, QByteArrayView("MM\0*", 4)))
        return Decodeur::Tiff;
    if (Commence(debut, 0, "\xFF\x0A") ||
        Commence(debut, 0, QByteArrayView("\0\0\0\x0CJXL \x0D\x0A\x87\x0A", 12)))
        return Decodeur::Jxl;
    if (Commence(debut, 4, "ftyp") && debut.size() >= 12) {
        const QByteArrayView marque = debut.sliced(8, 4);
        if (marque == QByteArrayView("crx ")) return Decodeur::Raw;
        if (MarqueHeif(marque)) return Decodeur::Heif;
    }
    // RAW formats with a structure of their own.
    if (Commence(debut, 0, "FUJIFILMCCD-RAW") || Commence(debut, 0, QByteArrayView("\0MRM", 4)) ||
        Commence(debut, 0, "IIRO") || Commence(debut, 0, "IIRS") || Commence(debut, 0, "MMOR") ||
        Commence(debut, 0, QByteArrayView("IIU\0", 4)))
        return Decodeur::Raw;
    return Decodeur::Aucun;
}

Decodeur ChoisitDecodeur(QByteArrayView debut, QByteArrayView extension) {
    const Decodeur parLeContenu = DecodeurDuContenu(debut);
    const Decodeur parLeNom = DecodeurDeLExtension(extension);
    if (parLeNom == Decodeur::Raw && (parLeContenu == Decodeur::Tiff || parLeContenu == Decodeur::Aucun))
        return Decodeur::Raw;
    return parLeContenu != Decodeur::Aucun ? parLeContenu : parLeNom;
}

Decodeur DecodeurDuFichier(const QByteArray& chemin) {
    char debut[OctetsDeSignatureFormat];
    size_t lus = 0;
    if (std::FILE* fichier = std::fopen(chemin.constData(), "rb")) {
        lus = std::fread(debut, 1, sizeof debut, fichier);
        std::fclose(fichier);
    }
    return ChoisitDecodeur(QByteArrayView(debut, static_cast<qsizetype>(lus)), ExtensionDuChemin(chemin));
}
