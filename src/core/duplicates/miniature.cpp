#include "miniature.h"

#include "core/source/decodage.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

bool Tminiature::Calcule(const QString& chemin) {
    return CalculeOctets(QFile::encodeName(chemin)) == ResultatCalcul::Calculee;
}

ResultatCalcul Tminiature::CalculeOctets(const QByteArray& chemin, const std::atomic<bool>* arret) {
    const TImageDecodee image = DecodeImagePourSignature(chemin, arret);
    if (image.Abandonne) return ResultatCalcul::Abandonnee;
    if (image.Inaccessible) return ResultatCalcul::Inaccessible;
    if (!image.Lisible || image.Naturelle.width() == 0) return ResultatCalcul::Intraitable;
    // The size tests and the proportion use the natural size; the grid, the decoded pixels.
    if (image.Naturelle.width() < 10 || image.Naturelle.height() < 10) return ResultatCalcul::Intraitable;
    if (image.Image.width() < 10 || image.Image.height() < 10) return ResultatCalcul::Intraitable;
    Fichier = QFile::decodeName(chemin);
    CalculeGrille(image.Image, image.Naturelle);
    Proportion = static_cast<double>(image.Naturelle.width()) / image.Naturelle.height();
    return ResultatCalcul::Calculee;
}

namespace {

QImage En32Bits(const QImage& source) {
    return source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
               ? source
               : source.convertToFormat(QImage::Format_RGB32);
}

// Where the decoded pixels of one direction fall among the ten cells of the natural picture: the
// first cell a pixel touches, the share of it in that cell, and the rest in the next cell.
struct Repartition {
    int cellule;
    double part;
};

std::vector<Repartition> Repartitions(int decode, int naturel) {
    std::vector<Repartition> repartitions(static_cast<size_t>(decode));
    const double echelle = static_cast<double>(naturel) / decode;
    const double largeurCellule = naturel / 10.0;
    for (int i = 0; i < decode; ++i) {
        const double debut = i * echelle, fin = std::min<double>(naturel, (i + 1) * echelle);
        const int cellule = std::min(9, static_cast<int>(debut / largeurCellule));
        const double limite = (cellule + 1) * largeurCellule;
        const double part = fin <= limite || cellule == 9 ? 1.0 : (limite - debut) / (fin - debut);
        repartitions[static_cast<size_t>(i)] = {cellule, part};
    }
    return repartitions;
}

} // namespace

void Tminiature::CalculeGrille(const QImage& source, QSize naturelle) {
    if (naturelle == source.size() || naturelle.isEmpty()) {
        CalculeGrille(source);
        return;
    }
    const QImage image = En32Bits(source);
    const std::vector<Repartition> colonnes = Repartitions(image.width(), naturelle.width());
    const std::vector<Repartition> lignes = Repartitions(image.height(), naturelle.height());
    double somme[10][10] = {};
    double poids[10][10] = {};
    double poidsColonne[10] = {};
    for (const Repartition& r : colonnes) {
        poidsColonne[r.cellule] += r.part;
        if (r.part < 1.0) poidsColonne[r.cellule + 1] += 1.0 - r.part;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        double parColonne[10] = {};
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = ligne[x];
            const double valeur = qRed(p) + qGreen(p) + qBlue(p);
            const Repartition& r = colonnes[static_cast<size_t>(x)];
            parColonne[r.cellule] += r.part * valeur;
            if (r.part < 1.0) parColonne[r.cellule + 1] += (1.0 - r.part) * valeur;
        }
        const Repartition& rl = lignes[static_cast<size_t>(y)];
        for (int c = 0; c < 10; ++c) {
            somme[c][rl.cellule] += rl.part * parColonne[c];
            poids[c][rl.cellule] += rl.part * poidsColonne[c];
            if (rl.part < 1.0) {
                somme[c][rl.cellule + 1] += (1.0 - rl.part) * parColonne[c];
                poids[c][rl.cellule + 1] += (1.0 - rl.part) * poidsColonne[c];
            }
        }
    }
    std::array<int, 100> moyennes{};
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r)
            // The weights are fractions, so a mean that is exactly g in whole numbers may come out
            // a hair below g: the small margin gives g, as the whole-picture path (exact integer
            // division) does, and a cut whose mean is g + 0.5 still gives g there as here.
            moyennes[static_cast<size_t>(10 * c + r)] =
                static_cast<int>(std::floor(somme[c][r] / (3 * (poids[c][r] > 0 ? poids[c][r] : 1)) + 1e-6));
    Etire(moyennes);
}

void Tminiature::CalculeGrille(const QImage& source) {
    const QImage image = En32Bits(source);
    const int largeur = image.width(), hauteur = image.height();
    // 64-bit sums: a cell of a very large picture may hold more than 2^31 / 765 pixels.
    int64_t somme[10][10] = {};
    int64_t nombre[10][10] = {};
    std::array<int, 10> largeurColonne{};
    std::vector<uint8_t> colonne(static_cast<size_t>(largeur));
    for (int x = 0; x < largeur; ++x) {
        colonne[static_cast<size_t>(x)] = static_cast<uint8_t>(10 * int64_t{x} / largeur);
        ++largeurColonne[colonne[static_cast<size_t>(x)]];
    }
    for (int y = 0; y < hauteur; ++y) {
        const int r = static_cast<int>(10 * int64_t{y} / hauteur);
        const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int64_t parColonne[10] = {};
        for (int x = 0; x < largeur; ++x) {
            const QRgb p = ligne[x];
            parColonne[colonne[static_cast<size_t>(x)]] += qRed(p) + qGreen(p) + qBlue(p);
        }
        for (int c = 0; c < 10; ++c) {
            somme[c][r] += parColonne[c];
            nombre[c][r] += largeurColonne[static_cast<size_t>(c)];
        }
    }

    std::array<int, 100> moyennes{};
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r) {
            const int64_t n = nombre[c][r] == 0 ? 1 : nombre[c][r];
            moyennes[static_cast<size_t>(10 * c + r)] = static_cast<int>(somme[c][r] / (3 * n));
        }
    Etire(moyennes);
}

void Tminiature::Etire(const std::array<int, 100>& moyennes) {
    // The minimum and maximum tests are chained: a value that lowers the minimum is not compared
    // with the maximum, so the first cell never raises it. Stored signatures rely on this.
    int minimum = 255, maximum = 0;
    for (const int v : moyennes) {
        if (v < minimum)
            minimum = v;
        else if (v > maximum)
            maximum = v;
    }
    const double milieu = (maximum + minimum) / 2.0;
    double echelle = (maximum - milieu) / 128.0;
    if (echelle == 0) echelle = 1;
    for (size_t k = 0; k < 100; ++k) {
        const double n = std::nearbyint((moyennes[k] - milieu) / echelle) + 128;
        Grille[k] = static_cast<uint8_t>(n > 255 ? 255 : (n < 0 ? 0 : n));
    }
}

int32_t Ecart(const Tminiature& a, const Tminiature& b) {
    return EcartGrilles(a.Grille.data(), b.Grille.data());
}

int32_t Dissemblance(const Tminiature& a, const Tminiature& b) {
    const long double produit =
        (std::fabs(static_cast<long double>(a.Proportion) - static_cast<long double>(b.Proportion)) + 1.0L) *
        static_cast<long double>(Ecart(a, b));
    // Beyond the largest 32-bit value (or not a number): saturated, never a duplicate.
    if (!(produit < 2147483647.5L)) return std::numeric_limits<int32_t>::max();
    // The default rounding mode rounds to nearest, ties to even, in one instruction.
    return static_cast<int32_t>(std::lrintl(produit));
}
