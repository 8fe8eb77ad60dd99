#include "decodage.h"

#include "decodeurs.h"
#include "formats.h"
#include "orientation.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <sys/stat.h>

namespace {

using Decodage::Arrete;
using Decodage::Fichier;
using Decodage::FichierInterruptible;
using Decodage::Ouvre;
using Decodage::QualifieEchec;
using Decodage::TailleAcceptable;

// ---- JPEG -----------------------------------------------------------------------------------

struct ErreurJpeg {
    jpeg_error_mgr standard;
    std::jmp_buf retour;
};

// The decoder's progress hook: a decode asked to stop leaves at its next step, by the same way out
// as an error. The hook is the first member so that the decoder's pointer to it finds the flag.
struct ProgresJpeg {
    jpeg_progress_mgr standard;
    const std::atomic<bool>* arret = nullptr;
    bool abandonne = false;
};

void SuitProgresJpeg(j_common_ptr cinfo) {
    auto* progres = reinterpret_cast<ProgresJpeg*>(cinfo->progress);
    if (progres->arret && progres->arret->load(std::memory_order_relaxed)) {
        progres->abandonne = true;
        std::longjmp(reinterpret_cast<ErreurJpeg*>(cinfo->err)->retour, 1);
    }
}

[[noreturn]] void SortieErreurJpeg(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErreurJpeg*>(cinfo->err)->retour, 1);
}

void MessageJpeg(j_common_ptr) {}

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE EspaceRgb32 = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE EspaceRgb32 = JCS_EXT_XRGB;
#endif

// CMYK as stored by most writers (inverted when an Adobe marker says so) to RGB32.
void CmykVersRgb(const uint8_t* cmyk, QRgb* rgb, int largeur, bool inverse) {
    for (int x = 0; x < largeur; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], j = cmyk[2], k = cmyk[3];
        if (!inverse) {
            c = 255 - c;
            m = 255 - m;
            j = 255 - j;
            k = 255 - k;
        }
        rgb[x] = qRgb(c * k / 255, m * k / 255, j * k / 255);
    }
}

// The decompressor's state lives in a plain struct so that nothing with a destructor sits in
// the frame that longjmp leaves.
struct EtatJpeg {
    jpeg_decompress_struct cinfo{};
    ErreurJpeg erreur{};
    QImage image;
    std::vector<uint8_t> ligneCmyk;
    ProgresJpeg progres{};
    bool demarre = false;
    int lignes = 0;
};

// How a JPEG is decoded: the scale from the natural size, and whether speed comes before quality.
struct ModeJpeg {
    QSize ecran;
    bool signature = false;
    const std::atomic<bool>* arret = nullptr; // a decode asked to stop gives up
    const TEbauche* ebauche = nullptr;        // told of a first picture of a progressive file
};

// A first picture of a progressive file once this many scans are read: in the usual scripts, the
// DC scan and the luminance's first coefficients.
constexpr int ScansDeLEbauche = 2;

// Reads an output pass into the picture, row by row.
void LitLignes(EtatJpeg& etat, bool cmyk) {
    jpeg_decompress_struct& cinfo = etat.cinfo;
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW ligne = cmyk ? etat.ligneCmyk.data() : etat.image.scanLine(y);
        if (jpeg_read_scanlines(&cinfo, &ligne, 1) != 1) break;
        SuitProgresJpeg(reinterpret_cast<j_common_ptr>(&cinfo));
        if (cmyk)
            CmykVersRgb(etat.ligneCmyk.data(), reinterpret_cast<QRgb*>(etat.image.scanLine(y)),
                        static_cast<int>(cinfo.output_width), cinfo.saw_Adobe_marker);
        etat.lignes = y + 1;
    }
}

// Reads the input of a buffered decode until scans scans are complete, or all of it.
void ConsommeScans(jpeg_decompress_struct& cinfo, int scans) {
    while (!jpeg_input_complete(&cinfo) && cinfo.input_scan_number <= scans) {
        const int lu = jpeg_consume_input(&cinfo);
        SuitProgresJpeg(reinterpret_cast<j_common_ptr>(&cinfo));
        if (lu == JPEG_REACHED_EOI || lu == JPEG_SUSPENDED) break;
    }
}

