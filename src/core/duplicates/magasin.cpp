#include "magasin.h"

#include "core/app/chemins.h"
#include "core/app/textefichier.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <random>

QString NomAleatoire() {
    static std::mt19937 generateur{std::random_device{}()};
    static std::uniform_int_distribution<int> lettre(0, 25);
    QString nom(20, Qt::Uninitialized);
    for (QChar& c : nom)
        c = QChar(u'A' + lettre(generateur));
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

const QString EnteteSignatures = QStringLiteral("[Signatures]");
const QString EnteteIntraitables = QStringLiteral("[intraitables]");
const QString EnteteDoublons = QStringLiteral("[Doublons]");

// Ten digits, then two paths, each field followed by "*".
bool EstLigneDoublon(const QString& ligne) {
    if (ligne.size() < 15 || ligne.back() != u'*' || ligne[10] != u'*' || ligne.count(u'*') != 3)
        return false;
    const qsizetype second = ligne.indexOf(u'*', 11);
    if (second == 11 || second == ligne.size() - 2) return false;
    return std::all_of(ligne.begin(), ligne.begin() + 10, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

TMagasinSignatures::TMagasinSignatures(QString dossierSignatures, TIndexPartage* indexPartage,
                                       QStringList* copies)
    : dossier(std::move(dossierSignatures)), partage(indexPartage), copiesGardees(copies) {}

QString TMagasinSignatures::FichierIndex() const {
    return Chemins::Joint(dossier, QStringLiteral("Index.txt"));
}

QString TMagasinSignatures::CheminDeBase(const QString& nomDeBase) const {
    return Chemins::Joint(dossier, nomDeBase);
}

QStringList TMagasinSignatures::LitIndex(bool* protege, bool* aReecrire) const {
    if (partage && partage->Lu) {
        if (protege) *protege = partage->Protege;
        if (aReecrire) *aReecrire = false;
        return partage->Lignes;
    }
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
    const bool aProteger = !entier && Garde(FichierIndex()).isEmpty();
    if (protege) *protege = aProteger;
    // Once its original is kept aside, an index that held more than pairs is written back clean.
    if (aReecrire) *aReecrire = !entier && !aProteger;
    if (partage) {
        partage->Modifie = !entier && !aProteger;
        partage->Lignes = index;
        partage->LigneParDossier.clear();
        for (qsizetype k = index.size() - 2; k >= 0; k -= 2)
            partage->LigneParDossier[index[k].toCaseFolded()] = k;
        partage->Lu = true;
        partage->Protege = aProteger;
    }
    return index;
}

bool TMagasinSignatures::EcritIndex(const QStringList& index) const {
    if (!partage) return TexteFichier::Ecrit(FichierIndex(), index);
    partage->Lignes = index;
    partage->Modifie = true;
    return true;
}

bool TMagasinSignatures::TermineLot(TIndexPartage& index) const {
    if (!index.Modifie || index.Protege) return !index.Modifie;
    index.Modifie = false;
    QStringList lignes;
    for (qsizetype k = 0; k + 1 < index.Lignes.size(); k += 2)
        if (!index.Lignes[k].isEmpty()) lignes << index.Lignes[k] << index.Lignes[k + 1];
    return TexteFichier::Ecrit(FichierIndex(), lignes);
}

QString TMagasinSignatures::Garde(const QString& fichier) const {
    const QString copie = TexteFichier::GardeOriginal(fichier);
    if (!copie.isEmpty() && copiesGardees && !copiesGardees->contains(copie)) *copiesGardees << copie;
    return copie;
}

void TMagasinSignatures::GardeSiIncomplet(const QString& base, bool entier) const {
    if (entier) return;
    for (const QString& extension : {QStringLiteral(".txt"), QStringLiteral(".dat")})
        if (QFile::exists(base + extension)) Garde(base + extension);
}

qsizetype TMagasinSignatures::LigneDuDossier(const QStringList& index, const QString& cherche) const {
    if (partage && partage->Lu) {
        const auto trouve = partage->LigneParDossier.find(cherche.toCaseFolded());
        return trouve == partage->LigneParDossier.end() ? -1 : trouve->second;
    }
    for (qsizetype k = 0; k + 1 < index.size(); k += 2)
        if (index[k].compare(cherche, Qt::CaseInsensitive) == 0) return k;
    return -1;
}

QString TMagasinSignatures::NomDeBase(const QString& cherche) const {
    const QStringList index = LitIndex();
    const qsizetype k = LigneDuDossier(index, cherche);
    return k >= 0 && EstNomDeBase(index[k + 1]) ? index[k + 1] : QString();
}

namespace {

QByteArray LitOctets(const QString& fichier, bool& present) {
    QFile source(fichier);
    present = source.open(QIODevice::ReadOnly);
    return present ? source.readAll() : QByteArray();
}

// What identifies the bytes of a folder's two files.
QByteArray Empreinte(const QByteArray& texte, const QByteArray& enregistrements) {
    QCryptographicHash empreinte(QCryptographicHash::Sha1);
    empreinte.addData(texte);
    empreinte.addData(QByteArrayView("\0", 1));
    empreinte.addData(enregistrements);
    return empreinte.result();
}

// The section that opens a ".txt" file and proves that its names and the ".dat" file's records
// were written together: the number of records, then a digest of the names and the records.
const QString EnteteControle = QStringLiteral("[Controle]");

QString Preuve(const QStringList& noms, const QByteArray& enregistrements) {
    QCryptographicHash empreinte(QCryptographicHash::Sha1);
    for (const QString& nom : noms) {
        empreinte.addData(nom.toUtf8());
        empreinte.addData(QByteArrayView("\n", 1));
    }
    empreinte.addData(enregistrements);
    return QStringLiteral("%1 %2")
        .arg(enregistrements.size() / TailleEnregistrement)
        .arg(QString::fromLatin1(empreinte.result().toHex()));
}

// Longest lines kept, in characters: a file name, a path and a duplicate line (two paths) as the
// file system allows them (its limits are in bytes, never fewer than characters). A longer line
// cannot be one of ours, and a cut path would name another file: such lines are dropped. A line
// of more bytes than the longest of them takes in UTF-8 is not even decoded.
constexpr qsizetype LongueurNomMax = 255;
constexpr qsizetype LongueurCheminMax = 4096;
constexpr qsizetype LongueurDoublonMax = 2 * LongueurCheminMax + 13;
constexpr qsizetype OctetsLigneMax = 3 * LongueurDoublonMax;

// The lines of a folder's ".txt" file that can be used, section by section. Only what the store
// can use is kept in memory: at most one name per record, untreatable paths of the folder taken
// once, well-formed duplicate lines; every other line leaves entier false.
struct TTexteMagasin {
    QString PreuveLue;
    bool AvecPreuve = false;
    bool AvecSignatures = false, AvecIntraitables = false;
    QStringList Noms, Intraitables, Doublons;
    bool Entier = true;
};

TTexteMagasin LitTexteMagasin(const QByteArray& fichier, qsizetype enregistrements, const QString& dossier) {
    TTexteMagasin lu;
    enum class Section { Avant, Controle, Signatures, Intraitables, Doublons, Ignoree };
    Section section = Section::Avant;
    bool vues[5] = {};
    const QString prefixe = Chemins::Joint(dossier, QString());
    QSet<QString> intraitablesVus;
    auto ligne = [&](QByteArrayView octets) {
        const QString texte =
            octets.size() <= OctetsLigneMax ? TexteFichier::DecodeOctets(octets.toByteArray()) : QString();
        const Section entete = texte == EnteteSignatures     ? Section::Signatures
                               : texte == EnteteIntraitables ? Section::Intraitables
                               : texte == EnteteDoublons     ? Section::Doublons
                                                             : Section::Avant;
        if (entete != Section::Avant) {
            // A second section of a kind holds lines that are not ours.
            bool& vue = vues[static_cast<int>(entete)];
            if (vue) lu.Entier = false;
            section = vue ? Section::Ignoree : entete;
            vue = true;
            return;
        }
        switch (section) {
        case Section::Avant:
            if (texte == EnteteControle && !lu.AvecPreuve && !vues[static_cast<int>(Section::Signatures)]) {
                lu.AvecPreuve = true;
                section = Section::Controle;
            } else {
                lu.Entier = false;
            }
            return;
        case Section::Controle:
            lu.PreuveLue = texte;
            section = Section::Avant;
            return;
        case Section::Signatures:
            // Each name stands for its record: an impossible one stays, empty, so that the names
            // after it keep their records.
            if (lu.Noms.size() < enregistrements)
                lu.Noms << (texte.size() <= LongueurNomMax ? texte : QString());
            else
                lu.Entier = false;
            return;
        case Section::Intraitables:
            if (texte.size() <= LongueurCheminMax && texte.size() > prefixe.size() &&
                texte.startsWith(prefixe, Qt::CaseInsensitive) && !intraitablesVus.contains(texte)) {
                intraitablesVus.insert(texte);
                lu.Intraitables << texte;
            } else {
                lu.Entier = false;
            }
            return;
        case Section::Doublons:
            if (texte.size() <= LongueurDoublonMax && EstLigneDoublon(texte))
                lu.Doublons << texte;
            else
                lu.Entier = false;
            return;
        case Section::Ignoree:
            lu.Entier = false;
            return;
        }
    };
    // CR, LF and CR LF end a line; a first UTF-8 byte order mark is not text.
    const QByteArray marque("\xEF\xBB\xBF");
    qsizetype debut = fichier.startsWith(marque) ? marque.size() : 0;
    for (qsizetype i = debut; i < fichier.size(); ++i) {
        if (fichier[i] != '\r' && fichier[i] != '\n') continue;
        ligne(QByteArrayView(fichier).sliced(debut, i - debut));
        if (fichier[i] == '\r' && i + 1 < fichier.size() && fichier[i + 1] == '\n') ++i;
        debut = i + 1;
    }
    if (debut < fichier.size()) ligne(QByteArrayView(fichier).sliced(debut));
    if (section == Section::Controle) lu.Entier = false;
    lu.AvecSignatures = vues[static_cast<int>(Section::Signatures)];
    lu.AvecIntraitables = vues[static_cast<int>(Section::Intraitables)];
    return lu;
}

} // namespace

void TMagasinSignatures::Charge(const QString& cherche, TListeDoublons& liste, QStringList& doublons) const {
    const QString nom = NomDeBase(cherche);
    if (nom.isEmpty()) return;
    bool txtPresent = false, datPresent = false;
    const QByteArray octetsTexte = LitOctets(CheminDeBase(nom) + QStringLiteral(".txt"), txtPresent);
    if (!txtPresent) return;
    const QByteArray enregistrements = LitOctets(CheminDeBase(nom) + QStringLiteral(".dat"), datPresent);
    TTexteMagasin lu = LitTexteMagasin(octetsTexte, enregistrements.size() / TailleEnregistrement, cherche);
    bool entier = lu.Entier;
    const QByteArray* donnees = datPresent ? &enregistrements : nullptr;
    // Files that say they were written together must prove it: otherwise (a save cut off between
    // its two files) no name is given a record, and the folder's images are signed again.
    if (lu.AvecPreuve && lu.PreuveLue != Preuve(lu.Noms, enregistrements)) {
        donnees = nullptr;
        lu.Noms.clear();
        entier = false;
    }
    QStringList texte;
    if (lu.AvecSignatures) texte << EnteteSignatures << lu.Noms;
    if (lu.AvecIntraitables) texte << EnteteIntraitables << lu.Intraitables;
    entier = liste.Lit(donnees, texte, cherche) && entier;
    doublons << lu.Doublons;
    // The files will be written again with what was understood: what was not is kept aside first.
    GardeSiIncomplet(CheminDeBase(nom), entier);
    // A store read whole and left as it is need not be written again.
    liste.EmpreinteSauvee = entier ? Empreinte(octetsTexte, enregistrements) : QByteArray();
}

namespace {

const QString Extensions[] = {QStringLiteral(".txt"), QStringLiteral(".dat")};
const QString SuffixeAvant = QStringLiteral(".avant");

} // namespace

bool TMagasinSignatures::GardeAvantChangement(const QString& cherche) const {
    const QString nom = NomDeBase(cherche);
    if (nom.isEmpty()) return true;
    bool reussi = true;
    for (const QString& extension : Extensions) {
        const QString fichier = CheminDeBase(nom) + extension;
        if (QFile::exists(fichier + SuffixeAvant) && !QFile::remove(fichier + SuffixeAvant)) reussi = false;
        bool present = false;
        const QByteArray octets = LitOctets(fichier, present);
        if (present && !TexteFichier::EcritOctets(fichier + SuffixeAvant, octets)) reussi = false;
        if (!present && QFile::exists(fichier)) reussi = false; // there, but not readable
    }
    return reussi;
}

bool TMagasinSignatures::RetablitAvantChangement(const QString& cherche) const {
    const QString nom = NomDeBase(cherche);
    if (nom.isEmpty()) return true;
    bool reussi = true;
    // The names first, as a save writes them: a restore cut off leaves a pair that does not prove
    // it matches, never names beside other records.
    for (const QString& extension : Extensions) {
        const QString fichier = CheminDeBase(nom) + extension;
        bool present = false;
        const QByteArray octets = LitOctets(fichier + SuffixeAvant, present);
        if (present)
            reussi = TexteFichier::EcritOctets(fichier, octets) && reussi;
        else if (QFile::exists(fichier + SuffixeAvant))
            reussi = false; // a copy that cannot be read
        else if (QFile::exists(fichier))
            reussi = QFile::remove(fichier) && reussi;
    }
    return reussi;
}

void TMagasinSignatures::OublieAvantChangement(const QString& cherche) const {
    const QString nom = NomDeBase(cherche);
    if (nom.isEmpty()) return;
    for (const QString& extension : Extensions)
        QFile::remove(CheminDeBase(nom) + extension + SuffixeAvant);
}

QList<TDossierStocke> TMagasinSignatures::Inventaire() const {
    const QStringList index = LitIndex();
    QList<TDossierStocke> dossiers;
    for (qsizetype i = 0; i + 1 < index.size(); i += 2) {
        TDossierStocke stocke;
        stocke.Dossier = index[i];
        const QString texte = CheminDeBase(index[i + 1]) + QStringLiteral(".txt");
        bool present = false;
        const QStringList lignes = TexteFichier::Lignes(LitOctets(texte, present));
        if (present) {
            // Each count runs from its section's header to the next one; a missing header counts
            // nothing.
            const qsizetype s = lignes.indexOf(EnteteSignatures), t = lignes.indexOf(EnteteIntraitables),
                            d = lignes.indexOf(EnteteDoublons), n = lignes.size();
            stocke.Signatures = std::max<qsizetype>(0, t - s - 1);
            stocke.Intraitables = std::max<qsizetype>(0, d - t - 1);
            stocke.Doublons = std::max<qsizetype>(0, n - d - 1);
            stocke.Date = QFileInfo(texte).lastModified();
        }
        dossiers << stocke;
    }
    return dossiers;
}

bool TMagasinSignatures::Sauve(TListeDoublons& liste, const QStringList& doublons) const {
    bool protege = false, aReecrire = false;
    QStringList index = LitIndex(&protege, &aReecrire);
    if (protege) return false;
    qsizetype k = LigneDuDossier(index, liste.Dossier);
    const bool indexChange = aReecrire || k < 0 || !EstNomDeBase(index[k + 1]);
    if (k < 0) {
        index << liste.Dossier << NomAleatoire();
        k = index.size() - 2;
        if (partage && partage->Lu) partage->LigneParDossier[liste.Dossier.toCaseFolded()] = k;
    } else if (!EstNomDeBase(index[k + 1])) {
        index[k + 1] = NomAleatoire();
    }
    const QString base = CheminDeBase(index[k + 1]);
    bool reussi = true;
    if (liste.Miniatures.empty() && liste.Intraitables.isEmpty() && doublons.isEmpty()) {
        // Nothing to keep: no files, but the index keeps the folder's name.
        for (const QString& extension : {QStringLiteral(".txt"), QStringLiteral(".dat")})
            if (QFile::exists(base + extension) && !QFile::remove(base + extension)) reussi = false;
        liste.EmpreinteSauvee.clear();
    } else {
        QStringList texte;
        QByteArray enregistrements;
        liste.Serialise(texte, enregistrements);
        texte << EnteteDoublons << doublons;
        const QStringList noms = texte.mid(1, static_cast<qsizetype>(liste.Miniatures.size()));
        texte.prepend(Preuve(noms, enregistrements));
        texte.prepend(EnteteControle);
        const QByteArray octetsTexte = TexteFichier::Octets(texte);
        const QByteArray empreinte = Empreinte(octetsTexte, enregistrements);
        const bool inchange = !indexChange && empreinte == liste.EmpreinteSauvee &&
                              QFile::exists(base + QStringLiteral(".txt")) &&
                              QFile::exists(base + QStringLiteral(".dat"));
        if (!inchange) {
            // The names first: a ".txt" left without its new records proves it does not match
            // them, where an old ".txt" beside new records might not say so.
            reussi = TexteFichier::EcritOctets(base + QStringLiteral(".txt"), octetsTexte) &&
                     TexteFichier::EcritOctets(base + QStringLiteral(".dat"), enregistrements);
            liste.EmpreinteSauvee = reussi ? empreinte : QByteArray();
        }
    }
    return (!indexChange || EcritIndex(index)) && reussi;
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
    if (partage && partage->Lu) {
        // Left blank, so that the lines of the other pairs keep their places until the end.
        partage->LigneParDossier.erase(index[k].toCaseFolded());
        index[k].clear();
        index[k + 1].clear();
    } else {
        index.remove(k + 1);
        index.remove(k);
    }
    return EcritIndex(index) && reussi;
}
