#include "decodeurs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <unordered_map>
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

// ---- The canvases of derived pictures --------------------------------------------------------
// The library allocates a grid's or an overlay's canvas from the sizes the item's own data gives,
// checking each side alone and never against the size the picture announces: a few hundred bytes
// can ask for gigabytes. Those sizes are read here from the file's boxes before anything decodes.

// A derived picture's canvas, by the item that holds it.
struct Canevas {
    heif_item_id id = 0;
    quint64 largeur = 0, hauteur = 0;
};

// Bytes read in order, never past their end: a read beyond it fails.
class Curseur {
public:
    Curseur() = default;
    Curseur(const uchar* octets, qint64 taille) : debut(octets), fin(taille) {}

    bool Lit(qint64 n, quint64& valeur) {
        if (n < 0 || n > 8 || fin - position < n) return false;
        valeur = 0;
        for (qint64 k = 0; k < n; ++k)
            valeur = valeur << 8 | debut[position + k];
        position += n;
        return true;
    }
    bool Saute(qint64 n) {
        if (n < 0 || fin - position < n) return false;
        position += n;
        return true;
    }
    // The next box inside these bytes: its type and its content.
    bool Boite(quint64& type, Curseur& contenu) {
        quint64 taille = 0;
        if (!Lit(4, taille) || !Lit(4, type)) return false;
        qint64 entete = 8;
        if (taille == 1) {
            if (!Lit(8, taille)) return false;
            entete = 16;
        } else if (taille == 0) {
            taille = static_cast<quint64>(fin - position + entete);
        }
        if (taille < static_cast<quint64>(entete) || taille - entete > static_cast<quint64>(fin - position))
            return false;
        contenu = Curseur(debut + position, static_cast<qint64>(taille) - entete);
        position += static_cast<qint64>(taille) - entete;
        return true;
    }
    const uchar* Ici() const { return debut + position; }
    qint64 Reste() const { return fin - position; }

private:
    const uchar* debut = nullptr;
    qint64 fin = 0, position = 0;
};

constexpr quint64 Type(const char (&nom)[5]) {
    return quint64{uchar(nom[0])} << 24 | quint64{uchar(nom[1])} << 16 | quint64{uchar(nom[2])} << 8 |
           uchar(nom[3]);
}

// A meta box larger than this holds no photo.
constexpr quint64 MetaMaximale = 64 << 20;

// The content of the file's top-level meta box; false when the file holds none that can be read.
// A box is never read beyond the file's end, whatever size it announces.
bool LitMeta(std::FILE* fichier, QByteArray& meta) {
    struct stat etat {};
    if (::fstat(::fileno(fichier), &etat) != 0 || etat.st_size < 0) return false;
    const quint64 tailleFichier = static_cast<quint64>(etat.st_size);
    quint64 position = 0;
    for (int n = 0; n < 100000; ++n) {
        uchar entete[16];
        if (::fseeko(fichier, static_cast<off_t>(position), SEEK_SET) != 0 ||
            std::fread(entete, 1, 8, fichier) != 8)
            return false;
        Curseur curseur(entete, 8);
        quint64 taille = 0, type = 0;
        curseur.Lit(4, taille);
        curseur.Lit(4, type);
        quint64 longueurEntete = 8;
        if (taille == 1) {
            if (std::fread(entete + 8, 1, 8, fichier) != 8) return false;
            Curseur(entete + 8, 8).Lit(8, taille);
            longueurEntete = 16;
        }
        if (type == Type("meta")) {
            if (taille == 0 || taille < longueurEntete || taille - longueurEntete > MetaMaximale ||
                taille > tailleFichier - position)
                return false;
            meta.resize(static_cast<qsizetype>(taille - longueurEntete));
            return std::fread(meta.data(), 1, static_cast<size_t>(meta.size()), fichier) ==
                   static_cast<size_t>(meta.size());
        }
        if (taille < longueurEntete || taille > static_cast<quint64>(INT64_MAX) - position) return false;
        position += taille;
    }
    return false;
}

// More grids and overlays than this in a file are no photo's.
constexpr size_t DerivesMaximum = 4096;

// The items the item information box types as a grid (true) or an overlay (false), the first
// entry of each item.
std::unordered_map<heif_item_id, bool> ItemsDerives(Curseur iinf) {
    std::unordered_map<heif_item_id, bool> derives;
    quint64 version = 0, nombre = 0, type = 0;
    if (!iinf.Lit(1, version) || !iinf.Saute(3) || !iinf.Lit(version == 0 ? 2 : 4, nombre)) return derives;
    Curseur infe;
    while (iinf.Boite(type, infe)) {
        quint64 versionInfe = 0, id = 0, genre = 0;
        if (type != Type("infe") || !infe.Lit(1, versionInfe) || versionInfe < 2 || !infe.Saute(3) ||
            !infe.Lit(versionInfe == 2 ? 2 : 4, id) || !infe.Saute(2) || !infe.Lit(4, genre))
            continue;
        if (genre == Type("grid") || genre == Type("iovl")) {
            derives.emplace(static_cast<heif_item_id>(id), genre == Type("grid"));
            if (derives.size() > DerivesMaximum) break;
        }
    }
    return derives;
}