// One output pass of a buffered decode with what the input gave so far.
void PassageDeSortie(EtatJpeg& etat, bool cmyk) {
    jpeg_start_output(&etat.cinfo, etat.cinfo.input_scan_number);
    LitLignes(etat, cmyk);
    jpeg_finish_output(&etat.cinfo);
}

// Out of line, so that nothing with a destructor lives in the frame that the decoder jumps out of.
[[gnu::noinline]] void DonneEbauche(const EtatJpeg& etat, QSize naturelle, const TEbauche& ebauche) {
    TImageDecodee image;
    image.Image = etat.image;
    image.Naturelle = naturelle;
    image.Lisible = true;
    ebauche(image);
}

// A file of several scans is decoded through a buffer of every coefficient of the picture; the
// decoder refuses one larger than its memory cap only once it starts. Known from the header, so
// that such a file is refused before its picture is allocated and filled.
bool CoefficientsAcceptables(jpeg_decompress_struct& cinfo) {
    if (!jpeg_has_multiple_scans(&cinfo)) return true;
    qint64 octets = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& composante = cinfo.comp_info[c];
        octets += qint64{composante.width_in_blocks} * composante.height_in_blocks * qint64{sizeof(JBLOCK)};
        if (octets > TailleDecodeeMaximale) return false;
    }
    return true;
}

