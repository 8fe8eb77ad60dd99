#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/fermeture.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/magasin.h"
#include "environnement.h"
#include "questionstest.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A configuration as the program holds it: its trash, its tree levels, its store.
class ConfigurationTest : public testing::Test {
protected:
    ConfigurationTest() : configuration(source) {
        env.Dossier(QStringLiteral("programme/Signatures"));
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        configuration.ListeGroupe = &groupes;
        configuration.Questions = &utilisateur;
        configuration.ContexteDestinations.Questions = &utilisateur;
        groupes.Destinations = &configuration.Destinations;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
    }
    QString Fichier(const QStringList& lignes) {
        const QString chemin = env.Programme + QStringLiteral("/Mirasolve.ini");
        EXPECT_TRUE(TexteFichier::Ecrit(chemin, lignes));
        return chemin;
    }
    static QStringList Entete(const QString& source, int nombre) {
        return {"Maximized=N",        "WindowWidth=800", "WindowHeight=600",
                "WindowLeft=10",      "WindowTop=10",    "Divider1=220",
                "Divider2=150",       "Divider3=96",     "SizeFilter=0",
                "SizeFilterX=100",    "SizeFilterY=100", "SourcePath=" + source,
                "Sensibilite=150000", "Bullesaide=0",    QStringLiteral("DestinationCount=%1").arg(nombre)};
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TSourceListe source;
    TListeGroupe groupes;
    Tconfiguration configuration;
    QStringList& erreurs = utilisateur.Erreurs;
};

} // namespace

TEST_F(ConfigurationTest, ExempleLuEtReecritALOctetPres) {
    const QString photos = env.Dossier(QStringLiteral("Photos"));
    const QString vacances = env.Dossier(QStringLiteral("Photos/Vacances"));
    const QString plage = env.Dossier(QStringLiteral("Photos/Vacances/Plage"));
    EcritImage(photos + QStringLiteral("/a.jpg"));
    QStringList lignes = Entete(photos, 2);
    lignes << "Vacances" << vacances << "1"
           << "0"
           << "1"
           << "0"
           << "-13"
           << "Arial"
           << "10"
           << "*XXX*X"
           << "Plage" << plage << "-1"
           << "1"
           << "1"
           << "0"
           << "-11"
           << "MS Sans Serif"
           << "8"
           << "XXXX**";
    const QString fichier = Fichier(lignes);
    const QByteArray original = Contenu(fichier);

    ASSERT_TRUE(configuration.Lecture(fichier));
    EXPECT_TRUE(erreurs.isEmpty());
    EXPECT_EQ(configuration.WindowWidth, 800);
    EXPECT_EQ(configuration.Divider3, 96);
    EXPECT_TRUE(configuration.BullesAide);
    EXPECT_EQ(configuration.SourcePath, photos);
    EXPECT_EQ(source.Fichiers.Count(), 1);
    ASSERT_EQ(configuration.Destinations.Count(), 3);
    const TDestination& v = *configuration.Destinations.Element(1);
    EXPECT_EQ(v.Titre, QStringLiteral("Vacances"));
    EXPECT_EQ(v.SousGroupe, 1);
    EXPECT_TRUE(v.Fonte.bold());
    EXPECT_EQ(v.Fonte.pointSize(), 10);
    EXPECT_TRUE(v.RechercheLocale);
    EXPECT_FALSE(v.RechercheGenerale);
    const TDestination& p = *configuration.Destinations.Element(2);
    EXPECT_EQ(p.Groupe, 1);
    EXPECT_TRUE(p.RechercheGenerale);
    // Levels: the top one holds Vacances, level 1 holds Plage; each also counts the trash.
    ASSERT_NE(groupes.Groupe(1), nullptr);
    EXPECT_EQ(groupes.Groupe(0)->NbTuiles, 2);
    EXPECT_EQ(groupes.Groupe(1)->NbTuiles, 2);
    EXPECT_EQ(groupes.Groupe(1)->HauteurMax, 13);

    ASSERT_TRUE(configuration.Ecriture(fichier));
    EXPECT_EQ(Contenu(fichier), original);
}