// Where an item's data begins, as the item location box gives it.
struct Emplacement {
    heif_item_id id = 0;
    quint64 methode = 0; // 0: in the file, 1: in the meta box's own data
    quint64 position = 0, longueur = 0;
};

std::vector<Emplacement> Emplacements(Curseur iloc) {
    std::vector<Emplacement> emplacements;
    quint64 version = 0, tailles = 0, autres = 0, nombre = 0;
    if (!iloc.Lit(1, version) || version > 2 || !iloc.Saute(3) || !iloc.Lit(1, tailles) ||
        !iloc.Lit(1, autres) || !iloc.Lit(version < 2 ? 2 : 4, nombre))
        return emplacements;
    const qint64 tailleDecalage = static_cast<qint64>(tailles >> 4),
                 tailleLongueur = static_cast<qint64>(tailles & 15);
    const qint64 tailleBase = static_cast<qint64>(autres >> 4);
    const qint64 tailleIndice = version >= 1 ? static_cast<qint64>(autres & 15) : 0;
    for (quint64 i = 0; i < nombre; ++i) {
        Emplacement e;
        quint64 id = 0, base = 0, extents = 0;
        if (!iloc.Lit(version < 2 ? 2 : 4, id) || (version >= 1 && !iloc.Lit(2, e.methode)) ||
            !iloc.Saute(2) || !iloc.Lit(tailleBase, base) || !iloc.Lit(2, extents))
            break;
        e.id = static_cast<heif_item_id>(id);
        e.methode &= 15;
        // Extents of no byte at all are read once: a count of them would otherwise be walked for nothing.
        const bool extentsVides = tailleIndice + tailleDecalage + tailleLongueur == 0;
        for (quint64 k = 0; k < (extentsVides ? std::min<quint64>(extents, 1) : extents); ++k) {
            quint64 decalage = 0, longueur = 0;
            if (!iloc.Saute(tailleIndice) || !iloc.Lit(tailleDecalage, decalage) ||
                !iloc.Lit(tailleLongueur, longueur))
                return emplacements;
            if (k == 0) {
                e.position = base + decalage;
                e.longueur = longueur;
            }
        }
        if (extents > 0) emplacements.push_back(e);
    }
    return emplacements;
}

// The canvas a grid's or an overlay's data announces (its first bytes: the grid's rows and columns,
// or the overlay's fill colour, then the width and height, on 32 bits when flags bit 0 is set).
bool LitCanevas(const uchar* octets, qint64 taille, bool grille, Canevas& canevas) {
    Curseur donnees(octets, taille);
    quint64 drapeaux = 0;
    if (!donnees.Saute(1) || !donnees.Lit(1, drapeaux) || !donnees.Saute(grille ? 2 : 8)) return false;
    const qint64 octetsParCote = (drapeaux & 1) ? 4 : 2;
    return donnees.Lit(octetsParCote, canevas.largeur) && donnees.Lit(octetsParCote, canevas.hauteur);
}

// The canvases of the file's grids and overlays; false when one is beyond the decoded-size cap or
// the file's boxes cannot be read at all. Leaves the file at its start.
bool CanevasDuFichier(std::FILE* fichier, std::vector<Canevas>& canevas) {
    QByteArray octets;
    const bool lue = LitMeta(fichier, octets);
    // Seeking keeps a read error for QualifieEchec, where rewind would forget it.
    if (!lue || ::fseeko(fichier, 0, SEEK_SET) != 0) return false;
    Curseur meta(reinterpret_cast<const uchar*>(octets.constData()), octets.size()), iinf, iloc, idat, boite;
    quint64 type = 0;
    if (!meta.Saute(4)) return false;
    // The first box of each type, as the decoder takes it.
    bool vus[3] = {};
    while (meta.Boite(type, boite)) {
        const int k = type == Type("iinf") ? 0 : type == Type("iloc") ? 1 : type == Type("idat") ? 2 : -1;
        if (k < 0 || vus[k]) continue;
        vus[k] = true;
        (k == 0 ? iinf : k == 1 ? iloc : idat) = boite;
    }
    std::unordered_map<heif_item_id, bool> derives = ItemsDerives(iinf);
    if (derives.size() > DerivesMaximum) return false;
    for (const Emplacement& e : Emplacements(iloc)) {
        // Each item's first location only, each read once.
        const auto derive = derives.find(e.id);
        if (derive == derives.end()) continue;
        const bool grille = derive->second;
        derives.erase(derive);
        uchar debut[20] = {};
        qint64 lus = 0;
        const quint64 voulus = e.longueur > 0 ? std::min<quint64>(e.longueur, sizeof debut) : sizeof debut;
        if (e.methode == 0) {
            if (e.position <= static_cast<quint64>(INT64_MAX) &&
                ::fseeko(fichier, static_cast<off_t>(e.position), SEEK_SET) == 0)
                lus = static_cast<qint64>(std::fread(debut, 1, static_cast<size_t>(voulus), fichier));
        } else if (e.methode == 1 && e.position < static_cast<quint64>(idat.Reste())) {
            lus =
                std::min<qint64>(static_cast<qint64>(voulus), idat.Reste() - static_cast<qint64>(e.position));
            std::memcpy(debut, idat.Ici() + e.position, static_cast<size_t>(lus));
        }
        Canevas c;
        c.id = e.id;
        if (!LitCanevas(debut, lus, grille, c)) continue;
        canevas.push_back(c);
    }
    if (::fseeko(fichier, 0, SEEK_SET) != 0) return false;
    for (const Canevas& c : canevas)
        if (!Decodage::TailleAcceptable(static_cast<qint64>(std::min<quint64>(c.largeur, INT32_MAX)),
                                        static_cast<qint64>(std::min<quint64>(c.hauteur, INT32_MAX))))
            return false;
    return true;
}

