// The session's operations on the source, on a destination's file names, on the trash, on the
// images the duplicate review deletes and on configuration files.

#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/app/occupation.h"
#include "core/app/questions.h"
#include "core/config/configuration.h"
#include "core/destinations/annulation.h"
#include "core/destinations/corbeille.h"
#include "core/destinations/destination.h"
#include "core/destinations/fermeture.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/revue.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"

#include <QFileInfo>
#include <QSet>

namespace {

// The configuration file the program reads at start-up and writes when it quits: the manager
// neither opens it nor writes over it.
const QString FichierParDefaut = QStringLiteral("Mirasolve.ini");

} // namespace

TResultatSource TSession::ChangeSource(const QString& dossier, const std::optional<TPositionSource>& garde) {
    DemandeArretRecherche();
    TResultatSource resultat;
    if (!listeSource || !configuration) return resultat;
    configuration->ChangeSource(dossier);
    listeSource->Trie(TriNom);
    if (garde) resultat.Gardee = PositionSource::Place(*listeSource, *garde);
    resultat.Chargee = true;
    resultat.Dossier = configuration->SourcePath;
    resultat.Nombre = listeSource->Fichiers.Count();
    resultat.IndexAffiche = listeSource->IndexAffiche;
    return resultat;
}

TResultatSource TSession::Rafraichit() {
    if (!listeSource || !configuration) {
        DemandeArretRecherche();
        return {};
    }
    const TPositionSource courante = PositionSource::Releve(*listeSource);
    return ChangeSource(configuration->SourcePath, courante);
}

TResultatSource TSession::DestinationCommeSource(int index) {
    if (!configuration || index < 0 || index >= configuration->Destinations.Count()) {
        DemandeArretRecherche();
        return {};
    }
    return ChangeSource(configuration->Destinations.Element(index)->Chemin);
}

QString TSession::SourceAProposer() {
    if (!configuration) return Chemins::DossierParDefaut();
    if (!QFileInfo(configuration->SourcePath).isDir())
        configuration->SourcePath = Chemins::DossierParDefaut();
    return configuration->SourcePath;
}

TRenommageDestination TSession::RenommeDestination(int index, const QString& base,
                                                   const std::function<bool(const QString&)>& confirme) {
    TRenommageDestination resultat;
    if (!configuration || index < 0 || index >= configuration->Destinations.Count()) return resultat;
    const std::shared_ptr<TDestination> d = configuration->Destinations.Partage(index);
    const TOccupation occupation(Occupe);
    // The search reads the files being renamed, and moves them between the lists: it ends first,
    // so that the names asked about are the names given.
    AttendFinRecherche();
    // The names to come, before anything moves; "Annuler" renames nothing.
    if (confirme && !confirme(QuestionRenommage(*d, base))) return resultat;
    resultat.Fait = true;
    resultat.Detail = RenommeFichiers(*d, base, configuration->Destinations, Attente,
                                      Chemins::Joint(DossierProgramme, QStringLiteral("Renommage.txt")));
    // The undo steps of the renamed files follow them.
    configuration->Annulations.SuitRenommages(resultat.Detail.Renommages);
    if (Attente) Attente->Cache();
    if (!resultat.Detail.Echecs.isEmpty())
        resultat.Message =
            QStringLiteral("Ces fichiers ont gardé leur nom :\n") + resultat.Detail.Echecs.join(u'\n');
    return resultat;
}

TResultatCorbeille TSession::VideCorbeille() {
    TResultatCorbeille resultat;
    if (!configuration || configuration->Destinations.Count() == 0) return resultat;
    const TVidageCorbeille vidage = ::VideCorbeille(
        configuration->Destinations.Element(0)->Chemin, Attente,
        [this](const QString& question) {
            return Questions ? Questions->DemandeOuiNonTout(question) : ReponseOuiNonTout::Non;
        },
        &configuration->Annulations);
    resultat.Echecs = vidage.Echecs;
    resultat.EtapesPerdues = vidage.EtapesPerdues;
    QStringList message;
    if (!vidage.Echecs.isEmpty())
        message << QStringLiteral("Ces fichiers n'ont pas pu être effacés de la corbeille :\n%1")
                       .arg(vidage.Echecs.join(u'\n'));
    if (vidage.EtapesPerdues > 0) message << MessageEtapesPerdues(vidage.EtapesPerdues);
    resultat.Message = message.join(QStringLiteral("\n\n"));
    return resultat;
}

