// Undo: the last filed image goes back to its folder and to its place in the source list, and its
// destination forgets it. A copy is undone by deleting the copy. And emptying the trash.

#include "app/chemins.h"
#include "app/globaux.h"
#include "app/mainform.h"
#include "app/occupation.h"
#include "app/progression.h"
#include "config/configuration.h"
#include "destinations/corbeille.h"
#include "destinations/destination.h"
#include "destinations/fichiers.h"
#include "source/affichagesource.h"
#include "source/sourceliste.h"

#include <QAction>
#include <QFile>
#include <QListWidget>

#include <unistd.h>

namespace {

// The destination still open, or none once it has been closed.
std::shared_ptr<TDestination> Ouverte(const std::weak_ptr<TDestination>& d) {
    std::shared_ptr<TDestination> ouverte = d.lock();
    return ouverte && !ouverte->EstFermee() ? ouverte : nullptr;
}

} // namespace

void TMainForm::Annulation1Click() {
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    if (Configuration && ListeSource && !Configuration->AnnulSources.isEmpty()) AnnuleDernier();
}

void TMainForm::AnnuleDernier() {
    Tconfiguration& c = *Configuration;
    const qsizetype n = c.AnnulSources.size() - 1;
    const QByteArray source = c.AnnulSources[n], cible = c.AnnulCibles[n];
    const int index = c.AnnulIndex[n].toInt();
    const std::shared_ptr<TDestination> d = Ouverte(c.AnnulDestinations[n]);
    const bool copie = c.AnnulCopies[n];
    // The entry goes whatever happens, so that older ones can still be undone.
    c.AnnulSources.removeLast();
    c.AnnulCibles.removeLast();
    c.AnnulIndex.removeLast();
    c.AnnulDestinations.removeLast();
    c.AnnulCopies.removeLast();

    const QString nom = QFile::decodeName(Chemins::NomDeFichier(cible));
    if (copie) {
        if (Fichiers::Existe(cible) && ::unlink(cible.constData()) != 0) {
            Avertit(QStringLiteral(
                        "Impossible d'annuler la copie de « %1 » : le fichier ne peut pas être effacé.")
                        .arg(nom));
            return;
        }
    } else {
        if (Fichiers::Existe(source)) {
            Avertit(
                QStringLiteral("Impossible de remettre « %1 » à sa place : un fichier « %2 » existe déjà.")
                    .arg(nom, QFile::decodeName(source)));
            return;
        }
        const Fichiers::Resultat retour = Fichiers::Deplace(cible, source);
        if (!retour.Reussi) {
            Avertit(QStringLiteral("Impossible de remettre « %1 » à sa place : %2.").arg(nom, retour.Raison));
            return;
        }
        // A file filed from an earlier source goes back to its folder, not into this folder's list.
        const bool dansLaSource =
            Chemins::Joint(QFile::encodeName(ListeSource->Chemin), Chemins::NomDeFichier(source)) == source;
        std::unique_ptr<TFichierSource> enregistrement = dansLaSource ? EnregistrementDe(source) : nullptr;
        const int place = std::clamp(index, 0, ListeSource->Fichiers.Count());
        if (enregistrement) {
            ListBox1->insertItem(place, QFile::decodeName(enregistrement->Nom));
            ListeSource->Fichiers.Insere(place, source, std::move(enregistrement));
            ListeSource->IndexDemande = place;
            ArmeTimerCourantAff();
        }
    }
    if (d) d->Oublie(QFile::decodeName(cible));
    Affichage->AfficheTout();
}

void TMainForm::Viderlacorbeille1Click() {
    if (!ConfirmeOkAnnuler(QStringLiteral("Etes-vous sur de vouloir vider la corbeille ?"))) return;
    const QStringList echecs = VideCorbeille(
        Chemins::Joint(DossierProgramme, TitreCorbeille), FormProgress, [this](const QString& question) {
            const int reponse = DemandeOuiNonTout(question);
            return reponse == 0 ? ReponseLectureSeule::Oui
                                : (reponse == 2 ? ReponseLectureSeule::Tout : ReponseLectureSeule::Non);
        });
    if (!echecs.isEmpty())
        Avertit(QStringLiteral("Ces fichiers n'ont pas pu être effacés de la corbeille :\n%1")
                    .arg(echecs.join(u'\n')));
}
