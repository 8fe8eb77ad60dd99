#include "config/configuration.h"
#include "destinations/classement.h"
#include "destinations/destination.h"
#include "environnement.h"

#include <QFile>

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
    const TClassement deplace = ClasseFichier(source, 0, *destination, false, journal);
    ASSERT_TRUE(deplace.Classe);
    EXPECT_EQ(deplace.Cible, QFile::encodeName(album + QStringLiteral("/a.jpg")));
    EXPECT_FALSE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 1);
    EXPECT_EQ(destination->Comptes().ATraiter, 1);
    // Copied: the list keeps it.
    ASSERT_TRUE(ClasseFichier(source, 0, *destination, true, journal).Classe);
    EXPECT_EQ(source.Fichiers.Count(), 1);
    EXPECT_EQ(journal.AnnulSources.size(), 2);

    // Undone newest first: the copy deleted, then the move back at its place.
    EXPECT_EQ(AnnuleDernierClassement(journal, source).IndexRemis, -1);
    EXPECT_FALSE(QFile::exists(album + QStringLiteral("/b.jpg")));
    const TAnnulation remis = AnnuleDernierClassement(journal, source);
    EXPECT_TRUE(remis.Echec.isEmpty());
    EXPECT_EQ(remis.IndexRemis, 0);
    EXPECT_EQ(remis.NomRemis, QStringLiteral("a.jpg"));
    EXPECT_TRUE(QFile::exists(env.Source + QStringLiteral("/a.jpg")));
    EXPECT_EQ(source.Fichiers.Count(), 2);
    EXPECT_EQ(destination->Comptes().ATraiter, 0);
    // Nothing left to undo: nothing happens.
    const TAnnulation rien = AnnuleDernierClassement(journal, source);
    EXPECT_EQ(rien.IndexRemis, -1);
    EXPECT_TRUE(rien.Echec.isEmpty());

    // A destination closed since is never touched by the undo; the file still comes back.
    ASSERT_TRUE(ClasseFichier(source, 0, *destination, false, journal).Classe);
    journal.ContexteDestinations.ReponseMemorisee = 9;
    destination->Ferme();
    const qsizetype enAttente = destination->ATraiter.size();
    EXPECT_EQ(AnnuleDernierClassement(journal, source).IndexRemis, 0);
    EXPECT_EQ(destination->ATraiter.size(), enAttente);
}