TResultatEffacement TSession::EffaceDeLaRevue(const QList<TPaire>& paires, bool image1, bool image2) {
    TResultatEffacement resultat;
    if (paires.isEmpty() || !configuration || configuration->Destinations.Count() == 0) return resultat;
    // The search compares signatures of these images: it stays off while they go.
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    const TListeDestinations& destinations = configuration->Destinations;
    const QString corbeille = destinations.Element(0)->Chemin;
    QSet<QString> effacees;
    // One deletion, one command of the undo record.
    const TCommandeAnnulation commande(configuration->Annulations);
    auto efface = [&](const QString& fichier) {
        if (effacees.contains(fichier)) return;
        const Fichiers::Resultat fait =
            ::EffaceDeLaRevue(fichier, corbeille, &destinations, &configuration->Annulations);
        if (fait.Reussi) {
            effacees.insert(fichier);
            resultat.Effacees << fichier;
        } else {
            resultat.Echecs << QStringLiteral("« %1 » : %2").arg(fichier, fait.Raison);
        }
    };
    for (const TPaire& paire : paires) {
        // A pair that lost an image earlier in this command is gone already.
        if (effacees.contains(paire.Image1) || effacees.contains(paire.Image2)) continue;
        if (image1) efface(paire.Image1);
        if (image2) efface(paire.Image2);
    }
    OublieImages(destinations, effacees);
    // An image that stayed keeps its pairs and its signature.
    if (!resultat.Echecs.isEmpty())
        resultat.Message = QStringLiteral("Ces images n'ont pas pu être mises dans la corbeille :\n") +
                           resultat.Echecs.join(u'\n');
    return resultat;
}

TResultatConfiguration TSession::OuvreConfiguration(const QString& fichier, IFenetrePrincipale& fenetre) {
    TResultatConfiguration resultat;
    if (!configuration || configuration->Destinations.Count() == 0) return resultat;
    if (QFileInfo(fichier).fileName() == FichierParDefaut) {
        resultat.Refusee = true;
        resultat.Message =
            QStringLiteral("Vous ne pouvez pas ouvrir le fichier de configuration par défaut.");
        return resultat;
    }
    if (QString raison; const qsizetype ligne = Tconfiguration::PremiereLigneIllisible(fichier, &raison)) {
        // Nothing is closed for a file that could not be read whole.
        resultat.Erreur = true;
        resultat.Message = QStringLiteral("Le fichier de configuration « %1 » ne peut pas être lu : %3 à la "
                                          "ligne %2. Rien n'a changé.")
                               .arg(fichier)
                               .arg(ligne)
                               .arg(raison);
        return resultat;
    }
    // The destinations close: the search works on them no more.
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    TContexteDestinations& contexte = configuration->ContexteDestinations;
    if (configuration->ListeGroupe) {
        // Every destination but the trash closes asking nothing, each saving its signatures.
        const TLotMagasin lot(&contexte);
        TFermeture(configuration->Destinations, *configuration->ListeGroupe, contexte)
            .FermeTout(ReponseConfirmation::NonPourTous);
    }
    contexte.ReponseMemorisee = ReponseConfirmation::Non;
    // The file's levels are counted afresh, beside the trash alone.
    NouveauxNiveaux().Ajoute(*configuration->Destinations.Element(0));
    configuration->ReleveFenetre(fenetre);
    configuration->Lecture(fichier);
    configuration->AppliqueFenetre(fenetre);
    resultat.Fait = true;
    resultat.Source = Rafraichit();
    return resultat;
}

TResultatConfiguration TSession::SauveConfiguration(const QString& fichier, IFenetrePrincipale& fenetre) {
    TResultatConfiguration resultat;
    if (!configuration) return resultat;
    if (QFileInfo(fichier).fileName() == FichierParDefaut) {
        resultat.Refusee = true;
        resultat.Message =
            QStringLiteral("Ce nom de fichier correspond au fichier de configuration par défaut. "
                           "Changez le pour pouvoir sauvegarder.");
        return resultat;
    }
    configuration->ReleveFenetre(fenetre);
    resultat.Fait = configuration->Ecriture(fichier);
    if (!resultat.Fait)
        resultat.Message =
            QStringLiteral("Impossible d'écrire le fichier de configuration « %1 ».").arg(fichier);
    configuration->AppliqueFenetre(fenetre);
    return resultat;
}
