#include "arborescence.h"

#include "core/app/chemins.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/source/balayage.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDirIterator>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN

TContenuDossier LitDossier(const QString& dossier) {
    TContenuDossier contenu;
    QDirIterator it(dossier, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (MasqueDuNom(QFile::encodeName(info.fileName())) >= 0) contenu.ContientImages = true;
        if (info.isDir() && !info.isHidden())
            contenu.SousDossiers << Chemins::Joint(dossier, info.fileName());
    }
    return contenu;
}

std::optional<TIdentiteDossier> IdentiteDossier(const QString& chemin) {
    const QFileInfo info(chemin);
    const QString canonique = info.canonicalFilePath();
    if (canonique.isEmpty() || !info.isDir()) return std::nullopt;
    return TIdentiteDossier{0, 0, canonique.toCaseFolded()};
}

std::optional<TIdentiteDossier> IdentiteDossier(const QByteArray& chemin) {
    return IdentiteDossier(QFile::decodeName(chemin));
}

#else

TContenuDossier LitDossier(const QString& dossier) {
    TContenuDossier contenu;
    const QByteArray chemin = QFile::encodeName(dossier);
    ParcourtDossier(chemin, [&](const char* nom, unsigned char type, int descripteur) {
        const QByteArray octets(nom);
        if (!contenu.ContientImages && MasqueDuNom(octets) >= 0) contenu.ContientImages = true;
        if (nom[0] == '.') return;
        bool estDossier = type == DT_DIR;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            // A link counts as the folder it leads to.
            struct stat etat {};
            estDossier = fstatat(descripteur, nom, &etat, 0) == 0 && S_ISDIR(etat.st_mode);
        }
        if (estDossier) contenu.SousDossiers << QFile::decodeName(Chemins::Joint(chemin, octets));
    });
    return contenu;
}

std::optional<TIdentiteDossier> IdentiteDossier(const QByteArray& chemin) {
    struct stat etat {};
    if (chemin.isEmpty() || stat(chemin.constData(), &etat) != 0 || !S_ISDIR(etat.st_mode))
        return std::nullopt;
    return TIdentiteDossier{static_cast<uint64_t>(etat.st_dev), static_cast<uint64_t>(etat.st_ino), {}};
}

std::optional<TIdentiteDossier> IdentiteDossier(const QString& chemin) {
    return IdentiteDossier(QFile::encodeName(chemin));
}

#endif

bool TDossiersVus::PremiereVisite(const QString& dossier) {
    const std::optional<TIdentiteDossier> identite = IdentiteDossier(dossier);
    return identite && vus.insert(*identite).second;
}

bool MemeDossier(const QString& a, const QString& b) {
    const std::optional<TIdentiteDossier> x = IdentiteDossier(a), y = IdentiteDossier(b);
    return x || y ? x == y : a == b;
}

TDossiersOuverts::TDossiersOuverts(const TListeDestinations& destinations) {
    for (int i = 1; i < destinations.Count(); ++i)
        Ajoute(*destinations.Element(i));
}

bool TDossiersOuverts::Contient(const QString& chemin) const {
    return Contient(QFile::encodeName(chemin), chemin);
}

bool TDossiersOuverts::Contient(const QByteArray& octets, const QString& chemin) const {
    const std::optional<TIdentiteDossier> identite = IdentiteDossier(octets);
    return identite ? identites.count(*identite) > 0 : chemins.count(chemin) > 0;
}

void TDossiersOuverts::Ajoute(const TDestination& destination) {
    const std::optional<TIdentiteDossier> identite = IdentiteDossier(destination.OctetsDuDossier());
    if (identite) identites.insert(*identite);
    chemins.insert(destination.Chemin);
}

namespace {

// A destination read from its folder and its store, with these properties, in no list yet.
std::shared_ptr<TDestination> DestinationLue(const TProprietesDestination& proprietes,
                                             TContexteDestinations& contexte) {
    auto nouvelle = std::make_shared<TDestination>(&contexte);
    nouvelle->RechercheLocale = proprietes.RechercheLocale;
    nouvelle->RechercheGenerale = proprietes.RechercheGenerale;
    nouvelle->Charge(Chemins::SansSeparateurFinal(proprietes.Chemin), proprietes.Titre);
    // Opened in GENERAL mode with signatures from its store: they are compared with the others.
    if (EstGenerale(*nouvelle)) MarqueComparaison(*nouvelle);
    nouvelle->Fonte = proprietes.Fonte;
    nouvelle->FonteCharset = proprietes.Charset;
    nouvelle->FonteCouleur = proprietes.Couleur;
    return nouvelle;
}

} // namespace

TDestination* OuvreDestination(const TProprietesDestination& proprietes, int32_t niveau,
                               TListeDestinations& destinations, TListeGroupe& groupes,
                               TContexteDestinations& contexte) {
    auto nouvelle = DestinationLue(proprietes, contexte);
    nouvelle->Groupe = niveau;
    TDestination* d = nouvelle.get();
    destinations.Ajoute(d->Titre, std::move(nouvelle));
    groupes.Ajoute(*d);
    return d;
}

