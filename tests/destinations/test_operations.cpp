#include "core/config/configuration.h"
#include "core/destinations/classement.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/tools/arborescence.h"
#include "environnement.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

// Filing and undoing it on the data alone, without any window.
TEST(OperationsDeClassement, ClasserCopierPuisAnnuler) {
    EnvironnementTest env;
    env.Dossier(QStringLiteral("programme/Signatures"));
    const QString album = env.Dossier(QStringLiteral("album"));
    for (const char* nom : {"a.jpg", "b.jpg"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    TSourceListe source;
    Tconfiguration journal(source);
    journal.ContexteDestinations.DossierProgramme = env.Programme;
    auto destination = std::make_shared<TDestination>(&journal.ContexteDestinations);
    destination->Charge(album, QStringLiteral("Album"));
    journal.Destinations.Ajoute(destination->Titre, destination);
    journal.ChangeSource(env.Source);
    source.Trie(TriNom);

    // Moved: out of the list, recorded, queued for its signature.
    const TClassement deplace = ClasseFichier(source, 0, *destination, false, journal.Annulations);
    ASSERT_TRUE(deplace.Classe);
    EXPECT_EQ(deplace.Cible, QFile::encodeName(album + QStringLiteral("/a.jpg")));
    EXPECT_FALSE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 1);
    EXPECT_EQ(destination->Comptes().ATraiter, 1);
    // Copied: the list keeps it.
    ASSERT_TRUE(ClasseFichier(source, 0, *destination, true, journal.Annulations).Classe);
    EXPECT_EQ(source.Fichiers.Count(), 1);
    EXPECT_EQ(journal.Annulations.Nombre(), 2);

    // Undone newest first: the copy deleted, then the move back at its place.
    EXPECT_EQ(AnnuleDerniereCommande(journal.Annulations, source).Fichiers.value(0).IndexRemis, -1);
    EXPECT_FALSE(QFile::exists(album + QStringLiteral("/b.jpg")));
    const TFichierAnnule remis = AnnuleDerniereCommande(journal.Annulations, source).Fichiers.value(0);
    EXPECT_TRUE(remis.Echec.isEmpty());
    EXPECT_EQ(remis.IndexRemis, 0);
    EXPECT_EQ(remis.NomRemis, QStringLiteral("a.jpg"));
    EXPECT_TRUE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 2);
    EXPECT_EQ(destination->Comptes().ATraiter, 0);
    // Nothing left to undo: nothing happens.
    const TAnnulation rien = AnnuleDerniereCommande(journal.Annulations, source);
    EXPECT_TRUE(rien.Fichiers.isEmpty());
    EXPECT_TRUE(rien.Echec.isEmpty());

    // A destination closed since is never touched by the undo; the file still comes back.
    ASSERT_TRUE(ClasseFichier(source, 0, *destination, false, journal.Annulations).Classe);
    journal.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    destination->Ferme();
    const qsizetype enAttente = destination->ATraiter.size();
    EXPECT_EQ(AnnuleDerniereCommande(journal.Annulations, source).Fichiers.value(0).IndexRemis, 0);
    EXPECT_EQ(destination->ATraiter.size(), enAttente);
}

// A folder tree added as levels, without any window: pre-order, a folder declined by the
// question and the program's own folder left out, levels only where sub-folders came in.
TEST(OperationsDeClassement, AjoutDUneArborescence) {
    EnvironnementTest env;
    const QString racine = env.Dossier(QStringLiteral("Photos"));
    for (const char* dossier : {"Photos/A/A1", "Photos/A/A2", "Photos/B", "Photos/programme"})
        env.Dossier(QString::fromLatin1(dossier));
    TSourceListe source;
    Tconfiguration configuration(source);
    TListeGroupe groupes;
    groupes.Destinations = &configuration.Destinations;
    configuration.ContexteDestinations.DossierProgramme = racine + QStringLiteral("/programme");
    configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
    QStringList proposes;
    TAjoutArborescence ajout(configuration.Destinations, groupes, configuration.ContexteDestinations);
    ajout.Valide = [&](const QString& dossier, int mode) -> std::optional<TProprietesDestination> {
        proposes << QFileInfo(dossier).fileName();
        EXPECT_EQ(mode, 3);
        if (dossier.endsWith(QStringLiteral("/A2"))) return std::nullopt;
        TProprietesDestination proprietes;
        proprietes.Chemin = dossier;
        proprietes.Titre = QFileInfo(dossier).fileName();
        return proprietes;
    };
    TOptionsArborescence options;
    options.Mode = 3;
    ajout.Ajoute(racine, options);

    QStringList titres;
    for (int i = 1; i < configuration.Destinations.Count(); ++i)
        titres << configuration.Destinations.Element(i)->Titre;
    // Sub-folders come in the order the file system gives them: compare as sets, parents first.
    EXPECT_EQ(titres.first(), QStringLiteral("Photos"));
    EXPECT_EQ(QSet<QString>(titres.begin(), titres.end()), (QSet<QString>{"Photos", "A", "A1", "B"}));
    EXPECT_LT(titres.indexOf(QStringLiteral("A")), titres.indexOf(QStringLiteral("A1")));
    EXPECT_FALSE(proposes.contains(QStringLiteral("programme")));
    const auto titree = [&](const QString& titre) {
        return configuration.Destinations.Element(static_cast<int>(titres.indexOf(titre)) + 1);
    };
    EXPECT_NE(titree(QStringLiteral("Photos"))->SousGroupe, -1);
    EXPECT_EQ(titree(QStringLiteral("A1"))->Groupe, titree(QStringLiteral("A"))->SousGroupe);
    EXPECT_EQ(titree(QStringLiteral("B"))->SousGroupe, -1);
    configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
}
