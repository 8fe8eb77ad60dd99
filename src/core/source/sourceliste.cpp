#include "sourceliste.h"

#include "balayage.h"
#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/config/fenetreprincipale.h"
#include "core/destinations/destination.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cstring>
#include <utility>
#include <vector>

std::unique_ptr<TFichierSource> EnregistrementDe(const QByteArray& chemin) {
    struct stat etat {};
    if (::stat(chemin.constData(), &etat) != 0) return nullptr;
    auto fichier = std::make_unique<TFichierSource>();
    fichier->Nom = Chemins::NomDeFichier(chemin);
    fichier->Taille = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(etat.st_size)));
    fichier->Date = DateDOS(etat.st_mtime);
    return fichier;
}

QString IndiceListeSource(const QString& dossier) {
    return dossier + QChar(u'\r') + QStringLiteral("Clic gauche pour sélectionner une image") + QChar(u'\r') +
           QStringLiteral("Clic droit pour le menu");
}

bool TSourceListe::ChargeDossier(const QString& dossier, TListeDestinations& destinations) {
    if (Attente)
        Attente->Prepare(QStringLiteral("Chargement et tri de la source"),
                         destinations.Count() + 1 + NombreMasques);
    if (Fenetre) Fenetre->FixeIndiceListe(IndiceListeSource(dossier));
    Chemin = dossier;

    Fichiers.Efface();
    if (Attente) Attente->Avance();

    bool lu = false;
    const EntreesParMasque blocs = ChercheImages(dossier, Recherche::FichiersVisibles, &lu);
    const QByteArray dossierOctets = QFile::encodeName(dossier);
    size_t total = 0;
    for (const auto& bloc : blocs)
        total += bloc.size();
    Fichiers.Reserve(static_cast<int>(total));
    for (const auto& bloc : blocs) {
        for (const TEntreeDossier& entree : bloc) {
            auto fichier = std::make_unique<TFichierSource>();
            fichier->Nom = entree.Nom;
            fichier->Taille =
                static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(entree.Taille)));
            fichier->Date = DateDOS(entree.Modification);
            Fichiers.Ajoute(Chemins::Joint(dossierOctets, entree.Nom), std::move(fichier));
        }
        IndexAffiche = 0;
        IndexDemande = 0;
        if (Attente) Attente->Avance();
    }

    for (int i = 0; i < destinations.Count(); ++i) {
        TDestination* destination = destinations.Element(i);
        if (!destination->Active) destination->RetireSignaturesDisparues();
        destination->Active = destination->Chemin != dossier;
    }

    if (Attente) Attente->Cache();
    return lu;
}

namespace {

// Byte-wise comparison as unsigned bytes; on a common prefix the shorter key is smaller.
int CompareOctets(const QByteArray& a, const QByteArray& b) {
    const qsizetype commun = std::min(a.size(), b.size());
    const int ordre = commun ? std::memcmp(a.constData(), b.constData(), static_cast<size_t>(commun)) : 0;
    if (ordre != 0) return ordre;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareEntiers(int32_t a, int32_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

QByteArray CleNom(const QByteArray& nom) {
    QByteArray cle = nom;
    for (char& c : cle)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return cle;
}

// From the last "." to the end when the last of the dot and the separators is a dot.
QByteArray CleExtension(const QByteArray& nom) {
    for (qsizetype i = nom.size() - 1; i >= 0; --i) {
        const char c = nom[i];
        if (c == '.') return nom.mid(i);
#ifdef Q_OS_WIN
        if (c == '\\' || c == ':') break;
#endif
    }
    return QByteArray();
}

// The partition sort whose steps fix the result, ties included: the pivot is the key of the middle
// entry, taken once; the two parts are sorted L..J, then I..R. The parts are disjoint, so sorting
// the smaller one first by recursion and the larger one in the loop gives the same result while
// keeping the stack depth logarithmic.
template <typename Cle, typename Compare>
void TriPartition(std::vector<Cle>& cles, std::vector<int>& ordre, int gauche, int droite, Compare compare) {
    while (gauche < droite) {
        int i = gauche;
        int j = droite;
        const Cle pivot = cles[static_cast<size_t>((gauche + droite) / 2)];
        do {
            while (compare(cles[static_cast<size_t>(i)], pivot) < 0)
                ++i;
            while (compare(cles[static_cast<size_t>(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(cles[static_cast<size_t>(i)], cles[static_cast<size_t>(j)]);
                std::swap(ordre[static_cast<size_t>(i)], ordre[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - gauche < droite - i) {
            if (j > gauche) TriPartition(cles, ordre, gauche, j, compare);
            gauche = i;
        } else {
            if (i < droite) TriPartition(cles, ordre, i, droite, compare);
            droite = j;
        }
    }
}

template <typename Cle, typename ExtraitCle, typename Compare>
void TrieListe(TListeFichiers& fichiers, ExtraitCle extraitCle, Compare compare) {
    const int nombre = fichiers.Count();
    std::vector<Cle> cles;
    std::vector<int> ordre;
    cles.reserve(static_cast<size_t>(nombre));
    ordre.reserve(static_cast<size_t>(nombre));
    for (int k = 0; k < nombre; ++k) {
        cles.push_back(extraitCle(*fichiers.Element(k)));
        ordre.push_back(k);
    }
    TriPartition(cles, ordre, 0, nombre - 1, compare);
    fichiers.Permute(ordre);
}

} // namespace

void TSourceListe::Trie(int mode) {
    if (Fichiers.Vide()) return;
    switch (mode) {
    case TriNom:
        TrieListe<QByteArray>(
            Fichiers, [](const TFichierSource& f) { return CleNom(f.Nom); }, CompareOctets);
        break;
    case TriDate:
        TrieListe<int32_t>(
            Fichiers, [](const TFichierSource& f) { return f.Date; }, CompareEntiers);
        break;
    case TriTaille:
        TrieListe<int32_t>(
            Fichiers, [](const TFichierSource& f) { return f.Taille; }, CompareEntiers);
        break;
    case TriExtension:
        TrieListe<QByteArray>(
            Fichiers, [](const TFichierSource& f) { return CleExtension(f.Nom); }, CompareOctets);
        break;
    default:
        break;
    }
}
