// The signature store's readers: the index "Index.txt", a folder's ".txt" and its ".dat". The
// input holds the three files in that order, each ended by the separator line; a file left out
// is absent. Every folder of the index is listed and loaded as a destination would be; what was
// understood is saved and must read back the same.
#include "commun.h"
#include "core/duplicates/listedoublons.h"
#include "core/duplicates/magasin.h"
#include "core/duplicates/miniature.h"

#include <QDir>

#include <algorithm>

namespace {

const QByteArray Separateur("\n%%fichier%%\n");
// The base name the ".txt" and ".dat" parts are written under; the index decides whether a folder
// leads to them.
const QString Base = QStringLiteral("ABCDEFGHIJKLMNOPQRST");

// What one load of a folder's store gives.
struct Chargement {
    explicit Chargement(const QString& dossier) : liste(dossier) {}
    TListeDoublons liste;
    QStringList doublons;
};

void VerifieRelecture(const TMagasinSignatures& magasin, const QString& dossier) {
    Chargement lu(dossier);
    magasin.Charge(dossier, lu.liste, lu.doublons);
    // What the search does with what was read (any value a file holds, not a number included):
    // every pair of the first signatures compared.
    const size_t n = std::min<size_t>(lu.liste.Miniatures.size(), 16);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            Dissemblance(*lu.liste.Miniatures[i], *lu.liste.Miniatures[j]);
    if (!magasin.Sauve(lu.liste, lu.doublons)) return;
    Chargement relu(dossier);
    magasin.Charge(dossier, relu.liste, relu.doublons);
    EXIGE(relu.liste.Miniatures.size() == lu.liste.Miniatures.size());
    for (size_t i = 0; i < lu.liste.Miniatures.size(); ++i) {
        const Tminiature& a = *lu.liste.Miniatures[i];
        const Tminiature& b = *relu.liste.Miniatures[i];
        EXIGE(a.Fichier == b.Fichier && a.Grille == b.Grille);
        EXIGE(a.Proportion == b.Proportion || (a.Proportion != a.Proportion && b.Proportion != b.Proportion));
    }
    EXIGE(relu.liste.Intraitables == lu.liste.Intraitables);
    EXIGE(relu.doublons == lu.doublons);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    const QByteArray entree =
        QByteArray::fromRawData(reinterpret_cast<const char*>(octets), static_cast<qsizetype>(taille));
    const QString nomsDesFichiers[] = {QStringLiteral("Index.txt"), Base + QStringLiteral(".txt"),
                                       Base + QStringLiteral(".dat")};
    qsizetype debut = 0;
    for (const QString& nom : nomsDesFichiers) {
        if (debut > entree.size()) break;
        qsizetype fin = entree.indexOf(Separateur, debut);
        if (fin < 0) fin = entree.size();
        EcritEntree(QStringLiteral("Signatures/") + nom, entree.mid(debut, fin - debut));
        debut = fin + Separateur.size();
    }

    const TMagasinSignatures magasin(DossierDeTravail() + QStringLiteral("/Signatures"));
    const QList<TDossierStocke> dossiers = magasin.Inventaire();
    // A damaged index may list thousands of folders: the first ones are enough to load.
    for (qsizetype i = 0; i < std::min<qsizetype>(dossiers.size(), 4); ++i)
        VerifieRelecture(magasin, dossiers[i].Dossier);
    VideDossierDeTravail();
    return 0;
}