bool DecodeJpegProtege(EtatJpeg& etat, ModeJpeg mode, QSize& naturelle) {
    jpeg_decompress_struct& cinfo = etat.cinfo;
    if (setjmp(etat.erreur.retour)) return false;
    jpeg_read_header(&cinfo, TRUE);
    naturelle = QSize(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
    cinfo.scale_num = static_cast<unsigned>(mode.signature ? EchelleJpegSignature(naturelle)
                                                           : EchelleJpeg(naturelle, mode.ecran));
    cinfo.scale_denom = 8;
    if (mode.signature) {
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : EspaceRgb32;
    const bool ebauche = mode.ebauche && *mode.ebauche && jpeg_has_multiple_scans(&cinfo);
    cinfo.buffered_image = ebauche ? TRUE : FALSE;
    jpeg_calc_output_dimensions(&cinfo);
    if (!TailleAcceptable(cinfo.output_width, cinfo.output_height) || !CoefficientsAcceptables(cinfo))
        return false;
    etat.image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                        QImage::Format_RGB32);
    if (etat.image.isNull()) return false;
    // Rows that damaged data never reaches stay mid grey, as the decoder itself fills them.
    etat.image.fill(qRgb(128, 128, 128));
    if (cmyk) etat.ligneCmyk.resize(static_cast<size_t>(cinfo.output_width) * 4);
    jpeg_start_decompress(&cinfo);
    etat.demarre = true;
    if (ebauche) {
        // A progressive file: a first picture from its first scans, then the whole one over it.
        ConsommeScans(cinfo, ScansDeLEbauche);
        PassageDeSortie(etat, cmyk);
        if (etat.lignes == static_cast<int>(cinfo.output_height))
            DonneEbauche(etat, naturelle, *mode.ebauche);
        ConsommeScans(cinfo, INT_MAX);
        PassageDeSortie(etat, cmyk);
    } else {
        LitLignes(etat, cmyk);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// Decodes from a file, or from bytes in memory when fichier is null.
TImageDecodee DecodeJpegDe(std::FILE* fichier, const QByteArray& octets, ModeJpeg mode) {
    TImageDecodee resultat;
    EtatJpeg etat;
    etat.cinfo.err = jpeg_std_error(&etat.erreur.standard);
    etat.erreur.standard.error_exit = SortieErreurJpeg;
    etat.erreur.standard.output_message = MessageJpeg;
    jpeg_create_decompress(&etat.cinfo);
    etat.cinfo.mem->max_memory_to_use = static_cast<long>(TailleDecodeeMaximale);
    etat.progres.standard.progress_monitor = SuitProgresJpeg;
    etat.progres.arret = mode.arret;
    etat.cinfo.progress = &etat.progres.standard;
    if (fichier)
        jpeg_stdio_src(&etat.cinfo, fichier);
    else
        jpeg_mem_src(&etat.cinfo, reinterpret_cast<const unsigned char*>(octets.constData()),
                     static_cast<unsigned long>(octets.size()));
    QSize naturelle;
    const bool complet = DecodeJpegProtege(etat, mode, naturelle);
    jpeg_destroy_decompress(&etat.cinfo);
    if (etat.progres.abandonne) {
        resultat.Abandonne = true;
        return resultat;
    }
    // The decoder takes a read error for the end of the file: what it gave is not the picture.
    if (fichier && std::ferror(fichier)) {
        resultat.Inaccessible = true;
        return resultat;
    }
    // Damaged data after the first rows: what was decoded is shown.
    if (complet || (etat.demarre && etat.lignes > 0)) {
        resultat.Image = std::move(etat.image);
        resultat.Naturelle = naturelle;
        resultat.Lisible = true;
    }
    return resultat;
}

TImageDecodee DecodeJpeg(const QByteArray& chemin, ModeJpeg mode) {
    TImageDecodee resultat;
    Fichier fichier = Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    return DecodeJpegDe(fichier.get(), QByteArray(), mode);
}

// ---- GIF ------------------------------------------------------------------------------------

struct FermeGif {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

// The library reads through our handle, so that a read error is told from the end of the file,
// and a decode asked to stop finds nothing more to read.
struct SourceGif {
    std::FILE* fichier;
    const std::atomic<bool>* arret;
};

int LitSourceGif(GifFileType* gif, GifByteType* octets, int taille) {
    const auto* source = static_cast<const SourceGif*>(gif->UserData);
    if (taille <= 0 || Arrete(source->arret)) return 0;
    return static_cast<int>(std::fread(octets, 1, static_cast<size_t>(taille), source->fichier));
}

// The first frame of an opened GIF; stops between rows when arret is set.
// transparenceOpaque: the transparent index takes the colour the palette gives it, as for a
// signature, where the same picture with and without transparency must look alike.
TImageDecodee LitGif(GifFileType* gif, bool transparenceOpaque, const std::atomic<bool>* arret) {
    TImageDecodee resultat;
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return resultat;
        if (type == TERMINATE_RECORD_TYPE) return resultat;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(gif, &code, &extension) == GIF_ERROR) return resultat;
            if (code == GRAPHICS_EXT_FUNC_CODE && extension && extension[0] >= 4) {
                GraphicsControlBlock bloc{};
                if (DGifExtensionToGCB(extension[0], extension + 1, &bloc) == GIF_OK)
                    transparent = bloc.TransparentColor;
            }
            while (extension)
                if (DGifGetExtensionNext(gif, &extension) == GIF_ERROR) return resultat;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return resultat;
        break;
    }

    const GifImageDesc& cadre = gif->Image;
    const int largeur = gif->SWidth > 0 ? gif->SWidth : cadre.Width;
    const int hauteur = gif->SHeight > 0 ? gif->SHeight : cadre.Height;
    if (!TailleAcceptable(largeur, hauteur) || !TailleAcceptable(cadre.Width, cadre.Height)) return resultat;
    const ColorMapObject* palette = cadre.ColorMap ? cadre.ColorMap : gif->SColorMap;

    QImage image(largeur, hauteur, QImage::Format_ARGB32);
    if (image.isNull()) return resultat;
    image.fill(Qt::transparent);
    std::vector<GifPixelType> ligne(static_cast<size_t>(cadre.Width));
    auto ecritLigne = [&](int y) {
        const int yImage = cadre.Top + y;
        if (yImage < 0 || yImage >= hauteur) return;
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(yImage));
        for (int x = 0; x < cadre.Width; ++x) {
            const int xImage = cadre.Left + x;
            const int indice = ligne[static_cast<size_t>(x)];
            if (xImage < 0 || xImage >= largeur || (indice == transparent && !transparenceOpaque)) continue;
            if (palette && indice < palette->ColorCount) {
                const GifColorType& c = palette->Colors[indice];
                pixels[xImage] = qRgb(c.Red, c.Green, c.Blue);
            } else {
                pixels[xImage] = qRgb(indice, indice, indice);
            }
        }
    };
    if (cadre.Interlace) {
        static const int debut[] = {0, 4, 2, 1};
        static const int pas[] = {8, 8, 4, 2};
        for (int passe = 0; passe < 4; ++passe)
            for (int y = debut[passe]; y < cadre.Height; y += pas[passe]) {
                if (Arrete(arret) || DGifGetLine(gif, ligne.data(), cadre.Width) == GIF_ERROR)
                    return resultat;
                ecritLigne(y);
            }
    } else {
        for (int y = 0; y < cadre.Height; ++y) {
            if (Arrete(arret) || DGifGetLine(gif, ligne.data(), cadre.Width) == GIF_ERROR) return resultat;
            ecritLigne(y);
        }
    }
    resultat.Image = std::move(image);
    resultat.Naturelle = QSize(largeur, hauteur);
    resultat.Lisible = true;
    return resultat;
}

TImageDecodee DecodeGif(const QByteArray& chemin, bool transparenceOpaque, const std::atomic<bool>* arret) {
    TImageDecodee resultat;
    Fichier fichier = Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    SourceGif source{fichier.get(), arret};
    int erreur = 0;
    std::unique_ptr<GifFileType, FermeGif> gif(DGifOpen(&source, LitSourceGif, &erreur));
    if (gif) resultat = LitGif(gif.get(), transparenceOpaque, arret);
    QualifieEchec(resultat, arret, fichier.get());
    return resultat;
}

// ---- BMP ------------------------------------------------------------------------------------

// What the header says of a BMP: enough to check its size before anything is allocated, and to
// know the picture the reader will produce.
struct EnteteBmp {
    qint64 largeur = 0;
    qint64 hauteur = 0; // rows, whatever their order in the file
    qint64 debutDonnees = 0;
    QImage::Format format = QImage::Format_Invalid;
};

uint32_t Lu32(const QByteArray& octets, int position) {
    uint32_t valeur = 0;
    for (int k = 3; k >= 0; --k)
        valeur = (valeur << 8) | static_cast<uint8_t>(octets[position + k]);
    return valeur;
}

uint16_t Lu16(const QByteArray& octets, int position) {
    return static_cast<uint16_t>(static_cast<uint8_t>(octets[position]) |
                                 (static_cast<uint8_t>(octets[position + 1]) << 8));
}

// The file header and the start of the information header; false when they are not a BMP's.
// A negative height announces rows stored top-down.
bool LitEnteteBmp(QIODevice& appareil, EnteteBmp& entete) {
    const QByteArray octets = appareil.read(14 + 56);
    if (octets.size() < 14 + 16 || octets[0] != 'B' || octets[1] != 'M') return false;
    entete.debutDonnees = Lu32(octets, 10);
    const uint32_t tailleInfo = Lu32(octets, 14);
    int bits = 0;
    uint32_t compression = 0, masqueAlpha = 0;
    if (tailleInfo == 12) {
        entete.largeur = static_cast<int16_t>(Lu16(octets, 18));
        entete.hauteur = static_cast<int16_t>(Lu16(octets, 20));
        bits = Lu16(octets, 24);
    } else {
        if (octets.size() < 14 + 20) return false;
        entete.largeur = static_cast<int32_t>(Lu32(octets, 18));
        entete.hauteur = static_cast<int32_t>(Lu32(octets, 22));
        bits = Lu16(octets, 28);
        compression = Lu32(octets, 30);
        if (tailleInfo >= 108 && octets.size() >= 70) masqueAlpha = Lu32(octets, 66);
    }
    entete.hauteur = entete.hauteur < 0 ? -entete.hauteur : entete.hauteur;
    constexpr uint32_t ChampsDeBits = 3;
    if (bits == 16 || bits == 24 || bits == 32)
        entete.format =
            compression == ChampsDeBits && masqueAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    else if (bits == 4 || bits == 8)
        entete.format = QImage::Format_Indexed8;
    else
        entete.format = QImage::Format_Mono;
    return true;
}

// A picture of that size and format whose every pixel has a known value: mid grey, as a damaged
// JPEG's missing rows, or the palette's first colour.
QImage ImageInitialisee(QSize taille, QImage::Format format) {
    QImage image(taille, format);
    if (image.isNull()) return image;
    if (image.depth() >= 24)
        image.fill(qRgb(128, 128, 128));
    else
        image.fill(0u);
    return image;
}

enum class LectureBmp { Echec, Lue, AutreImage };

// Qt's reader decodes into the picture it is given when its size and format are those of the file,
// and leaves untouched what it does not decode: rows past the end of a cut file, pixels that a
// run-length file skips. Given a picture whose every pixel is set, the result never depends on
// memory that nothing wrote; AutreImage when the reader made a picture of its own instead.
LectureBmp LitDansImageInitialisee(QIODevice& appareil, QImage& image) {
    if (!appareil.seek(0)) return LectureBmp::Echec;
    QImageReader lecteur(&appareil, "bmp");
    const uchar* donnees = image.constBits();
    if (!lecteur.read(&image) || image.isNull()) return LectureBmp::Echec;
    return image.constBits() == donnees ? LectureBmp::Lue : LectureBmp::AutreImage;
}

TImageDecodee LitBmp(QIODevice& appareil) {
    TImageDecodee resultat;
    EnteteBmp entete;
    if (!LitEnteteBmp(appareil, entete) || !TailleAcceptable(entete.largeur, entete.hauteur)) return resultat;
    // No pixel data at all is no picture.
    if (entete.debutDonnees >= appareil.size()) return resultat;
    const QSize taille(static_cast<int>(entete.largeur), static_cast<int>(entete.hauteur));
    QImage image = ImageInitialisee(taille, entete.format);
    if (image.isNull()) return resultat;
    LectureBmp lecture = LitDansImageInitialisee(appareil, image);
    if (lecture == LectureBmp::AutreImage && image.size() == taille) {
        // The reader wanted another format than the header suggested: read again into that one.
        image = ImageInitialisee(taille, image.format());
        lecture = image.isNull() ? LectureBmp::Echec : LitDansImageInitialisee(appareil, image);
    }
    if (lecture != LectureBmp::Lue) return resultat;
    resultat.Naturelle = image.size();
    resultat.Image = std::move(image);
    resultat.Lisible = true;
    return resultat;
}

TImageDecodee DecodeBmp(const QByteArray& chemin, const std::atomic<bool>* arret) {
    TImageDecodee resultat;
    Fichier fichier = Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    FichierInterruptible appareil(arret);
    if (appareil.open(fichier.get(), QIODevice::ReadOnly)) resultat = LitBmp(appareil);
    QualifieEchec(resultat, arret, fichier.get());
    return resultat;
}

} // namespace

