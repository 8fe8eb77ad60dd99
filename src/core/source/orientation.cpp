#include "orientation.h"

#include <QFile>
#include <QTransform>

#include <cstring>

namespace {

// Reading a TIFF block in its own byte order, never past its end.
class TTiff {
public:
    TTiff(const uchar* octets, qsizetype taille) : donnees(octets), n(taille) {}
    bool Intel() const { return donnees[0] == 'I'; }
    bool Contient(qint64 debut, qint64 longueur) const {
        return debut >= 0 && longueur >= 0 && debut + longueur <= n;
    }
    quint16 Mot(qint64 i) const {
        return Intel() ? quint16(donnees[i] | donnees[i + 1] << 8)
                       : quint16(donnees[i] << 8 | donnees[i + 1]);
    }
    quint32 Long(qint64 i) const {
        return Intel() ? quint32(Mot(i)) | quint32(Mot(i + 2)) << 16
                       : quint32(Mot(i)) << 16 | quint32(Mot(i + 2));
    }

private:
    const uchar* donnees;
    qsizetype n;
};

int OrientationTiff(const uchar* octets, qsizetype taille) {
    if (taille < 8) return 0;
    const bool ordreConnu = (octets[0] == 'I' && octets[1] == 'I') || (octets[0] == 'M' && octets[1] == 'M');
    if (!ordreConnu) return 0;
    const TTiff tiff(octets, taille);
    if (tiff.Mot(2) != 42) return 0;
    const qint64 repertoire = tiff.Long(4);
    if (!tiff.Contient(repertoire, 2)) return 0;
    const int entrees = tiff.Mot(repertoire);
    for (int i = 0; i < entrees; ++i) {
        const qint64 entree = repertoire + 2 + 12 * qint64{i};
        if (!tiff.Contient(entree, 12)) return 0;
        if (tiff.Mot(entree) != 0x0112) continue;
        // One SHORT, held in the entry itself.
        if (tiff.Mot(entree + 2) != 3 || tiff.Long(entree + 4) < 1) return 0;
        const int valeur = tiff.Mot(entree + 8);
        return valeur >= 1 && valeur <= 8 ? valeur : 0;
    }
    return 0;
}

} // namespace

int OrientationExif(const QByteArray& debut) {
    const auto* o = reinterpret_cast<const uchar*>(debut.constData());
    const qsizetype n = debut.size();
    if (n < 4 || o[0] != 0xFF || o[1] != 0xD8) return 1;
    qsizetype position = 2;
    while (position + 4 <= n) {
        if (o[position] != 0xFF) return 1;
        const uchar marqueur = o[position + 1];
        if (marqueur == 0xFF) { // padding before a marker
            ++position;
            continue;
        }
        // The picture's data or its end: no Exif block comes after.
        if (marqueur == 0xDA || marqueur == 0xD9) return 1;
        const qsizetype longueur = o[position + 2] << 8 | o[position + 3];
        if (longueur < 2) return 1;
        const qsizetype contenu = position + 4, fin = std::min(n, position + 2 + longueur);
        if (marqueur == 0xE1 && fin - contenu >= 6 && debut.mid(contenu, 6) == QByteArray("Exif\0\0", 6)) {
            if (const int orientation = OrientationTiff(o + contenu + 6, fin - contenu - 6))
                return orientation;
        }
        position = position + 2 + longueur;
    }
    return 1;
}

int OrientationBlocExif(const uchar* octets, qsizetype taille) {
    if (!octets || taille < 0) return 1;
    if (taille >= 6 && std::memcmp(octets, "Exif\0\0", 6) == 0) {
        octets += 6;
        taille -= 6;
    }
    const int orientation = OrientationTiff(octets, taille);
    return orientation ? orientation : 1;
}

int OrientationDuFichier(const QByteArray& chemin) {
    QFile fichier(QFile::decodeName(chemin));
    if (!fichier.open(QIODevice::ReadOnly)) return 1;
    return OrientationExif(fichier.read(128 * 1024));
}

QSize TailleOrientee(QSize taille, int orientation) {
    return orientation >= 5 && orientation <= 8 ? taille.transposed() : taille;
}

QImage Oriente(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5: // transposed: turned a quarter clockwise, then mirrored left to right
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7: // the other diagonal: turned a quarter clockwise, then mirrored top to bottom
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

int OrientationInverse(int orientation) {
    // A quarter turn one way is undone by a quarter turn the other; every other value by itself.
    return orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
}