TEST_F(ConfigurationTest, ValeursParticulieres) {
    const QString d = env.Dossier(QStringLiteral("d"));
    const QString d2 = env.Dossier(QStringLiteral("d2")), d3 = env.Dossier(QStringLiteral("d3"));
    // Keys anywhere, in any case; values exact; an empty title; short and odd flags lines.
    const QString fichier = Fichier({"bullesaide=1",
                                     "MAXIMIZED=m",
                                     "DestinationCount=3",
                                     "",
                                     d,
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "*X*XXX",
                                     "Deux",
                                     d2,
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "XXXX?X",
                                     "Trois",
                                     d3,
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "*"});
    ASSERT_TRUE(configuration.Lecture(fichier));
    EXPECT_FALSE(configuration.BullesAide);
    EXPECT_FALSE(configuration.Maximized);
    EXPECT_EQ(configuration.WindowWidth, 640);
    EXPECT_EQ(configuration.Sensibilite, 150000);
    ASSERT_EQ(configuration.Destinations.Count(), 4);
    const TDestination& un = *configuration.Destinations.Element(1);
    EXPECT_EQ(un.Titre, QStringLiteral(" "));
    EXPECT_TRUE(un.Fonte.bold());
    EXPECT_TRUE(un.Fonte.underline());
    EXPECT_FALSE(un.Fonte.italic());
    EXPECT_FALSE(un.RechercheLocale);
    EXPECT_FALSE(un.RechercheGenerale);
    EXPECT_EQ(un.Fonte.family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(un.Fonte.pointSize(), 8);
    const TDestination& deux = *configuration.Destinations.Element(2);
    EXPECT_TRUE(deux.RechercheLocale);
    EXPECT_FALSE(deux.RechercheGenerale);
    // A one-character flags line: the missing characters read as "X".
    const TDestination& trois = *configuration.Destinations.Element(3);
    EXPECT_TRUE(trois.Fonte.bold());
    EXPECT_FALSE(trois.RechercheLocale);
    EXPECT_FALSE(trois.RechercheGenerale);

    ASSERT_TRUE(configuration.Ecriture(fichier));
    QStringList relues;
    TexteFichier::Lit(fichier, relues);
    EXPECT_EQ(relues[13], QStringLiteral("Bullesaide=1"));
    EXPECT_EQ(relues[15], QStringLiteral(" "));
}

TEST_F(ConfigurationTest, DossierAbsentEtNiveauPerdu) {
    const QString garde = env.Dossier(QStringLiteral("garde"));
    const QString enfant = env.Dossier(QStringLiteral("enfant"));
    QStringList lignes = Entete(garde, 3);
    lignes << Enregistrement("Parti", env.Racine() + QStringLiteral("/parti"), 4, 0)
           << Enregistrement("Enfant", enfant, -1, 4) << Enregistrement("Garde", garde);
    const QString fichier = Fichier(lignes);
    ASSERT_TRUE(configuration.Lecture(fichier));
    ASSERT_EQ(configuration.Destinations.Count(), 3);
    // The child of the missing folder's level stands at the top level.
    EXPECT_EQ(configuration.Destinations.Element(1)->Groupe, 0);
    EXPECT_EQ(groupes.Groupe(0)->NbTuiles, 3);
    EXPECT_EQ(configuration.ContexteDestinations.ReponseMemorisee, ReponseConfirmation::Oui);
    ASSERT_TRUE(configuration.Ecriture(fichier));
    QStringList relues;
    TexteFichier::Lit(fichier, relues);
    EXPECT_EQ(relues[14], QStringLiteral("DestinationCount=2"));
    EXPECT_EQ(relues.size(), 15 + 20);
}

TEST_F(ConfigurationTest, ValeurIncorrecteOuFichierCourt) {
    const QString d = env.Dossier(QStringLiteral("d"));
    const QString avant = configuration.SourcePath;
    EXPECT_FALSE(configuration.Lecture(Fichier({"WindowWidth=12a", "SourcePath=" + d})));
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].contains(QStringLiteral("Mirasolve.ini")));
    EXPECT_TRUE(erreurs[0].contains(QStringLiteral("ligne 1")));
    EXPECT_EQ(configuration.SourcePath, avant);

    // Fewer record lines than announced: the complete records read before stay.
    QStringList lignes = Entete(d, 2);
    lignes << Enregistrement("Un", d) << "Deux" << d;
    EXPECT_FALSE(configuration.Lecture(Fichier(lignes)));
    EXPECT_EQ(erreurs.size(), 2);
    EXPECT_EQ(configuration.Destinations.Count(), 2);
    EXPECT_EQ(configuration.WindowWidth, 800);
}

TEST_F(ConfigurationTest, EcritureImpossibleLaisseLAncienFichier) {
    const QString fichier = Fichier({"WindowWidth=700"});
    const QByteArray avant = Contenu(fichier);
    EXPECT_FALSE(configuration.Ecriture(env.Racine() + QStringLiteral("/absent/Mirasolve.ini")));
    EXPECT_EQ(Contenu(fichier), avant);
    EXPECT_EQ(QDir(env.Programme).entryList({QStringLiteral("Mirasolve*")}, QDir::Files),
              QStringList{"Mirasolve.ini"});
}