void FixeLimiteDecodage() {
    // Our own limit is checked from the headers; the readers' must not be the lower one.
    QImageReader::setAllocationLimit(static_cast<int>(TailleDecodeeMaximale >> 20));
}

Decodeur DecodeurDuNom(const QByteArray& chemin) {
    return DecodeurDeLExtension(ExtensionDuChemin(chemin));
}

TImageDecodee DecodeJpegEnMemoire(const QByteArray& octets, const TDemandeDecodage& demande) {
    return DecodeJpegDe(nullptr, octets,
                        ModeJpeg{demande.Ecran, demande.Signature, demande.Arret, demande.Ebauche});
}

int EchelleJpeg(QSize naturelle, QSize ecran) {
    const qint64 w = naturelle.width(), h = naturelle.height();
    if (w <= 0 || h <= 0 || ecran.isEmpty() || (w <= ecran.width() && h <= ecran.height())) return 8;
    // The size the picture takes when fitted into the screen, never enlarged.
    const double rapport = std::min(static_cast<double>(ecran.width()) / static_cast<double>(w),
                                    static_cast<double>(ecran.height()) / static_cast<double>(h));
    const qint64 largeurVue = static_cast<qint64>(std::ceil(static_cast<double>(w) * rapport));
    const qint64 hauteurVue = static_cast<qint64>(std::ceil(static_cast<double>(h) * rapport));
    for (int n = 1; n < 8; ++n) {
        // The decoder rounds scaled sizes up.
        if ((w * n + 7) / 8 >= largeurVue && (h * n + 7) / 8 >= hauteurVue) return n;
    }
    return 8;
}