bool OuverteSousUnAutreChemin(const QString& chemin, const TListeDestinations& destinations,
                              const TDestination* sauf) {
    for (int i = 1; i < destinations.Count(); ++i) {
        const TDestination* d = destinations.Element(i);
        if (d != sauf && d->Chemin != chemin && MemeDossier(d->Chemin, chemin)) return true;
    }
    return false;
}

TDestination* ChangeDossierDestination(int index, const TProprietesDestination& proprietes,
                                       TListeDestinations& destinations, TListeGroupe& groupes,
                                       TContexteDestinations& contexte, QString& echec) {
    const std::shared_ptr<TDestination> ancienne = destinations.Partage(index);
    // The old folder keeps its signatures and pairs: when they cannot be written, it keeps the
    // destination too.
    if (!ancienne->SauveSignatures()) {
        echec = QStringLiteral("Les signatures du dossier « %1 » n'ont pas pu être enregistrées : la "
                               "destination garde son dossier.")
                    .arg(ancienne->Chemin);
        return nullptr;
    }
    auto nouvelle = DestinationLue(proprietes, contexte);
    nouvelle->Groupe = ancienne->Groupe;
    nouvelle->SousGroupe = ancienne->SousGroupe;
    const QString texte = destinations.Texte(index);
    destinations.Retire(index);
    destinations.Insere(index, texte, nouvelle);
    // Closed as one kept: its store stays, whatever answer the last closing remembered. A search
    // still running on it sees it closed and stops, its results left in the closed destination.
    const ReponseConfirmation reponse = contexte.ReponseMemorisee;
    contexte.ReponseMemorisee = ReponseConfirmation::Non;
    AnnuleComparaison(*ancienne);
    ancienne->Ferme();
    contexte.ReponseMemorisee = reponse;
    // The levels count the same tiles; their heights follow the new title font.
    groupes.Recalcule(*nouvelle);
    return nouvelle.get();
}

TAjoutArborescence::TAjoutArborescence(TListeDestinations& listeDestinations, TListeGroupe& listeGroupe,
                                       TContexteDestinations& contexteDestinations)
    : destinations(listeDestinations), groupes(listeGroupe), contexte(contexteDestinations) {}

void TAjoutArborescence::Ajoute(const QString& racine, const TOptionsArborescence& choix) {
    options = choix;
    // The open folders in a set rather than searched in the list, and the folders entered. The
    // program's folder (the trash, the store) counts as entered, so that no spelling of its path,
    // through a link or from the folder itself, makes it a destination.
    marche = TMarche();
    marche.Ouverts = TDossiersOuverts(destinations);
    marche.Vus.PremiereVisite(contexte.DossierProgramme);
    Parcourt(racine, 0);
}

void TAjoutArborescence::Parcourt(const QString& chemin, int32_t niveau) {
    const QString dossier = Chemins::SansSeparateurFinal(chemin);
    // A folder reached a second time through a link is not walked again.
    if (!marche.Vus.PremiereVisite(dossier)) return;
    const TContenuDossier contenu = LitDossier(dossier);
    const bool retenu = !options.SeulementAvecImages || contenu.ContientImages;

    TDestination* d = nullptr;
    if (retenu && Valide) {
        const std::optional<TProprietesDestination> proprietes = Valide(dossier, options.Mode);
        const QString choisi = proprietes ? Chemins::SansSeparateurFinal(proprietes->Chemin) : QString();
        if (proprietes && !marche.Ouverts.Contient(choisi) &&
            !Chemins::EstReserve(choisi, contexte.DossierProgramme)) {
            d = OuvreDestination(*proprietes, niveau, destinations, groupes, contexte);
            marche.Ouverts.Ajoute(*d);
        }
        if (d && options.EnNiveaux && !contenu.SousDossiers.isEmpty()) {
            // The destination opens a level of its own; AjouteGroupe counts it once more in the
            // level it stands in, and Retire takes that count back.
            d->SousGroupe = groupes.NouvelId();
            groupes.AjouteGroupe(*d);
            groupes.Retire(*d);
        } else if (d) {
            d->SousGroupe = -1;
        }
    }
    for (const QString& sousDossier : contenu.SousDossiers)
        Parcourt(sousDossier, options.EnNiveaux && d ? d->SousGroupe : 0);
    // A level that none of the sub-folders came into (all already open, cancelled or left out)
    // is not offered: its parent shows no level icon.
    if (d && d->SousGroupe != -1) {
        const TGroupe* niveauOuvert = groupes.Groupe(d->SousGroupe);
        if (niveauOuvert && niveauOuvert->NbTuiles <= 1) d->SousGroupe = -1;
    }
}
