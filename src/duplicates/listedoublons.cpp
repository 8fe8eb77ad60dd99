#include "listedoublons.h"

#include "app/chemins.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>

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

int CompareChemins(const QString& a, const QString& b) {
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    const qsizetype commun = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < commun; ++i) {
        auto cx = static_cast<unsigned char>(x[i]), cy = static_cast<unsigned char>(y[i]);
        if (cx >= 'a' && cx <= 'z') cx = static_cast<unsigned char>(cx - 32);
        if (cy >= 'a' && cy <= 'z') cy = static_cast<unsigned char>(cy - 32);
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

bool TListeDoublons::Sauve(const QString& base, QStringList& texte) {
    texte << EnteteSignatures;
    std::stable_sort(Miniatures.begin(), Miniatures.end(),
                     [](const auto& a, const auto& b) { return CompareChemins(a->Fichier, b->Fichier) < 0; });
    QByteArray enregistrements;
    enregistrements.reserve(static_cast<qsizetype>(Miniatures.size()) * TailleEnregistrement);
    for (const auto& miniature : Miniatures) {
        enregistrements.append(reinterpret_cast<const char*>(miniature->Grille.data()), 100);
        char proportion[8];
        qToLittleEndian(miniature->Proportion, proportion);
        enregistrements.append(proportion, 8);
        texte << Chemins::NomDeFichier(miniature->Fichier);
    }
    texte << EnteteIntraitables;
    texte << Intraitables;

    QSaveFile fichier(base + QStringLiteral(".dat"));
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(enregistrements) != enregistrements.size()) {
        fichier.cancelWriting();
        return false;
    }
    return fichier.commit();
}

void TListeDoublons::Lit(const QString& base, const QStringList& texte, const QString& dossier) {
    QFile fichier(base + QStringLiteral(".dat"));
    const qsizetype signatures = texte.indexOf(EnteteSignatures);
    if (signatures >= 0 && fichier.open(QIODevice::ReadOnly)) {
        // A partial record at the end is ignored; names run up to the next section header.
        const QByteArray donnees = fichier.readAll();
        const qsizetype enregistrements = donnees.size() / TailleEnregistrement;
        qsizetype ligne = signatures + 1;
        for (qsizetype i = 0; i < enregistrements && ligne < texte.size() && !EstEnteteDeSection(texte[ligne]);
             ++i, ++ligne) {
            const QString& nom = texte[ligne];
            if (!EstNomSimple(nom)) continue;
            auto miniature = std::make_shared<Tminiature>();
            const char* enregistrement = donnees.constData() + i * TailleEnregistrement;
            std::memcpy(miniature->Grille.data(), enregistrement, 100);
            miniature->Proportion = qFromLittleEndian<double>(enregistrement + 100);
            miniature->Fichier = Chemins::Joint(dossier, nom);
            Miniatures.push_back(std::move(miniature));
        }
    }
    // The untreatable paths run to the next line that begins a section, or to the end.
    const qsizetype intraitables = texte.indexOf(EnteteIntraitables);
    if (intraitables < 0) return;
    for (qsizetype ligne = intraitables + 1; ligne < texte.size() && !texte[ligne].startsWith(u'['); ++ligne)
        Intraitables << texte[ligne];
}