TEST(ListeGroupe, NiveauxEtHauteurs) {
    TListeDestinations destinations;
    TListeGroupe groupes;
    groupes.Destinations = &destinations;
    auto ajoute = [&](int groupe, int sousGroupe, int points) {
        auto d = std::make_unique<TDestination>();
        d->Groupe = groupe;
        d->SousGroupe = sousGroupe;
        d->Fonte.setPointSize(points);
        TDestination* brut = d.get();
        destinations.Ajoute(QStringLiteral("x"), std::move(d));
        if (sousGroupe != -1)
            groupes.AjouteGroupe(*brut);
        else
            groupes.Ajoute(*brut);
        return brut;
    };
    auto corbeilleListe = std::make_unique<TDestination>();
    corbeilleListe->Groupe = -1;
    destinations.Ajoute(TitreCorbeille, std::move(corbeilleListe));
    TDestination* parent = ajoute(0, 3, 8);
    TDestination* grand = ajoute(3, -1, 20);
    ajoute(3, -1, 10);
    EXPECT_EQ(groupes.Groupe(3)->NbTuiles, 3);
    EXPECT_EQ(groupes.Groupe(3)->HauteurMax, 27);
    EXPECT_EQ(groupes.NouvelId(), 1);
    groupes.Courant = 3;
    EXPECT_EQ(groupes.NbCourant(), 3);
    EXPECT_EQ(groupes.HauteurCourante(), 27);

    // Removing the largest font lowers the height to the next; then emptying the level unlinks
    // its parent and shows the parent's level.
    // As closing does: out of the list first, then uncounted.
    const auto sorti = destinations.Retire(2);
    ASSERT_EQ(sorti.get(), grand);
    groupes.Retire(*sorti);
    EXPECT_EQ(groupes.Groupe(3)->HauteurMax, 13);
    const auto dernier = destinations.Retire(2);
    groupes.Retire(*dernier);
    EXPECT_EQ(parent->SousGroupe, -1);
    EXPECT_EQ(groupes.Courant, 0);

    // The smallest id not in use; an id that is no level reads the top level.
    auto niveau = [&](int id) {
        auto g = std::make_unique<TGroupe>();
        g->Id = id;
        groupes.Groupes.push_back(std::move(g));
    };
    niveau(1);
    EXPECT_EQ(groupes.NouvelId(), 2);
    niveau(2);
    EXPECT_EQ(groupes.NouvelId(), 4);
    groupes.Courant = 42;
    groupes.FixePositionCourante(5);
    EXPECT_EQ(groupes.Groupe(0)->Position, 5);
    // The trash is counted in no level.
    TDestination corbeille;
    corbeille.Groupe = -1;
    groupes.Ajoute(corbeille);
    EXPECT_EQ(groupes.Groupe(0)->NbTuiles, 2);
}

TEST_F(ConfigurationTest, DestinationChargeEtSauveSonMagasin) {
    const QString d = env.Dossier(QStringLiteral("dest"));
    for (const char* nom : {"a.jpg", "b.gif", "c.bmp"})
        EcritImage(d + u'/' + QLatin1String(nom));
    TContexteDestinations& contexte = configuration.ContexteDestinations;
    {
        TDestination destination(&contexte);
        destination.Charge(d, QStringLiteral("Dest"));
        EXPECT_EQ(destination.ATraiter.size(), 3);
        auto signature = std::make_shared<Tminiature>();
        ASSERT_TRUE(signature->Calcule(d + QStringLiteral("/a.jpg")));
        destination.ListeSignatures->Miniatures.push_back(signature);
        destination.ListeSignatures->Intraitables << d + QStringLiteral("/c.bmp");
        // Recorded with its file's state, as the search records it: kept while the file is unchanged.
        destination.ListeSignatures->EtatsIntraitables.insert(
            d + QStringLiteral("/c.bmp"), TEtatFichier::De(QFile::encodeName(d + QStringLiteral("/c.bmp"))));
        contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    } // destroyed with "no to all": saved
    TMagasinSignatures magasin(contexte.DossierSignatures());
    ASSERT_EQ(magasin.NomDeBase(d).size(), 20);

    QFile::remove(d + QStringLiteral("/b.gif"));
    EcritImage(d + QStringLiteral("/e.jpg"));
    {
        TDestination destination(&contexte);
        destination.Charge(d, QStringLiteral("Dest"));
        // a.jpg has its signature, c.bmp is untreatable: only the new image waits.
        EXPECT_EQ(destination.ATraiter, QStringList{d + QStringLiteral("/e.jpg")});
        EXPECT_EQ(destination.NbSauvees, 1);
        EXPECT_TRUE(destination.Active);
        contexte.ReponseMemorisee = ReponseConfirmation::OuiPourTous;
    } // destroyed with "yes to all": erased
    EXPECT_TRUE(magasin.NomDeBase(d).isEmpty());
    EXPECT_EQ(QDir(contexte.DossierSignatures()).entryList(QDir::Files), QStringList{"Index.txt"});

    // The source folder's destination is inactive.
    configuration.SourcePath = d;
    TDestination laSource(&contexte);
    laSource.Charge(d, QStringLiteral("S"));
    EXPECT_FALSE(laSource.Active);
    contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
}

