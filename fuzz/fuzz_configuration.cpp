// The configuration file reader: a whole file in, a configuration out, as at start-up (the trash
// first, then the file); what was read is written back and must read again whole.
#include "commun.h"
#include "config/fenetresimulee.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/source/positionsource.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    const QString programme = DossierDeTravail() + QStringLiteral("/programme");
    QDir().mkpath(programme + QStringLiteral("/Signatures"));
    const QString fichier = programme + QStringLiteral("/Mirasolve.ini");
    EcritEntree(QStringLiteral("programme/Mirasolve.ini"), octets, taille);
    // The same bytes as the source's position beside it, which the reading takes too.
    EcritEntree(QStringLiteral("programme/Mirasolve.ini.position"), octets, taille);
    const qsizetype illisible = Tconfiguration::PremiereLigneIllisible(fichier);
    {
        TSourceListe source;
        TListeGroupe groupes;
        Tconfiguration configuration(source);
        configuration.ContexteDestinations.DossierProgramme = programme;
        configuration.ListeGroupe = &groupes;
        groupes.Destinations = &configuration.Destinations;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        const bool lue = configuration.Lecture(fichier);
        // Both readers agree on where a file stops being readable.
        EXIGE(lue == (illisible == 0));
        // The window it gives stands whole on the screen, at least at its minimum size, with its
        // dividers inside it.
        FenetreSimulee fenetre;
        configuration.AppliqueFenetre(fenetre);
        const QRect bornes = fenetre.normales;
        EXIGE(QGuiApplication::primaryScreen()->availableGeometry().contains(bornes));
        EXIGE(bornes.width() >= fenetre.TailleMinimale().width() &&
              bornes.height() >= fenetre.TailleMinimale().height());
        EXIGE(fenetre.destinations <= bornes.width() && fenetre.liste <= bornes.width() &&
              fenetre.apercus <= bornes.height());
        const QString reecrit = programme + QStringLiteral("/Reecrit.ini");
        EXIGE(configuration.Ecriture(reecrit));
        EXIGE(Tconfiguration::PremiereLigneIllisible(reecrit) == 0);
        // The position written beside it reads back as the list stands (a source never scanned has
        // no folder, which no position names).
        const std::optional<TPositionSource> position =
            PositionSource::Lit(PositionSource::FichierPres(reecrit));
        EXIGE(source.Chemin.isEmpty() ||
              (position && position->Fichier == PositionSource::Releve(source).Fichier));
        // The destinations close without a question, each saving its store.
        configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }
    VideDossierDeTravail();
    return 0;
}
