#include "decodeurs.h"

#include "orientation.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <vector>

#include <sys/stat.h>
#include <tiffio.h>

namespace {

using Decodage::Arrete;

// The library reports through handlers; nothing of a damaged file reaches the terminal. The
// process-wide handlers cover the messages given before a handle exists.
int TaitMessageTiff(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

void FaitTaireLibtiff() {
    static std::once_flag fait;
    std::call_once(fait, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

// The library reads through our handle: a read error is seen by QualifieEchec, and a decode asked
// to stop finds nothing more to read.
struct SourceTiff {
    std::FILE* fichier;
    const std::atomic<bool>* arret;
};

tmsize_t LitTiff(thandle_t h, void* octets, tmsize_t taille) {
    const auto* source = static_cast<const SourceTiff*>(h);
    if (taille < 0 || Arrete(source->arret)) return -1;
    return static_cast<tmsize_t>(std::fread(octets, 1, static_cast<size_t>(taille), source->fichier));
}

tmsize_t EcritTiff(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t CherchePositionTiff(thandle_t h, toff_t position, int origine) {
    std::FILE* fichier = static_cast<const SourceTiff*>(h)->fichier;
    if (position > static_cast<toff_t>(INT64_MAX) ||
        ::fseeko(fichier, static_cast<off_t>(position), origine) != 0)
        return static_cast<toff_t>(-1);
    return static_cast<toff_t>(::ftello(fichier));
}

int FermeTiff(thandle_t) {
    return 0;
}

toff_t TailleTiff(thandle_t h) {
    struct stat etat {};
    if (::fstat(::fileno(static_cast<const SourceTiff*>(h)->fichier), &etat) != 0) return 0;
    return static_cast<toff_t>(etat.st_size);
}

int ProjetteTiff(thandle_t, void**, toff_t*) {
    return 0;
}

void LibereProjectionTiff(thandle_t, void*, toff_t) {}

struct FermeHandleTiff {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using HandleTiff = std::unique_ptr<TIFF, FermeHandleTiff>;

HandleTiff OuvreTiff(SourceTiff& source) {
    FaitTaireLibtiff();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(TailleDecodeeMaximale));
    TIFFOpenOptionsSetErrorHandlerExtR(options, TaitMessageTiff, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, TaitMessageTiff, nullptr);
    // "O": the strips' offsets and sizes are read one by one when needed, never a million at once.
    HandleTiff tif(TIFFClientOpenExt("tiff", "rO", &source, LitTiff, EcritTiff, CherchePositionTiff,
                                     FermeTiff, TailleTiff, ProjetteTiff, LibereProjectionTiff, options));
    TIFFOpenOptionsFree(options);
    return tif;
}

QSize TailleDuRepertoire(TIFF* tif) {
    uint32_t largeur = 0, hauteur = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &largeur) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &hauteur) || !Decodage::TailleAcceptable(largeur, hauteur))
        return QSize();
    return QSize(static_cast<int>(largeur), static_cast<int>(hauteur));
}

struct FinImageRgba {
    void operator()(TIFFRGBAImage* image) const { TIFFRGBAImageEnd(image); }
};

// ABGR as the library packs it to Qt's ARGB.
inline QRgb EnQRgb(uint32_t p) {
    return (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
}

// Sums of the pixels of a band of `facteur` rows, per cell of `facteur` columns, so that a reduced
// picture is each cell's mean, as a reduced JPEG decode gives it.
class Reduction {
public:
    Reduction(QImage& sortie, int largeurLue, int hauteurLue, int facteurReduction)
        : image(sortie), largeur(largeurLue), hauteur(hauteurLue), facteur(facteurReduction),
          opaque(image.hasAlphaChannel() ? 0u : 0xFF000000u),
          sommes(static_cast<size_t>(image.width()) * 4, 0) {}

    void AjouteLigne(int y, const uint32_t* pixels) {
        if (facteur == 1) {
            auto* sortie = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < largeur; ++x)
                sortie[x] = EnQRgb(pixels[x]) | opaque;
            return;
        }
        for (int x = 0; x < largeur; ++x) {
            uint32_t* s = &sommes[static_cast<size_t>(x / facteur) * 4];
            const uint32_t p = pixels[x];
            s[0] += p & 0xFF;
            s[1] += (p >> 8) & 0xFF;
            s[2] += (p >> 16) & 0xFF;
            s[3] += p >> 24;
        }
        if ((y + 1) % facteur != 0 && y + 1 != hauteur) return;
        const int lignes = y % facteur + 1;
        auto* sortie = reinterpret_cast<QRgb*>(image.scanLine(y / facteur));
        for (int c = 0; c < image.width(); ++c) {
            uint32_t* s = &sommes[static_cast<size_t>(c) * 4];
            const uint32_t n = static_cast<uint32_t>(lignes * std::min(facteur, largeur - c * facteur));
            sortie[c] = qRgba(static_cast<int>(s[0] / n), static_cast<int>(s[1] / n),
                              static_cast<int>(s[2] / n), static_cast<int>(s[3] / n)) |
                        opaque;
            s[0] = s[1] = s[2] = s[3] = 0;
        }
    }

private:
    QImage& image;
    const int largeur, hauteur, facteur;
    const QRgb opaque; // a picture without transparency keeps every pixel opaque
    std::vector<uint32_t> sommes;
};

// How many rows are decoded at a time: whole strips or rows of tiles, at least 64 rows.
uint32_t LignesParBande(TIFF* tif, uint32_t hauteur) {
    uint32_t unite = 0;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unite);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unite);
    unite = std::clamp<uint32_t>(unite, 1, hauteur);
    return std::min(hauteur, std::max<uint32_t>(unite, (63 / unite + 1) * unite));
}

