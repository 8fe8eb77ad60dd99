#include "magasin.h"

#include "app/chemins.h"
#include "app/textefichier.h"

#include <QFile>

#include <algorithm>
#include <random>

QString NomAleatoire() {
    static std::mt19937 generateur{std::random_device{}()};
    static std::uniform_int_distribution<int> lettre(0, 25);
    QString nom(20, Qt::Uninitialized);
    for (QChar& c : nom) c = QChar(u'A' + lettre(generateur));
    return nom;
}

QString LigneDoublon(int32_t dissemblance, const QString& nouvelle, const QString& ancienne) {
    return QStringLiteral("%1*%2*%3*").arg(dissemblance, 10, 10, QChar(u'0')).arg(nouvelle, ancienne);
}

namespace {

bool EstNomDeBase(const QString& nom) {
    if (nom.size() != 20) return false;
    return std::all_of(nom.begin(), nom.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

const QString EnteteDoublons = QStringLiteral("[Doublons]");

// Ten digits, then two paths, each field followed by "*".
bool EstLigneDoublon(const QString& ligne) {
    if (ligne.size() < 15 || ligne.back() != u'*' || ligne[10] != u'*' || ligne.count(u'*') != 3) return false;
    const qsizetype second = ligne.indexOf(u'*', 11);
    if (second == 11 || second == ligne.size() - 2) return false;
    return std::all_of(ligne.begin(), ligne.begin() + 10, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

TMagasinSignatures::TMagasinSignatures(QString dossierSignatures) : dossier(std::move(dossierSignatures)) {}

QString TMagasinSignatures::FichierIndex() const { return Chemins::Joint(dossier, QStringLiteral("Index.txt")); }

QString TMagasinSignatures::CheminDeBase(const QString& nomDeBase) const { return Chemins::Joint(dossier, nomDeBase); }

QStringList TMagasinSignatures::LitIndex(bool* protege) const {
    QStringList lignes;
    TexteFichier::Lit(FichierIndex(), lignes);
    // Only pairs of a folder and a base name; a line that belongs to no pair shifts nothing after it.
    QStringList index;
    bool entier = true;
    for (qsizetype k = 0; k < lignes.size();) {
        if (k + 1 < lignes.size() && !lignes[k].isEmpty() && EstNomDeBase(lignes[k + 1])) {
            index << lignes[k] << lignes[k + 1];
            k += 2;
        } else {
            entier = false;
            ++k;
        }
    }
    // What is dropped is kept aside before the index is written again; when it cannot be, the
    // index is not written over.
    if (protege) *protege = !entier && TexteFichier::GardeOriginal(FichierIndex()).isEmpty();
    return index;
}

void TMagasinSignatures::GardeSiIncomplet(const QString& base, bool entier) const {
    if (entier) return;
    for (const QString& extension : {QStringLiteral(".txt"), QStringLiteral(".dat")})
        if (QFile::exists(base + extension)) TexteFichier::GardeOriginal(base + extension);
}

qsizetype TMagasinSignatures::LigneDuDossier(const QStringList& index, const QString& cherche) {
    for (qsizetype k = 0; k + 1 < index.size(); k += 2)
        if (index[k].compare(cherche, Qt::CaseInsensitive) == 0) return k;
    return -1;
}

QString TMagasinSignatures::NomDeBase(const QString& cherche) const {
    const QStringList index = LitIndex();
    const qsizetype k = LigneDuDossier(index, cherche);
    return k >= 0 && EstNomDeBase(index[k + 1]) ? index[k + 1] : QString();
}

void TMagasinSignatures::Charge(const QString& cherche, TListeDoublons& liste, QStringList& doublons) const {
    const QString nom = NomDeBase(cherche);
    if (nom.isEmpty()) return;
    QStringList texte;
    if (!TexteFichier::Lit(CheminDeBase(nom) + QStringLiteral(".txt"), texte)) return;
    bool entier = liste.Lit(CheminDeBase(nom), texte, cherche);
    const qsizetype debut = texte.indexOf(EnteteDoublons);
    for (qsizetype ligne = debut < 0 ? texte.size() : debut + 1; ligne < texte.size(); ++ligne) {
        if (EstLigneDoublon(texte[ligne]))
            doublons << texte[ligne];
        else
            entier = false;
    }
    // The files will be written again with what was understood: what was not is kept aside first.
    GardeSiIncomplet(CheminDeBase(nom), entier);
}

bool TMagasinSignatures::Sauve(TListeDoublons& liste, const QStringList& doublons) const {
    bool protege = false;
    QStringList index = LitIndex(&protege);
    if (protege) return false;
    qsizetype k = LigneDuDossier(index, liste.Dossier);
    if (k < 0) {
        index << liste.Dossier << NomAleatoire();
        k = index.size() - 2;
    } else if (!EstNomDeBase(index[k + 1])) {
        index[k + 1] = NomAleatoire();
    }
    const QString base = CheminDeBase(index[k + 1]);
    bool reussi = true;
    if (liste.Miniatures.empty() && liste.Intraitables.isEmpty() && doublons.isEmpty()) {
        // Nothing to keep: no files, but the index keeps the folder's name.
        for (const QString& extension : {QStringLiteral(".txt"), QStringLiteral(".dat")})
            if (QFile::exists(base + extension) && !QFile::remove(base + extension)) reussi = false;
    } else {
        QStringList texte;
        reussi = liste.Sauve(base, texte);
        texte << EnteteDoublons << doublons;
        reussi = reussi && TexteFichier::Ecrit(base + QStringLiteral(".txt"), texte);
    }
    return TexteFichier::Ecrit(FichierIndex(), index) && reussi;
}

bool TMagasinSignatures::Efface(const QString& cherche) const {
    bool protege = false;
    QStringList index = LitIndex(&protege);
    if (protege) return false;
    const qsizetype k = LigneDuDossier(index, cherche);
    if (k < 0) return true;
    bool reussi = true;
    if (EstNomDeBase(index[k + 1])) {
        const QString base = CheminDeBase(index[k + 1]);
        for (const QString& extension : {QStringLiteral(".txt"), QStringLiteral(".dat")})
            if (QFile::exists(base + extension) && !QFile::remove(base + extension)) reussi = false;
    }
    index.remove(k + 1);
    index.remove(k);
    return TexteFichier::Ecrit(FichierIndex(), index) && reussi;
}
