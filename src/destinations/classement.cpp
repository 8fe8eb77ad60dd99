#include "classement.h"

#include "app/chemins.h"
#include "config/configuration.h"
#include "destination.h"
#include "fichiers.h"
#include "source/sourceliste.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

TClassement ClasseFichier(TSourceListe& source, int index, TDestination& destination, bool copie,
                          Tconfiguration& journal) {
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
    journal.AnnulSources << origine;
    journal.AnnulCibles << cible;
    journal.AnnulIndex << QString::number(index);
    journal.AnnulDestinations << destination.weak_from_this();
    journal.AnnulCopies << copie;
    if (!copie) source.Fichiers.Retire(index);
    if (destination.Titre != TitreCorbeille) destination.AjouteATraiter(cible);
    resultat.Classe = true;
    resultat.Cible = cible;
    return resultat;
}

TAnnulation AnnuleDernierClassement(Tconfiguration& journal, TSourceListe& source) {
    TAnnulation resultat;
    if (journal.AnnulSources.isEmpty()) return resultat;
    const qsizetype n = journal.AnnulSources.size() - 1;
    const QByteArray origine = journal.AnnulSources[n], cible = journal.AnnulCibles[n];
    const int index = journal.AnnulIndex[n].toInt();
    std::shared_ptr<TDestination> destination = journal.AnnulDestinations[n].lock();
    if (destination && destination->EstFermee()) destination.reset();
    const bool copie = journal.AnnulCopies[n];
    journal.AnnulSources.removeLast();
    journal.AnnulCibles.removeLast();
    journal.AnnulIndex.removeLast();
    journal.AnnulDestinations.removeLast();
    journal.AnnulCopies.removeLast();

    const QString nom = QFile::decodeName(Chemins::NomDeFichier(cible));
    if (copie) {
        if (Fichiers::Existe(cible) && ::unlink(cible.constData()) != 0) {
            resultat.Echec =
                QStringLiteral(
                    "Impossible d'annuler la copie de « %1 » : le fichier ne peut pas être effacé.")
                    .arg(nom);
            return resultat;
        }
    } else {
        if (Fichiers::Existe(origine)) {
            resultat.Echec =
                QStringLiteral("Impossible de remettre « %1 » à sa place : un fichier « %2 » existe déjà.")
                    .arg(nom, QFile::decodeName(origine));
            return resultat;
        }
        const Fichiers::Resultat retour = Fichiers::Deplace(cible, origine);
        if (!retour.Reussi) {
            resultat.Echec =
                QStringLiteral("Impossible de remettre « %1 » à sa place : %2.").arg(nom, retour.Raison);
            return resultat;
        }
        // A file filed from an earlier source goes back to its folder, not into this folder's list.
        const bool dansLaSource =
            Chemins::Joint(QFile::encodeName(source.Chemin), Chemins::NomDeFichier(origine)) == origine;
        std::unique_ptr<TFichierSource> enregistrement = dansLaSource ? EnregistrementDe(origine) : nullptr;
        if (enregistrement) {
            resultat.IndexRemis = std::clamp(index, 0, source.Fichiers.Count());
            resultat.NomRemis = QFile::decodeName(enregistrement->Nom);
            source.Fichiers.Insere(resultat.IndexRemis, origine, std::move(enregistrement));
        }
    }
    if (destination) destination->Oublie(QFile::decodeName(cible));
    return resultat;
}
