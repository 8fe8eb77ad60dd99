#include "comparaisongenerale.h"

#include "core/app/chemins.h"
#include "core/app/textefichier.h"
#include "core/destinations/destination.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

const QString EnteteComparaison = QStringLiteral("[Comparaison]");

bool EcritMarque(const TDestination& d) {
    const QString fichier = FichierComparaison(d);
    return fichier.isEmpty() ||
           TexteFichier::Ecrit(fichier, {EnteteComparaison, d.Chemin, d.RepriseComparaison});
}

bool RetireMarque(const TDestination& d) {
    const QString fichier = FichierComparaison(d);
    return fichier.isEmpty() || !QFile::exists(fichier) || QFile::remove(fichier);
}

} // namespace

bool EstGenerale(const TDestination& d) {
    return d.RechercheLocale && d.RechercheGenerale;
}

QString FichierComparaison(const TDestination& d) {
    if (!d.Contexte || d.Chemin.isEmpty()) return {};
    const QByteArray empreinte =
        QCryptographicHash::hash(d.Chemin.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    return Chemins::Joint(d.Contexte->DossierSignatures(), QStringLiteral("Generale-") +
                                                               QString::fromLatin1(empreinte) +
                                                               QStringLiteral(".txt"));
}

bool SuitChangementDeMode(TDestination& d, bool etaitGenerale) {
    const bool generale = EstGenerale(d);
    if (generale && !etaitGenerale) return MarqueComparaison(d);
    if (!generale && d.ComparaisonEnAttente) return AnnuleComparaison(d);
    return true;
}

QString MessageMarqueComparaison(const QStringList& dossiers) {
    return QStringLiteral("Le dossier des signatures n'a pas pu garder l'état de la comparaison de ces "
                          "destinations avec les autres destinations en mode GENERAL ; elle se fera "
                          "pendant cette séance, mais ne reprendra pas si Mirasolve est quitté avant "
                          "la fin :\n") +
           dossiers.join(u'\n');
}

bool MarqueComparaison(TDestination& d) {
    ++d.GenerationComparaison;
    d.RepriseComparaison.clear();
    // Without signatures there is nothing to compare: the images still to sign will be compared
    // as they are signed.
    d.ComparaisonEnAttente = d.Comptes().Signatures > 0;
    return d.ComparaisonEnAttente ? EcritMarque(d) : RetireMarque(d);
}

bool AnnuleComparaison(TDestination& d) {
    ++d.GenerationComparaison;
    d.ComparaisonEnAttente = false;
    d.RepriseComparaison.clear();
    return RetireMarque(d);
}

void RetrouveComparaison(TDestination& d) {
    const QString fichier = FichierComparaison(d);
    if (fichier.isEmpty() || !QFile::exists(fichier)) return;
    QStringList lignes;
    // A file of another folder (or not ours) is left alone.
    if (!TexteFichier::Lit(fichier, lignes) || lignes.value(0) != EnteteComparaison ||
        lignes.value(1) != d.Chemin)
        return;
    // Read in another mode (another configuration names the folder too): the mark waits for a
    // configuration that has it in GENERAL mode.
    if (!EstGenerale(d)) return;
    ++d.GenerationComparaison;
    d.ComparaisonEnAttente = true;
    d.RepriseComparaison = lignes.value(2);
}

bool ConclutComparaison(TDestination& d, int generation, const QString& reprise, bool terminee,
                        int lignesAjoutees) {
    if (d.EstFermee() || !d.ComparaisonEnAttente || generation != d.GenerationComparaison) return true;
    // In memory the comparison goes on from where it is; on disk, only once the store holds its lines.
    const bool sauvee = lignesAjoutees == 0 || d.SauveSignatures();
    d.ComparaisonEnAttente = !terminee;
    d.RepriseComparaison = terminee ? QString() : reprise;
    if (!sauvee) return false;
    return terminee ? RetireMarque(d) : EcritMarque(d);
}

std::vector<std::shared_ptr<TDestination>> PartenairesGeneraux(const TListeDestinations& destinations,
                                                               int index) {
    std::vector<std::shared_ptr<TDestination>> partenaires;
    for (int i = 1; i < destinations.Count(); ++i) {
        const TDestination& e = *destinations.Element(i);
        if (i != index && e.Active && EstGenerale(e) && !e.ComparaisonEnAttente)
            partenaires.push_back(destinations.Partage(i));
    }
    return partenaires;
}