// Decodes the current directory, whose size was checked, reduced by facteur (each cell of
// facteur x facteur pixels averaged), in the order its pixels are stored. Rows that damaged data
// never reaches stay mid grey; nothing decoded at all gives a null picture.
QImage LitRepertoire(TIFF* tif, QSize taille, int facteur, bool garderAlpha, const std::atomic<bool>* arret) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) return QImage();
    TIFFRGBAImage rgba{};
    if (!TIFFRGBAImageBegin(&rgba, tif, 1, message)) return QImage();
    std::unique_ptr<TIFFRGBAImage, FinImageRgba> fin(&rgba);
    // The pixels as stored: the reader would otherwise flip some orientations itself.
    rgba.req_orientation = ORIENTATION_TOPLEFT;
    rgba.orientation = ORIENTATION_TOPLEFT;
    const bool alpha = garderAlpha && rgba.alpha != 0;

    const int largeur = taille.width(), hauteur = taille.height();
    QImage image((largeur + facteur - 1) / facteur, (hauteur + facteur - 1) / facteur,
                 alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return QImage();
    image.fill(qRgb(128, 128, 128));
    const uint32_t bande = LignesParBande(tif, static_cast<uint32_t>(hauteur));
    std::vector<uint32_t> tampon(static_cast<size_t>(largeur) * bande);
    Reduction reduction(image, largeur, hauteur, facteur);
    int lues = 0;
    for (uint32_t y = 0; y < static_cast<uint32_t>(hauteur); y += bande) {
        if (Arrete(arret)) return QImage();
        const uint32_t lignes = std::min(bande, static_cast<uint32_t>(hauteur) - y);
        rgba.row_offset = static_cast<int>(y);
        rgba.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba, tampon.data(), static_cast<uint32_t>(largeur), lignes)) break;
        for (uint32_t k = 0; k < lignes; ++k)
            reduction.AjouteLigne(static_cast<int>(y + k), tampon.data() + static_cast<size_t>(k) * largeur);
        lues += static_cast<int>(lignes);
    }
    if (lues == 0 || Arrete(arret)) return QImage();
    if (alpha) image.convertTo(QImage::Format_ARGB32);
    return image;
}

