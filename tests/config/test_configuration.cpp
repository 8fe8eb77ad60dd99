#include "core/config/configuration.h"
#include "core/config/fenetreprincipale.h"
#include "core/destinations/destination.h"
#include "environnement.h"
#include "fenetresimulee.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(Configuration, ValeursDeConstruction) {
    EnvironnementTest env;
    TSourceListe source;
    Tconfiguration configuration(source);
    EXPECT_EQ(configuration.WindowWidth, 640);
    EXPECT_EQ(configuration.WindowHeight, 480);
    EXPECT_EQ(configuration.WindowLeft, 0);
    EXPECT_EQ(configuration.WindowTop, 0);
    EXPECT_EQ(configuration.Divider1, 417);
    EXPECT_EQ(configuration.Divider2, 204);
    EXPECT_EQ(configuration.Divider3, 129);
    EXPECT_EQ(configuration.SizeFilterX, 130);
    EXPECT_EQ(configuration.SizeFilterY, 130);
    EXPECT_FALSE(configuration.SizeFilter);
    EXPECT_FALSE(configuration.Maximized);
    EXPECT_EQ(configuration.Sensibilite, 0);
    EXPECT_FALSE(configuration.BullesAide);
    EXPECT_EQ(configuration.Destinations.Count(), 0);
    EXPECT_TRUE(configuration.Annulations.EstVide());
    EXPECT_EQ(configuration.SourcePath, env.Source);
}

TEST(Configuration, ChangeSourceRetireUnSeparateurEtBalaie) {
    EnvironnementTest env;
    TSourceListe source;
    Tconfiguration configuration(source);
    const QString d = env.Dossier(QStringLiteral("photos"));
    EcritImage(d + QStringLiteral("/une.jpg"));

    configuration.ChangeSource(d + u'/');
    EXPECT_EQ(configuration.SourcePath, d);
    EXPECT_EQ(source.Chemin, d);
    ASSERT_EQ(source.Fichiers.Count(), 1);
    EXPECT_EQ(source.Fichiers.Texte(0), QFile::encodeName(d + QStringLiteral("/une.jpg")));

    configuration.ChangeSource(QStringLiteral("/"));
    EXPECT_EQ(configuration.SourcePath, QStringLiteral("/"));
    EXPECT_EQ(source.Chemin, QStringLiteral("/"));
    for (int i = 0; i < source.Fichiers.Count(); ++i)
        EXPECT_FALSE(source.Fichiers.Texte(i).startsWith("//"));
}

TEST(Configuration, FichierAbsentDonneLesValeursDeLecture) {
    EnvironnementTest env;
    for (const char* nom : {"c.jpg", "A.gif", "b.bmp"})
        EcritImage(env.Source + u'/' + QLatin1String(nom));
    TSourceListe source;
    Tconfiguration configuration(source);
    configuration.ContexteDestinations.DossierProgramme = env.Programme;
    configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
    ASSERT_TRUE(configuration.Lecture(env.Programme + QStringLiteral("/absent.ini")));

    EXPECT_EQ(configuration.WindowWidth, 640);
    EXPECT_EQ(configuration.WindowHeight, 480);
    EXPECT_EQ(configuration.Divider1, 167);
    EXPECT_EQ(configuration.Divider2, 98);
    EXPECT_EQ(configuration.Divider3, 65);
    EXPECT_EQ(configuration.SizeFilterX, 100);
    EXPECT_EQ(configuration.SizeFilterY, 100);
    EXPECT_EQ(configuration.Sensibilite, 150000);
    EXPECT_TRUE(configuration.BullesAide);
    EXPECT_FALSE(configuration.Maximized);
    EXPECT_EQ(configuration.SourcePath, env.Source);
    ASSERT_EQ(source.Fichiers.Count(), 3);
    EXPECT_EQ(source.Fichiers.Element(0)->Nom, QByteArray("A.gif"));
    EXPECT_EQ(source.Fichiers.Element(1)->Nom, QByteArray("b.bmp"));
    EXPECT_EQ(source.Fichiers.Element(2)->Nom, QByteArray("c.jpg"));
    EXPECT_TRUE(configuration.Destinations.Element(0)->Active);
}

TEST(Configuration, ReleveEtAppliqueLaFenetre) {
    EnvironnementTest env;
    TSourceListe source;
    Tconfiguration configuration(source);
    FenetreSimulee fenetre;
    fenetre.normales = QRect(30, 40, 700, 500);
    fenetre.maximisee = true;
    fenetre.FixeSeparateurs(250, 120, 90);

    configuration.ReleveFenetre(fenetre);
    EXPECT_TRUE(configuration.Maximized);
    EXPECT_EQ(fenetre.retablissements, 1);
    EXPECT_EQ(QRect(configuration.WindowLeft, configuration.WindowTop, configuration.WindowWidth,
                    configuration.WindowHeight),
              QRect(30, 40, 700, 500));
    EXPECT_EQ(configuration.Divider1, 250);
    EXPECT_EQ(configuration.Divider2, 120);
    EXPECT_EQ(configuration.Divider3, 90);

    FenetreSimulee autre;
    configuration.AppliqueFenetre(autre);
    EXPECT_EQ(autre.normales, QRect(30, 40, 700, 500));
    EXPECT_TRUE(autre.maximisee);
    EXPECT_EQ(autre.destinations, 250);
    EXPECT_EQ(autre.apercus, 90);

    autre.maximisee = false;
    configuration.ReleveFenetre(autre);
    EXPECT_FALSE(configuration.Maximized);
    EXPECT_EQ(autre.retablissements, 0);
}

// No configuration yet: three quarters of the screen, more of a small one, centred; never below
// the minimum.
TEST(Configuration, BornesDuPremierDemarrage) {
    const QSize minimum(640, 480);
    EXPECT_EQ(BornesPremierDemarrage(QRect(0, 0, 1920, 1080), minimum), QRect(240, 135, 1440, 810));
    EXPECT_EQ(BornesPremierDemarrage(QRect(0, 0, 800, 600), minimum), QRect(40, 30, 720, 540));
    EXPECT_EQ(BornesPremierDemarrage(QRect(1920, 28, 2560, 1412), minimum), QRect(2240, 204, 1920, 1059));
    EXPECT_EQ(BornesPremierDemarrage(QRect(0, 0, 600, 400), minimum).size(), minimum);
}

TEST(Corbeille, CreeeDansLeDossierDuProgramme) {
    TContexteDestinations contexte;
    contexte.DossierProgramme = QStringLiteral("/opt/m");
    const QString source = QStringLiteral("/home/u");
    contexte.SourcePath = &source;
    const auto corbeille = CreeCorbeille(&contexte);
    EXPECT_EQ(corbeille->Titre, QStringLiteral("Corbeille"));
    EXPECT_EQ(corbeille->Chemin, QStringLiteral("/opt/m/Corbeille"));
    EXPECT_EQ(corbeille->Groupe, -1);
    EXPECT_EQ(corbeille->SousGroupe, -1);
    EXPECT_EQ(corbeille->Fonte.family(), QStringLiteral("Arial"));
    EXPECT_EQ(corbeille->Fonte.pointSize(), 16);
    EXPECT_TRUE(corbeille->Active);
    EXPECT_TRUE(corbeille->ATraiter.isEmpty());
    const QString corbeilleSource = QStringLiteral("/opt/m/Corbeille");
    contexte.SourcePath = &corbeilleSource;
    EXPECT_FALSE(CreeCorbeille(&contexte)->Active);
}
