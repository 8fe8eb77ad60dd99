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

} // namespace

TMagasinSignatures::TMagasinSignatures(QString dossierSignatures) : dossier(std::move(dossierSignatures)) {}

QString TMagasinSignatures::FichierIndex() const { return Chemins::Joint(dossier, QStringLiteral("Index.txt")); }

QString TMagasinSignatures::CheminDeBase(const QString& nomDeBase) const { return Chemins::Joint(dossier, nomDeBase); }

QStringList TMagasinSignatures::LitIndex() const {
    QStringList index;
    TexteFichier::Lit(FichierIndex(), index);
    return index;
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
    liste.Lit(CheminDeBase(nom), texte, cherche);
    const qsizetype debut = texte.indexOf(EnteteDoublons);
    if (debut >= 0) doublons << texte.mid(debut + 1);
}

bool TMagasinSignatures::Sauve(TListeDoublons& liste, const QStringList& doublons) const {
    QStringList index = LitIndex();
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
    QStringList index = LitIndex();
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
