#include "listedoublons.h"

#include "core/app/chemins.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

namespace {

const QString EnteteSignatures = QStringLiteral("[Signatures]");
const QString EnteteIntraitables = QStringLiteral("[intraitables]");
const QString EnteteDoublons = QStringLiteral("[Doublons]");

bool EstEnteteDeSection(const QString& ligne) {
    return ligne == EnteteSignatures || ligne == EnteteIntraitables || ligne == EnteteDoublons;
}

// A name that stays inside its folder.
bool EstNomSimple(const QString& nom) {
    if (nom.isEmpty() || nom == QStringLiteral(".") || nom == QStringLiteral("..")) return false;
    return !nom.contains(u'/') && !nom.contains(u'\\') && !nom.contains(QChar(0));
}

} // namespace

namespace {

// The bytes of a path with a-z made capitals: comparing two keys byte by byte compares the paths.
QByteArray CleDeChemin(const QString& chemin) {
    QByteArray cle = chemin.toUtf8();
    for (char& c : cle)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return cle;
}

} // namespace

TEtatFichier TEtatFichier::De(const QByteArray& chemin) {
    struct stat etat {};
    if (::stat(chemin.constData(), &etat) != 0) return {};
    return {static_cast<int64_t>(etat.st_size),
            static_cast<int64_t>(etat.st_mtim.tv_sec) * 1000000000 + etat.st_mtim.tv_nsec};
}

namespace {

// An untreatable image's line: its path, then its state when known. An image's name ends with its
// extension, never with "*", so a line ending with two numbers between "*" holds a state.
QString LigneIntraitable(const QString& fichier, const QHash<QString, TEtatFichier>& etats) {
    const auto etat = etats.constFind(fichier);
    if (etat == etats.cend() || etat->Taille < 0) return fichier;
    return QStringLiteral("%1*%2*%3*").arg(fichier).arg(etat->Taille).arg(etat->Modification);
}

void LitIntraitable(const QString& ligne, QStringList& fichiers, QHash<QString, TEtatFichier>& etats) {
    if (ligne.endsWith(u'*')) {
        const QStringList champs = ligne.chopped(1).split(u'*');
        bool tailleLue = false, dateLue = false;
        if (champs.size() >= 3) {
            const TEtatFichier etat{champs[champs.size() - 2].toLongLong(&tailleLue),
                                    champs.back().toLongLong(&dateLue)};
            const QString fichier = ligne.left(ligne.size() - 1 - champs[champs.size() - 2].size() - 1 -
                                               champs.back().size() - 1);
            if (tailleLue && dateLue && etat.Taille >= 0 && !fichier.isEmpty()) {
                fichiers << fichier;
                etats.insert(fichier, etat);
                return;
            }
        }
    }
    fichiers << ligne;
}

} // namespace

int CompareChemins(const QString& a, const QString& b) {
    const QByteArray x = CleDeChemin(a), y = CleDeChemin(b);
    const int ordre =
        std::memcmp(x.constData(), y.constData(), static_cast<size_t>(std::min(x.size(), y.size())));
    if (ordre != 0) return ordre < 0 ? -1 : 1;
    return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

void TListeDoublons::Serialise(QStringList& texte, QByteArray& enregistrements) {
    texte << EnteteSignatures;
    // Sorted by CompareChemins, each key made once.
    std::vector<std::pair<QByteArray, std::shared_ptr<Tminiature>>> triees;
    triees.reserve(Miniatures.size());
    for (auto& miniature : Miniatures)
        triees.emplace_back(CleDeChemin(miniature->Fichier), std::move(miniature));
    std::stable_sort(triees.begin(), triees.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < triees.size(); ++i)
        Miniatures[i] = std::move(triees[i].second);
    enregistrements.reserve(static_cast<qsizetype>(Miniatures.size()) * TailleEnregistrement);
    for (const auto& miniature : Miniatures) {
        enregistrements.append(reinterpret_cast<const char*>(miniature->Grille.data()), 100);
        char proportion[8];
        qToLittleEndian(miniature->Proportion, proportion);
        enregistrements.append(proportion, 8);
        texte << Chemins::NomDeFichier(miniature->Fichier);
    }
    texte << EnteteIntraitables;
    for (const QString& fichier : std::as_const(Intraitables))
        texte << LigneIntraitable(fichier, EtatsIntraitables);
}

bool TListeDoublons::Lit(const QByteArray* enregistrements, const QStringList& texte,
                         const QString& dossier) {
    bool entier = true;
    const qsizetype signatures = texte.indexOf(EnteteSignatures);
    if (signatures >= 0 && enregistrements) {
        // A partial record at the end is ignored; names run up to the next section header.
        const QByteArray& donnees = *enregistrements;
        const qsizetype nombre = donnees.size() / TailleEnregistrement;
        entier = donnees.size() % TailleEnregistrement == 0;
        qsizetype ligne = signatures + 1;
        qsizetype i = 0;
        for (; i < nombre && ligne < texte.size() && !EstEnteteDeSection(texte[ligne]); ++i, ++ligne) {
            const QString& nom = texte[ligne];
            if (!EstNomSimple(nom)) {
                entier = false;
                continue;
            }
            auto miniature = std::make_shared<Tminiature>();
            const char* enregistrement = donnees.constData() + i * TailleEnregistrement;
            std::memcpy(miniature->Grille.data(), enregistrement, 100);
            miniature->Proportion = qFromLittleEndian<double>(enregistrement + 100);
            miniature->Fichier = Chemins::Joint(dossier, nom);
            Miniatures.push_back(std::move(miniature));
        }
        // Records without a name, or names without a record.
        if (i < nombre || (ligne < texte.size() && !EstEnteteDeSection(texte[ligne]))) entier = false;
    } else if (signatures >= 0 && signatures + 1 < texte.size() &&
               !EstEnteteDeSection(texte[signatures + 1])) {
        entier = false; // names without their records
    }
    // The untreatable paths run to the next line that begins a section, or to the end.
    const qsizetype intraitables = texte.indexOf(EnteteIntraitables);
    if (intraitables < 0) return entier;
    for (qsizetype ligne = intraitables + 1; ligne < texte.size() && !texte[ligne].startsWith(u'['); ++ligne)
        LitIntraitable(texte[ligne], Intraitables, EtatsIntraitables);
    return entier;
}
