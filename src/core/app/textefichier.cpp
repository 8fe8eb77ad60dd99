#include "textefichier.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace TexteFichier {

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F; the other bytes are Latin-1.
constexpr char16_t Cp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Only a file's first bytes can be its byte order mark; a U+FEFF anywhere else is a character of
// the text, kept as it is.
const QByteArray MarqueUtf8("\xEF\xBB\xBF");
constexpr QStringDecoder::Flags FeffCommeTexte =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

} // namespace

QString DecodeOctets(const QByteArray& octets) {
    QStringDecoder utf8(QStringDecoder::Utf8, FeffCommeTexte);
    QString texte = utf8.decode(octets);
    if (!utf8.hasError()) return texte;
    texte.resize(octets.size());
    for (qsizetype i = 0; i < octets.size(); ++i) {
        const auto octet = static_cast<unsigned char>(octets[i]);
        texte[i] = QChar(octet >= 0x80 && octet < 0xA0 ? Cp1252[octet - 0x80] : char16_t(octet));
    }
    return texte;
}

namespace {

// Cuts text at CR, LF and CR LF.
template <typename Texte, typename Ajout> void DecoupeLignes(const Texte& texte, Ajout ajoute) {
    qsizetype debut = 0;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (texte[i] != '\r' && texte[i] != '\n') continue;
        ajoute(texte.mid(debut, i - debut));
        if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
        debut = i + 1;
    }
    if (debut < texte.size()) ajoute(texte.mid(debut));
}

} // namespace

QStringList Lignes(const QByteArray& fichier) {
    const QByteArray octets = fichier.startsWith(MarqueUtf8) ? fichier.mid(MarqueUtf8.size()) : fichier;
    QStringList lignes;
    QStringDecoder utf8(QStringDecoder::Utf8, FeffCommeTexte);
    const QString texte = utf8.decode(octets);
    if (!utf8.hasError()) {
        DecoupeLignes(texte, [&](const QString& ligne) { lignes << ligne; });
        return lignes;
    }
    // A file whose lines were written by different programs (ours in UTF-8, an editor in the
    // Windows code page): each line is read in the encoding it is valid in. CR and LF are the
    // same bytes in both.
    DecoupeLignes(octets, [&](const QByteArray& ligne) { lignes << DecodeOctets(ligne); });
    return lignes;
}

QList<QByteArray> LignesOctets(const QByteArray& fichier) {
    const QByteArray octets = fichier.startsWith(MarqueUtf8) ? fichier.mid(MarqueUtf8.size()) : fichier;
    QList<QByteArray> lignes;
    DecoupeLignes(octets, [&](const QByteArray& ligne) { lignes << ligne; });
    return lignes;
}

bool EstUtf8(const QByteArray& octets) {
    QStringDecoder utf8(QStringDecoder::Utf8, FeffCommeTexte);
    // The decoding is done when the result is taken as text.
    const QString texte = utf8.decode(octets);
    return !utf8.hasError();
}

bool Lit(const QString& fichier, QStringList& lignes) {
    lignes.clear();
    QFile source(fichier);
    if (!source.open(QIODevice::ReadOnly)) return false;
    lignes = Lignes(source.readAll());
    return true;
}

QByteArray Octets(const QStringList& lignes) {
    QByteArray octets;
    // A first line that begins with U+FEFF would read back as a byte order mark and lose it: a mark
    // of its own before it keeps it.
    if (!lignes.isEmpty() && lignes.front().startsWith(QChar(0xFEFF))) octets += MarqueUtf8;
    for (const QString& ligne : lignes) {
        octets += ligne.toUtf8();
        octets += "\r\n";
    }
    return octets;
}

QByteArray Octets(const QList<QByteArray>& lignes) {
    QByteArray octets;
    if (!lignes.isEmpty() && lignes.front().startsWith(MarqueUtf8)) octets += MarqueUtf8;
    for (const QByteArray& ligne : lignes) {
        octets += ligne;
        octets += "\r\n";
    }
    return octets;
}

bool EcritOctets(const QString& fichier, const QByteArray& octets) {
    QSaveFile cible(fichier);
    if (!cible.open(QIODevice::WriteOnly)) return false;
    if (cible.write(octets) != octets.size()) {
        cible.cancelWriting();
        return false;
    }
    return cible.commit();
}

bool Ecrit(const QString& fichier, const QStringList& lignes) {
    return EcritOctets(fichier, Octets(lignes));
}

QString GardeOriginal(const QString& fichier) {
    QFile original(fichier);
    if (!original.open(QIODevice::ReadOnly)) return QString();
    const QByteArray octets = original.readAll();
    for (int n = 1; n <= 100; ++n) {
        const QString copie =
            fichier + QStringLiteral(".illisible") + (n == 1 ? QString() : QStringLiteral("-%1").arg(n));
        QFile existante(copie);
        if (existante.exists()) {
            if (existante.open(QIODevice::ReadOnly) && existante.readAll() == octets) return copie;
            continue;
        }
        return EcritOctets(copie, octets) ? copie : QString();
    }
    return QString();
}

} // namespace TexteFichier