// The reduction, among 1, 2, 4 and 8, that a JPEG decode of that size would use.
int FacteurDeReduction(QSize naturelle, const TDemandeDecodage& demande, int orientation) {
    const int n = demande.Signature ? EchelleJpegSignature(naturelle)
                                    : EchelleJpeg(naturelle, TailleOrientee(demande.Ecran, orientation));
    return 8 / n;
}

bool EstReduction(TIFF* tif, QSize naturelle, QSize& taille) {
    uint32_t type = 0;
    if (!TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &type) || !(type & FILETYPE_REDUCEDIMAGE)) return false;
    taille = TailleDuRepertoire(tif);
    if (taille.width() < 100 || taille.height() < 100 || taille.width() >= naturelle.width()) return false;
    // The same picture, not a cropped part of it.
    const double ecart = static_cast<double>(taille.width()) / taille.height() -
                         static_cast<double>(naturelle.width()) / naturelle.height();
    char message[1024] = {};
    return std::abs(ecart) < 0.02 * naturelle.width() / naturelle.height() && TIFFRGBAImageOK(tif, message);
}

// For a signature: the smallest reduced copy of the first page the file holds, in the first
// page's sub-directories or as the second directory, of at least 100 pixels a side. Leaves the
// handle on it and gives its size, or on the first page and gives an empty size.
QSize ChoisitReduction(TIFF* tif, QSize naturelle) {
    std::vector<toff_t> candidats;
    uint16_t nombre = 0;
    toff_t* sousRepertoires = nullptr;
    if (TIFFGetField(tif, TIFFTAG_SUBIFD, &nombre, &sousRepertoires) && sousRepertoires)
        candidats.assign(sousRepertoires, sousRepertoires + std::min<uint16_t>(nombre, 4));
    if (TIFFReadDirectory(tif)) candidats.push_back(TIFFCurrentDirOffset(tif));
    toff_t choisi = 0;
    QSize tailleChoisie;
    for (const toff_t position : candidats) {
        QSize taille;
        if (TIFFSetSubDirectory(tif, position) && EstReduction(tif, naturelle, taille) &&
            (tailleChoisie.isEmpty() || taille.width() < tailleChoisie.width())) {
            choisi = position;
            tailleChoisie = taille;
        }
    }
    if (choisi != 0 && TIFFSetSubDirectory(tif, choisi)) return tailleChoisie;
    TIFFSetDirectory(tif, 0);
    return QSize();
}

TImageDecodee LitTiffOuvert(TIFF* tif, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    const QSize naturelle = TailleDuRepertoire(tif);
    if (naturelle.isEmpty()) return resultat;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (orientation < 1 || orientation > 8) orientation = ORIENTATION_TOPLEFT;

    QSize taille = naturelle;
    if (demande.Signature) {
        const QSize reduite = ChoisitReduction(tif, naturelle);
        if (!reduite.isEmpty()) taille = reduite;
        if (reduite.isEmpty() && TailleDuRepertoire(tif) != naturelle) return resultat;
    }
    resultat.Image = LitRepertoire(tif, taille, FacteurDeReduction(taille, demande, orientation),
                                   !demande.Signature, demande.Arret);
    if (resultat.Image.isNull()) return resultat;
    resultat.Naturelle = naturelle;
    resultat.Lisible = true;
    if (!demande.Signature) Decodage::AppliqueOrientation(resultat, orientation);
    return resultat;
}

} // namespace

TImageDecodee DecodeTiff(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Decodage::Fichier fichier = Decodage::Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    SourceTiff source{fichier.get(), demande.Arret};
    if (HandleTiff tif = OuvreTiff(source)) resultat = LitTiffOuvert(tif.get(), demande);
    Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
    return resultat;
}
