#include "bandeicones.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace {

// Whether a file holds all the pixels its BMP header announces (an uncompressed BMP with an
// information header); any other file is left to the reader. A cut strip would otherwise be
// decoded with its missing rows filled in, and shown as damaged icons.
bool BmpEntier(const QString& fichier) {
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray entete = f.read(54);
    if (entete.size() < 54 || !entete.startsWith("BM")) return true;
    const auto mot = [&](int position) { return qFromLittleEndian<qint32>(entete.constData() + position); };
    const qint64 debut = mot(10), largeur = mot(18), hauteur = std::abs(static_cast<qint64>(mot(22)));
    const qint64 bits = qFromLittleEndian<quint16>(entete.constData() + 28);
    if (mot(14) < 40 || mot(30) != 0 || largeur <= 0) return true;
    return f.size() >= debut + (largeur * bits + 31) / 32 * 4 * hauteur;
}

// The cells of a strip of cells of that size, magenta made transparent; none when the file is not
// such a strip.
std::vector<QImage> LitBande(const QString& fichier, int taille) {
    std::vector<QImage> images(NombreIcones);
    QImageReader lecteur(fichier);
    const QSize dimensions = lecteur.size();
    // A strip is one row of cells; anything much larger is not ours and is not decoded.
    if (!dimensions.isValid() || dimensions.height() != taille || dimensions.width() > taille * 64 ||
        !BmpEntier(fichier))
        return images;
    const QImage strip = lecteur.read().convertToFormat(QImage::Format_ARGB32);
    if (strip.isNull() || strip.height() != taille) return images;
    const int cellules = std::min(NombreIcones, strip.width() / taille);
    for (int i = 0; i < cellules; ++i) {
        QImage cellule = strip.copy(i * taille, 0, taille, taille);
        for (int y = 0; y < taille; ++y) {
            auto* ligne = reinterpret_cast<QRgb*>(cellule.scanLine(y));
            for (int x = 0; x < taille; ++x)
                if ((ligne[x] & 0xFFFFFFu) == 0xFF00FFu) ligne[x] = 0;
        }
        images[static_cast<size_t>(i)] = std::move(cellule);
    }
    return images;
}

const QImage& Cellule(const std::vector<QImage>& images, int index) {
    static const QImage vide;
    return index >= 0 && index < static_cast<int>(images.size()) ? images[static_cast<size_t>(index)] : vide;
}

} // namespace

void TBandeIcones::AjouteA(QIcon& icone, int index, QIcon::Mode mode) const {
    for (const QImage* image : {&Cellule(Images, index), &Cellule(Images2x, index)})
        if (!image->isNull()) icone.addPixmap(QPixmap::fromImage(*image), mode);
}

QIcon TBandeIcones::Icone(int index) const {
    QIcon icone;
    AjouteA(icone, index, QIcon::Normal);
    return icone;
}

QString FichierBande2x(const QString& fichier) {
    const QFileInfo info(fichier);
    const QString suffixe = info.suffix();
    const QString base = suffixe.isEmpty() ? fichier : fichier.left(fichier.size() - suffixe.size() - 1);
    return base + QStringLiteral("-2x") + (suffixe.isEmpty() ? QString() : u'.' + suffixe);
}

TBandeIcones ChargeBandeIcones(const QString& fichier) {
    TBandeIcones bande;
    bande.Images = LitBande(fichier, TailleIcone);
    bande.Images2x = LitBande(FichierBande2x(fichier), 2 * TailleIcone);
    // The dense strip only accompanies the strip: without a cell of the strip, the program has no
    // such icon at any density.
    for (std::size_t i = 0; i < bande.Images.size(); ++i)
        if (bande.Images[i].isNull()) bande.Images2x[i] = QImage();
    return bande;
}
