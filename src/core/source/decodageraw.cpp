#include "decodeurs.h"

#include "orientation.h"

#include <memory>

#include <libraw/libraw.h>
#include <sys/stat.h>

namespace {

using Decodage::Arrete;

// The file read by the library, whose reads find nothing more once a stop is asked: the library
// then gives up at its next read. Boxes or tables that send the library's parsers round in
// circles would hold a thread for ever: past a number of accesses no camera's file needs (its
// metadata are read value by value, its pictures in blocks), the stream fails as a corrupt file.
class FluxRaw : public LibRaw_bigfile_datastream {
public:
    FluxRaw(const char* chemin, const std::atomic<bool>* arretDemande, qint64 tailleFichier)
        : LibRaw_bigfile_datastream(chemin), arret(arretDemande), acces(100000 + tailleFichier / 4) {}
    int read(void* octets, size_t taille, size_t nombre) override {
        Compte();
        return Arrete(arret) ? 0 : LibRaw_bigfile_datastream::read(octets, taille, nombre);
    }
    int seek(INT64 position, int origine) override {
        Compte();
        return Arrete(arret) ? -1 : LibRaw_bigfile_datastream::seek(position, origine);
    }
    INT64 tell() override {
        Compte();
        return LibRaw_bigfile_datastream::tell();
    }
    int get_char() override {
        Compte();
        return LibRaw_bigfile_datastream::get_char();
    }
    char* gets(char* texte, int taille) override {
        Compte();
        return LibRaw_bigfile_datastream::gets(texte, taille);
    }
    int scanf_one(const char* format, void* valeur) override {
        Compte();
        return LibRaw_bigfile_datastream::scanf_one(format, valeur);
    }
    int eof() override {
        Compte();
        return LibRaw_bigfile_datastream::eof();
    }

private:
    // The library catches its own exceptions around every parse and reports a corrupt file.
    void Compte() {
        if (--acces < 0) throw LIBRAW_EXCEPTION_IO_CORRUPT;
    }

    const std::atomic<bool>* arret;
    qint64 acces;
};

int SuitProgresRaw(void* arret, LibRaw_progress, int, int) {
    return Arrete(static_cast<const std::atomic<bool>*>(arret)) ? 1 : 0;
}

// The library's default handlers write to the terminal.
void TaitErreurDeDonnees(void*, const char*, const int) {}
void TaitErreurDeMemoire(void*, const char*, const char*) {}

// The library's flip (bit 4: rows and columns swapped, bit 2: rows reversed, bit 1: columns
// reversed) as an Exif orientation.
int OrientationDuFlip(int flip) {
    static constexpr int Exif[] = {1, 2, 4, 3, 5, 8, 6, 7};
    return Exif[flip & 7];
}

// An 8-bit preview of 1 or 3 samples a pixel, unpacked by the library.
QImage ApercuBitmap(const libraw_thumbnail_t& apercu) {
    const int largeur = apercu.twidth, hauteur = apercu.theight, couleurs = apercu.tcolors;
    if ((couleurs != 1 && couleurs != 3) || !apercu.thumb || !Decodage::TailleAcceptable(largeur, hauteur) ||
        qint64{apercu.tlength} < qint64{largeur} * hauteur * couleurs)
        return QImage();
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const auto* octets = reinterpret_cast<const uint8_t*>(apercu.thumb);
    for (int y = 0; y < hauteur; ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < largeur; ++x, octets += couleurs)
            ligne[x] =
                couleurs == 3 ? qRgb(octets[0], octets[1], octets[2]) : qRgb(octets[0], octets[0], octets[0]);
    }
    return image;
}

