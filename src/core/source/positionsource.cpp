#include "positionsource.h"

#include "core/app/chemins.h"
#include "core/app/textefichier.h"
#include "sourceliste.h"

#include <QFile>

#include <algorithm>

namespace PositionSource {

namespace {

const QByteArray CleDossier("Dossier=");
const QByteArray CleFichier("Fichier=");

// Well beyond two of the longest paths a system takes, escaped; anything larger is not ours.
constexpr qint64 TailleMax = 64 * 1024;

bool EstControle(unsigned char octet) {
    return octet < 0x20 || octet == 0x7F;
}

// A name on one line of text: the bytes that would break the line or its reading escaped, and
// every byte above 127 as well when the name is not UTF-8, so that the file stays text.
QByteArray Echappe(const QByteArray& octets) {
    const bool utf8 = TexteFichier::EstUtf8(octets);
    QByteArray texte;
    texte.reserve(octets.size());
    for (const char c : octets) {
        const auto octet = static_cast<unsigned char>(c);
        if (EstControle(octet) || c == '%' || (octet >= 0x80 && !utf8))
            texte += '%' + QByteArray::number(octet, 16).rightJustified(2, '0').toUpper();
        else
            texte += c;
    }
    return texte;
}

int Hexa(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes back; none when the text holds a control byte or a "%" not followed by two digits.
std::optional<QByteArray> Desechappe(const QByteArray& texte) {
    QByteArray octets;
    octets.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        if (EstControle(static_cast<unsigned char>(c))) return std::nullopt;
        if (c != '%') {
            octets += c;
            continue;
        }
        if (i + 2 >= texte.size()) return std::nullopt;
        const int fort = Hexa(texte[i + 1]);
        const int faible = Hexa(texte[i + 2]);
        if (fort < 0 || faible < 0) return std::nullopt;
        octets += static_cast<char>(fort * 16 + faible);
        i += 2;
    }
    return octets;
}

bool NomSansDossier(const QByteArray& nom) {
    return std::none_of(nom.begin(), nom.end(),
                        [](char c) { return c == '\0' || Chemins::EstSeparateur(QChar::fromLatin1(c)); });
}

} // namespace

QString FichierPres(const QString& configuration) {
    return configuration + QStringLiteral(".position");
}

TPositionSource Releve(const TSourceListe& liste) {
    TPositionSource position{QFile::encodeName(liste.Chemin), {}};
    const int nombre = liste.Fichiers.Count();
    // Right after a filing the index may stand one past the end until the display catches up.
    if (nombre > 0)
        position.Fichier = liste.Fichiers.Element(std::clamp(liste.IndexAffiche, 0, nombre - 1))->Nom;
    return position;
}

bool Ecrit(const QString& fichier, const TPositionSource& position) {
    return TexteFichier::EcritOctets(
        fichier, TexteFichier::Octets(QList<QByteArray>{CleDossier + Echappe(position.Dossier),
                                                        CleFichier + Echappe(position.Fichier)}));
}

std::optional<TPositionSource> Lit(const QString& fichier) {
    QFile source(fichier);
    if (!source.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray octets = source.read(TailleMax + 1);
    if (source.error() != QFileDevice::NoError || octets.size() > TailleMax) return std::nullopt;

    std::optional<QByteArray> dossier, nom;
    for (const QByteArray& ligne : TexteFichier::LignesOctets(octets)) {
        if (ligne.isEmpty()) continue;
        const bool estDossier = ligne.startsWith(CleDossier);
        std::optional<QByteArray>* cible =
            estDossier ? &dossier : (ligne.startsWith(CleFichier) ? &nom : nullptr);
        // A line of another kind, or a key given twice: not a file of ours.
        if (!cible || cible->has_value()) return std::nullopt;
        *cible = Desechappe(ligne.mid((estDossier ? CleDossier : CleFichier).size()));
        if (!cible->has_value()) return std::nullopt;
    }
    if (!dossier || !nom || dossier->isEmpty() || !NomSansDossier(*nom)) return std::nullopt;
    return TPositionSource{*dossier, *nom};
}

bool Place(TSourceListe& liste, const TPositionSource& position) {
    if (position.Fichier.isEmpty() || QFile::encodeName(liste.Chemin) != position.Dossier) return false;
    for (int i = 0; i < liste.Fichiers.Count(); ++i) {
        if (liste.Fichiers.Element(i)->Nom != position.Fichier) continue;
        liste.IndexAffiche = i;
        liste.IndexDemande = i;
        liste.CouranteRetiree = false;
        return true;
    }
    return false;
}

bool Garde(const TSourceListe& liste, const QString& configuration) {
    return Ecrit(FichierPres(configuration), Releve(liste));
}

bool Restaure(TSourceListe& liste, const QString& configuration) {
    const std::optional<TPositionSource> position = Lit(FichierPres(configuration));
    return position && Place(liste, *position);
}

} // namespace PositionSource