TEST_F(ConfigurationTest, DemandeEffacement) {
    TContexteDestinations& contexte = configuration.ContexteDestinations;
    int questions = 0;
    ReponseConfirmation reponse = ReponseConfirmation::OuiPourTous;
    utilisateur.Confirmation = [&](const QString& question) {
        ++questions;
        EXPECT_TRUE(question.startsWith(QStringLiteral("Voulez-vous effacer les signatures du dossier '")));
        return reponse;
    };
    TDestination d(&contexte);
    d.ATraiter << QStringLiteral("/x.jpg");
    contexte.ReponseMemorisee = ReponseConfirmation::Aucune;
    EXPECT_TRUE(d.DemandeEffacement());
    EXPECT_TRUE(d.ATraiter.isEmpty());
    // Yes to all answers the next ones without asking.
    EXPECT_TRUE(d.DemandeEffacement());
    EXPECT_EQ(questions, 1);
    contexte.ReponseMemorisee = ReponseConfirmation::Aucune;
    reponse = ReponseConfirmation::ToutAnnuler;
    d.ATraiter << QStringLiteral("/y.jpg");
    EXPECT_FALSE(d.DemandeEffacement());
    EXPECT_EQ(d.ATraiter.size(), 1);
    contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
}

// Each answer of the confirmation: whether the destination may close, whether it forgets what it
// had queued, and whether the next destination is asked again.
TEST_F(ConfigurationTest, DemandeEffacementSelonChaqueReponse) {
    struct Cas {
        ReponseConfirmation reponse;
        bool ferme, oublie, redemande;
    };
    const Cas cas[] = {
        {ReponseConfirmation::Oui, true, true, true},
        {ReponseConfirmation::OuiPourTous, true, true, false},
        {ReponseConfirmation::Non, true, false, true},
        {ReponseConfirmation::NonPourTous, true, false, false},
        {ReponseConfirmation::Annuler, false, false, true},
        {ReponseConfirmation::ToutAnnuler, false, false, true},
    };
    TContexteDestinations& contexte = configuration.ContexteDestinations;
    for (const Cas& c : cas) {
        int questions = 0;
        utilisateur.Confirmation = [&](const QString&) {
            ++questions;
            return c.reponse;
        };
        contexte.ReponseMemorisee = ReponseConfirmation::Aucune;
        TDestination d(&contexte), suivante(&contexte);
        d.ATraiter << QStringLiteral("/x.jpg");
        const int n = static_cast<int>(c.reponse);
        EXPECT_EQ(d.DemandeEffacement(), c.ferme) << n;
        EXPECT_EQ(d.ATraiter.isEmpty(), c.oublie) << n;
        EXPECT_EQ(contexte.ReponseMemorisee, c.reponse) << n;
        suivante.DemandeEffacement();
        EXPECT_EQ(questions, c.redemande ? 2 : 1) << n;
        contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }
}

