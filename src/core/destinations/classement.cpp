#include "classement.h"

#include "annulation.h"
#include "core/app/chemins.h"
#include "core/source/sourceliste.h"
#include "destination.h"
#include "fichiers.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

TClassement ClasseFichier(TSourceListe& source, int index, TDestination& destination, bool copie,
                          TJournalAnnulation& journal) {
    TClassement resultat;
    if (index < 0 || index >= source.Fichiers.Count() || destination.EstFermee()) return resultat;
    const QByteArray origine = source.Fichiers.Texte(index);
    const QByteArray nom = source.Fichiers.Element(index)->Nom;
    const QByteArray dossier = destination.OctetsDuDossier();
    QByteArray cible = Fichiers::CibleLibre(dossier, nom, origine);
    if (cible == origine) return resultat;

    Fichiers::Resultat fait = copie ? Fichiers::Copie(origine, cible) : Fichiers::Deplace(origine, cible);
    // A name taken between choosing it and filing: the next free name, a few times at most.
    for (int essai = 0; !fait.Reussi && fait.Code == EEXIST && essai < 8; ++essai) {
        cible = Fichiers::CibleLibre(dossier, nom, origine);
        if (cible == origine) return resultat;
        fait = copie ? Fichiers::Copie(origine, cible) : Fichiers::Deplace(origine, cible);
    }
    if (!fait.Reussi) {
        resultat.Echec = QStringLiteral("« %1 » : %2").arg(QFile::decodeName(nom), fait.Raison);
        return resultat;
    }
    TEtapeAnnulation etape;
    etape.Source = origine;
    etape.Cible = cible;
    etape.Index = index;
    etape.Destination = destination.weak_from_this();
    etape.Copie = copie;
    etape.Identite = IdentiteDe(cible);
    journal.Ajoute(etape);
    if (!copie) source.Fichiers.Retire(index);
    if (destination.Titre != TitreCorbeille) destination.AjouteATraiter(cible);
    resultat.Classe = true;
    resultat.Cible = cible;
    return resultat;
}

namespace {

// Why the file a step names cannot be touched, for the user: it is gone, it changed, or another
// file took its name; empty when it is the file that was filed.
QString FichierEtranger(const TEtapeAnnulation& etape) {
    const TIdentiteFichier ici = IdentiteDe(etape.Cible);
    const QString chemin = QFile::decodeName(etape.Cible);
    if (!ici.Existe()) return QStringLiteral("le fichier classé « %1 » n'existe plus").arg(chemin);
    if (ici == etape.Identite) return {};
    if (ici.MemeEmplacement(etape.Identite))
        return QStringLiteral("le fichier classé « %1 » a été modifié depuis").arg(chemin);
    return QStringLiteral("« %1 » n'est plus le fichier classé, un autre fichier porte maintenant ce nom")
        .arg(chemin);
}

// Undoes one step; the journal's other steps follow the file it moves back.
TFichierAnnule AnnuleEtape(const TEtapeAnnulation& etape, TJournalAnnulation& journal, TSourceListe& source,
                           const TListeDestinations* destinations) {
    TFichierAnnule resultat;
    const QByteArray &origine = etape.Source, &cible = etape.Cible;
    std::shared_ptr<TDestination> destination = etape.Destination.lock();
    if (destination && destination->EstFermee()) destination.reset();

    const QString nom = QFile::decodeName(Chemins::NomDeFichier(origine));
    const QString etranger = FichierEtranger(etape);
    if (etape.Copie) {
        if (!etranger.isEmpty()) {
            resultat.Echec =
                QStringLiteral("Impossible d'annuler la copie de « %1 » : %2 ; rien n'a été effacé.")
                    .arg(nom, etranger);
            return resultat;
        }
        if (::unlink(cible.constData()) != 0) {
            resultat.Echec =
                QStringLiteral(
                    "Impossible d'annuler la copie de « %1 » : le fichier ne peut pas être effacé.")
                    .arg(nom);
            return resultat;
        }
        if (destination) destination->Oublie(QFile::decodeName(cible));
        return resultat;
    }
    if (!etranger.isEmpty()) {
        resultat.Echec =
            QStringLiteral("Impossible de remettre « %1 » à sa place : %2 ; rien n'a été déplacé.")
                .arg(nom, etranger);
        return resultat;
    }
    if (Fichiers::Existe(origine)) {
        resultat.Echec =
            QStringLiteral("Impossible de remettre « %1 » à sa place : un fichier « %2 » existe déjà.")
                .arg(nom, QFile::decodeName(origine));
        return resultat;
    }
    // An older step may name the same file (filed, then sent to the trash by the review): it follows.
    const Fichiers::Resultat retour = DeplaceEnSuivant(&journal, cible, origine);
    if (!retour.Reussi) {
        resultat.Echec =
            QStringLiteral("Impossible de remettre « %1 » à sa place : %2.").arg(nom, retour.Raison);
        return resultat;
    }
    if (etape.Effacement) {
        // Back in its folder, which signs it again so that the search finds its pairs again: the
        // destination open on that folder now, be it the one it left or one opened on it since.
        const std::shared_ptr<TDestination> ici =
            destinations ? DestinationDuFichier(*destinations, origine) : destination;
        if (ici && ici->Titre != TitreCorbeille) ici->AjouteATraiter(origine);
        return resultat;
    }
    // A file filed from an earlier source goes back to its folder, not into this folder's list.
    const bool dansLaSource =
        Chemins::Joint(QFile::encodeName(source.Chemin), Chemins::NomDeFichier(origine)) == origine;
    std::unique_ptr<TFichierSource> enregistrement = dansLaSource ? EnregistrementDe(origine) : nullptr;
    if (enregistrement) {
        resultat.IndexRemis = std::clamp(etape.Index, 0, source.Fichiers.Count());
        resultat.NomRemis = QFile::decodeName(enregistrement->Nom);
        source.Fichiers.Insere(resultat.IndexRemis, origine, std::move(enregistrement));
    }
    if (destination) destination->Oublie(QFile::decodeName(cible));
    return resultat;
}

} // namespace

TAnnulation AnnuleDerniereCommande(TJournalAnnulation& journal, TSourceListe& source,
                                   const TListeDestinations* destinations) {
    TAnnulation resultat;
    QStringList echecs;
    for (const TEtapeAnnulation& etape : journal.RetireDerniereCommande()) {
        resultat.Fichiers << AnnuleEtape(etape, journal, source, destinations);
        if (!resultat.Fichiers.constLast().Echec.isEmpty()) echecs << resultat.Fichiers.constLast().Echec;
    }
    resultat.Echec = echecs.join(u'\n');
    return resultat;
}