namespace {

// The formats read by a reader of their own file.
TImageDecodee DecodeAutreFormat(Decodeur decodeur, const QByteArray& chemin,
                                const TDemandeDecodage& demande) {
    switch (decodeur) {
    case Decodeur::Png:
        return DecodePng(chemin, demande);
    case Decodeur::Webp:
        return DecodeWebp(chemin, demande);
    case Decodeur::Tiff:
        return DecodeTiff(chemin, demande);
    case Decodeur::Heif:
        return DecodeHeif(chemin, demande);
    case Decodeur::Jxl:
        return DecodeJxl(chemin, demande);
    case Decodeur::Raw:
        return DecodeRaw(chemin, demande);
    default:
        return TImageDecodee();
    }
}

} // namespace

TImageDecodee DecodeImage(const QByteArray& chemin, QSize ecran, const std::atomic<bool>* arret,
                          const TEbauche& ebauche, const TEngagement& engage) {
    const Decodeur decodeur = DecodeurDuFichier(chemin);
    switch (decodeur) {
    case Decodeur::Jpeg: {
        // Shown as the camera says: turned, with the fit and the size of the turned picture.
        const int orientation = OrientationDuFichier(chemin);
        TEbauche ebaucheOrientee;
        if (ebauche) {
            ebaucheOrientee = [&ebauche, orientation](const TImageDecodee& premiere) {
                TImageDecodee tournee = premiere;
                tournee.Image = Oriente(premiere.Image, orientation);
                tournee.Naturelle = TailleOrientee(premiere.Naturelle, orientation);
                ebauche(tournee);
            };
        }
        TImageDecodee image = DecodeJpeg(chemin, ModeJpeg{TailleOrientee(ecran, orientation), false, arret,
                                                          ebauche ? &ebaucheOrientee : nullptr});
        if (orientation != 1 && image.Lisible) {
            image.Image = Oriente(image.Image, orientation);
            image.Naturelle = TailleOrientee(image.Naturelle, orientation);
            image.Orientation = orientation;
        }
        return image;
    }
    case Decodeur::Gif:
        return DecodeGif(chemin, false, arret);
    case Decodeur::Bmp:
        return DecodeBmp(chemin, arret);
    default:
        return DecodeAutreFormat(
            decodeur, chemin,
            TDemandeDecodage{ecran, false, arret, ebauche ? &ebauche : nullptr, engage ? &engage : nullptr});
    }
}

int EchelleJpegSignature(QSize naturelle) {
    for (const int n : {1, 2, 4})
        if ((qint64{naturelle.width()} * n + 7) / 8 >= 100 && (qint64{naturelle.height()} * n + 7) / 8 >= 100)
            return n;
    return 8;
}

TImageDecodee DecodeImagePourSignature(const QByteArray& chemin, const std::atomic<bool>* arret) {
    const Decodeur decodeur = DecodeurDuFichier(chemin);
    switch (decodeur) {
    case Decodeur::Jpeg:
        return DecodeJpeg(chemin, ModeJpeg{QSize(), true, arret});
    case Decodeur::Gif:
        return DecodeGif(chemin, true, arret);
    case Decodeur::Bmp:
        return DecodeBmp(chemin, arret);
    default:
        return DecodeAutreFormat(decodeur, chemin, TDemandeDecodage{QSize(), true, arret, nullptr});
    }
}