// A destination closed while another thread still holds it: closed at once (its store saved),
// freed only when that thread lets go; the sanitizers see no use after free.
TEST_F(ConfigurationTest, UneDestinationFermeeResteValideTantQuOnLaTient) {
    const QString d = env.Dossier(QStringLiteral("tenue"));
    EcritImage(d + QStringLiteral("/a.jpg"));
    auto destination = std::make_shared<TDestination>(&configuration.ContexteDestinations);
    destination->Charge(d, QStringLiteral("Tenue"));
    destination->ListeSignatures->Intraitables << d + QStringLiteral("/a.jpg");
    configuration.Destinations.Ajoute(destination->Titre, destination);
    std::weak_ptr<TDestination> suivie = destination;
    std::atomic<bool> fermeeVue{false};
    std::thread tache([tenue = std::move(destination), &fermeeVue] {
        // Keeps reading what a search task would, before, during and after the close.
        qsizetype lu = 0;
        while (!tenue->EstFermee())
            lu += tenue->Chemin.size();
        fermeeVue = true;
        for (int i = 0; i < 1000; ++i)
            lu += tenue->Titre.size() + tenue->Chemin.size();
        EXPECT_GT(lu, 0);
    });
    configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::Non;
    configuration.Destinations.Retire(1)->Ferme();
    // Closed now: the store is written although the object is still held.
    EXPECT_FALSE(
        TMagasinSignatures(configuration.ContexteDestinations.DossierSignatures()).NomDeBase(d).isEmpty());
    tache.join();
    EXPECT_TRUE(fermeeVue);
    EXPECT_TRUE(suivie.expired());
    configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
}

// The shared lists change from two threads at once while the main thread reads their counts.
TEST(Destination, ListesPartageesSousLeVerrou) {
    TDestination d;
    d.Chemin = QStringLiteral("/d");
    constexpr int Parts = 20000;
    std::atomic<int> finis{0};
    auto ajoute = [&d, &finis](const QString& prefixe) {
        for (int i = 0; i < Parts; ++i)
            d.AjouteATraiter(prefixe + QString::number(i));
        ++finis;
    };
    std::thread un(ajoute, QStringLiteral("/d/a")), deux(ajoute, QStringLiteral("/d/b"));
    qsizetype lus = 0;
    while (finis < 2)
        lus = std::max(lus, d.Comptes().ATraiter);
    un.join();
    deux.join();
    EXPECT_LE(lus, 2 * Parts);
    d.Oublie(QStringLiteral("/d/a7"));
    EXPECT_EQ(d.Comptes().ATraiter, 2 * Parts - 1);
}

// Closing a parent with its sub-tree, then all with "To&ut annuler", without any window.
TEST_F(ConfigurationTest, FermeturesSansFenetre) {
    QStringList lignes = Entete(env.Source, 6);
    lignes << Enregistrement("A", env.Dossier("A"), 1, 0) << Enregistrement("B", env.Dossier("A/B"), 2, 1)
           << Enregistrement("D", env.Dossier("A/B/D"), -1, 2)
           << Enregistrement("C", env.Dossier("A/C"), -1, 1) << Enregistrement("E", env.Dossier("E"), -1, 0)
           << Enregistrement("F", env.Dossier("F"), -1, 0);
    ASSERT_TRUE(configuration.Lecture(Fichier(lignes)));
    QStringList questions;
    QList<ReponseConfirmation> reponses{ReponseConfirmation::Oui, ReponseConfirmation::Non,
                                        ReponseConfirmation::Oui, ReponseConfirmation::Non};
    utilisateur.Confirmation = [&](const QString& question) {
        questions << question.section(u'\'', 1, 1).section(u'/', -1);
        return reponses.isEmpty() ? ReponseConfirmation::Non : reponses.takeFirst();
    };
    const QList<bool>& annulations = utilisateur.Annulations;
    TFermeture fermeture(configuration.Destinations, groupes, configuration.ContexteDestinations);
    const auto titres = [this] {
        QStringList liste;
        for (int i = 1; i < configuration.Destinations.Count(); ++i)
            liste << configuration.Destinations.Element(i)->Titre;
        return liste;
    };

    fermeture.FermeAvecSousArbre(1);
    EXPECT_EQ(questions, (QStringList{"A", "C", "B", "D"}));
    EXPECT_EQ(annulations, (QList<bool>{false, true}));
    EXPECT_EQ(titres(), (QStringList{"E", "F"}));
    // The trash is never closed.
    fermeture.FermeAvecSousArbre(0);
    EXPECT_EQ(configuration.Destinations.Count(), 3);

    // "To&ut annuler" at the second question: F closed, E stays open.
    questions.clear();
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::ToutAnnuler};
    EXPECT_FALSE(fermeture.FermeTout());
    EXPECT_EQ(questions, (QStringList{"F", "E"}));
    EXPECT_EQ(titres(), QStringList{"E"});
    EXPECT_EQ(configuration.ContexteDestinations.ReponseMemorisee, ReponseConfirmation::Non);
    reponses = {ReponseConfirmation::Non};
    EXPECT_TRUE(fermeture.FermeTout());
    EXPECT_TRUE(titres().isEmpty());
    EXPECT_EQ(groupes.Courant, 0);
    configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
}