// The largest preview the camera embedded, decoded for the demand (not turned), with the
// library's orientation and the photo's stored size. The raw data itself is never unpacked.
TImageDecodee LitApercu(LibRaw& raw, qint64 tailleFichier, const TDemandeDecodage& demande,
                        int& orientation) {
    TImageDecodee resultat;
    const libraw_thumbnail_t& apercu = raw.imgdata.thumbnail;
    orientation = OrientationDuFlip(raw.imgdata.sizes.flip);
    if (apercu.tlength == 0 || qint64{apercu.tlength} > tailleFichier ||
        qint64{apercu.tlength} > TailleDecodeeMaximale)
        return resultat;
    if (apercu.tformat == LIBRAW_THUMBNAIL_BITMAP &&
        !Decodage::TailleAcceptable(apercu.twidth, apercu.theight))
        return resultat;
    if (raw.unpack_thumb() != LIBRAW_SUCCESS || Arrete(demande.Arret)) return resultat;
    if (apercu.tformat == LIBRAW_THUMBNAIL_JPEG) {
        TDemandeDecodage demandeApercu = demande;
        demandeApercu.Ecran = TailleOrientee(demande.Ecran, orientation);
        demandeApercu.Ebauche = nullptr;
        resultat = DecodeJpegEnMemoire(
            QByteArray::fromRawData(apercu.thumb, static_cast<qsizetype>(apercu.tlength)), demandeApercu);
    } else if (apercu.tformat == LIBRAW_THUMBNAIL_BITMAP) {
        resultat.Image = ApercuBitmap(apercu);
        resultat.Naturelle = resultat.Image.size();
        resultat.Lisible = !resultat.Image.isNull();
    }
    if (!resultat.Lisible) return resultat;
    const libraw_image_sizes_t& tailles = raw.imgdata.sizes;
    if (tailles.width > 0 && tailles.height > 0) resultat.Naturelle = QSize(tailles.width, tailles.height);
    return resultat;
}

bool ContenuTiff(std::FILE* fichier) {
    char debut[OctetsDeSignatureFormat];
    const size_t lus = std::fread(debut, 1, sizeof debut, fichier);
    return DecodeurDuContenu(QByteArrayView(debut, static_cast<qsizetype>(lus))) == Decodeur::Tiff;
}

} // namespace

TImageDecodee DecodeRaw(const QByteArray& chemin, const TDemandeDecodage& demande) {
    TImageDecodee resultat;
    Decodage::Fichier fichier = Decodage::Ouvre(chemin, resultat.Inaccessible);
    if (!fichier) return resultat;
    struct stat etat {};
    if (::fstat(::fileno(fichier.get()), &etat) != 0) {
        resultat.Inaccessible = true;
        return resultat;
    }
    int orientation = 1;
    {
        FluxRaw flux(chemin.constData(), demande.Arret, static_cast<qint64>(etat.st_size));
        // Large: on the heap. Destroyed before the stream it reads.
        auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
        raw->imgdata.params.max_raw_memory_mb = static_cast<unsigned>(TailleDecodeeMaximale >> 20);
        raw->set_progress_handler(SuitProgresRaw, const_cast<std::atomic<bool>*>(demande.Arret));
        raw->set_dataerror_handler(TaitErreurDeDonnees, nullptr);
        raw->set_memerror_handler(TaitErreurDeMemoire, nullptr);
        if (flux.valid() && raw->open_datastream(&flux) == LIBRAW_SUCCESS && !Arrete(demande.Arret))
            resultat = LitApercu(*raw, static_cast<qint64>(etat.st_size), demande, orientation);
    }
    if (resultat.Abandonne || Arrete(demande.Arret)) {
        resultat = TImageDecodee();
        resultat.Abandonne = true;
        return resultat;
    }
    // A file the library does not take for a camera's, or without a preview, that is a TIFF (a
    // scan named .dng, a converted photo): shown as the TIFF it is.
    if (!resultat.Lisible && ContenuTiff(fichier.get())) return DecodeTiff(chemin, demande);
    if (!demande.Signature) Decodage::AppliqueOrientation(resultat, orientation);
    Decodage::QualifieEchec(resultat, demande.Arret, fichier.get());
    return resultat;
}