// The handle's picture in 8 bits a channel, RGB32, or ARGB32 when transparence and the picture
// has an alpha channel; null when it cannot be decoded or is larger than the cap. The library
// offers no way to stop a decode part-way (its progress hooks are never called for a grid's
// tiles): a stop is seen by the reads of the picture's data, which then read nothing.
// canevas: the file's derived pictures, id: the handle's item. The handle's size is the canvas
// turned and cropped as the file says: a canvas of more than twice its area is refused before the
// library allocates it.
QImage DecodeHandle(heif_image_handle* handle, heif_item_id id, const std::vector<Canevas>& canevas,
                    bool transparence, const SourceHeif& source) {
    const int largeur = heif_image_handle_get_width(handle);
    const int hauteur = heif_image_handle_get_height(handle);
    if (!Decodage::TailleAcceptable(largeur, hauteur)) return QImage();
    for (const Canevas& c : canevas)
        // Both products are small: every canvas and the handle's size are under the cap.
        if (c.id == id &&
            c.largeur * c.hauteur > 2 * static_cast<quint64>(largeur) * static_cast<quint64>(hauteur))
            return QImage();
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
    // The library's rows seen as a picture of Qt's, then converted into one of our own. Colours
    // the file stores multiplied by their alpha are divided back.
    const QImage::Format format = !alpha ? QImage::Format_RGB888
                                  : heif_image_is_premultiplied_alpha(image.get())
                                      ? QImage::Format_RGBA8888_Premultiplied
                                      : QImage::Format_RGBA8888;
    const QImage vue(pixels, l, h, pas, format);
    return vue.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// The smallest thumbnail with at least minimum pixels a side and fewer than the picture's, if any.
Handle Vignette(heif_image_handle* principale, int minimum, heif_item_id& idChoisi) {
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
            idChoisi = id;
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
    std::vector<Canevas> canevas;
    if (!CanevasDuFichier(fichier, canevas)) return TImageDecodee();
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
    heif_item_id id = 0;
    if (source.Interrompue() ||
        heif_context_get_primary_image_ID(contexte.get(), &id).code != heif_error_Ok ||
        heif_context_get_primary_image_handle(contexte.get(), &brute).code != heif_error_Ok)
        return TImageDecodee();
    const Handle principale(brute);
    const QSize naturelle(heif_image_handle_get_width(brute), heif_image_handle_get_height(brute));
    if (!Decodage::TailleAcceptable(naturelle.width(), naturelle.height())) return TImageDecodee();

    if (demande.Signature) {
        // A stored thumbnail that keeps 100 pixels a side costs a fraction of the whole picture.
        heif_item_id idVignette = 0;
        if (const Handle vignette = Vignette(brute, 100, idVignette)) {
            TImageDecodee resultat =
                Lisible(DecodeHandle(vignette.get(), idVignette, canevas, false, source), naturelle);
            if (resultat.Lisible || source.Interrompue()) return resultat;
        }
        QImage image = DecodeHandle(brute, id, canevas, false, source);
        const QSize taille = image.size();
        return Lisible(std::move(image), taille);
    }
    if (demande.Ebauche && *demande.Ebauche) {
        // The thumbnail first, shown while the whole picture decodes.
        heif_item_id idVignette = 0;
        if (const Handle vignette = Vignette(brute, 1, idVignette)) {
            const TImageDecodee ebauche =
                Lisible(DecodeHandle(vignette.get(), idVignette, canevas, true, source), naturelle);
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
    QImage image = DecodeHandle(brute, id, canevas, true, source);
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
