#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "environnement.h"
#include "fenetresimulee.h"
#include "questionstest.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Contenu(const QString& chemin) {
    QFile fichier(chemin);
    fichier.open(QIODevice::ReadOnly);
    return fichier.readAll();
}

// A damaged or hostile configuration file from tests/fixtures/configuration, its "@RACINE@" made
// the test's own folder, read as at start-up: trash first, then the file.
struct LectureDeFixture {
    explicit LectureDeFixture(const char* nom) : configuration(source) {
        for (const char* dossier :
             {"un", "deux", "trois", "a/b", "albums/ete", "Été", "Noël", "programme/Signatures"})
            env.Dossier(QString::fromUtf8(dossier));
        // "un" reached through a link, and a folder whose name is Latin-1, not UTF-8, with a picture's name.
        QFile::link(Dossier("un"), Dossier("lien-vers-un"));
        mkdir(Latin1().constData(), 0755);
        EcritFichier(Latin1() + "/a.jpg", "x");
        configuration.ContexteDestinations.DossierProgramme = env.Programme;
        configuration.ListeGroupe = &groupes;
        configuration.Questions = &utilisateur;
        groupes.Destinations = &configuration.Destinations;
        configuration.Destinations.Ajoute(TitreCorbeille, CreeCorbeille(&configuration.ContexteDestinations));
        original = Contenu(QStringLiteral(MIRASOLVE_FIXTURES_DIR "/configuration/") + QLatin1String(nom));
        EXPECT_FALSE(original.isEmpty()) << nom;
        original.replace("@RACINE@", QFile::encodeName(env.Racine()));
        fichier = env.Programme + QStringLiteral("/Mirasolve.ini");
        EcritFichier(QFile::encodeName(fichier), original);
        lue = configuration.Lecture(fichier);
    }
    ~LectureDeFixture() {
        configuration.ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        // A name that is not UTF-8 is beyond what the temporary folder can remove.
        unlink((Latin1() + "/a.jpg").constData());
        rmdir(Latin1().constData());
    }
    QByteArray Latin1() const { return QFile::encodeName(env.Racine()) + "/\xE9t\xE9 1990"; }

    QStringList Titres() const {
        QStringList titres;
        for (int i = 1; i < configuration.Destinations.Count(); ++i)
            titres << configuration.Destinations.Element(i)->Titre;
        return titres;
    }
    const TDestination& D(int i) const { return *configuration.Destinations.Element(i); }
    QString Dossier(const char* relatif) const { return env.Racine() + u'/' + QString::fromUtf8(relatif); }
    // What the file shows of itself: not read whole, its bytes kept aside as they were, even once
    // written again, and the user told once, with the line and the fault.
    void CopieGardee(qsizetype ligne, const char* faute) {
        const QString copie = fichier + QStringLiteral(".illisible");
        ASSERT_EQ(erreurs.size(), 1);
        EXPECT_TRUE(erreurs[0].contains(copie)) << erreurs[0].toStdString();
        EXPECT_TRUE(erreurs[0].contains(QStringLiteral("ligne %1 :").arg(ligne))) << erreurs[0].toStdString();
        EXPECT_TRUE(erreurs[0].contains(QString::fromUtf8(faute))) << erreurs[0].toStdString();
        EXPECT_EQ(Contenu(copie), original);
        configuration.Ecriture(fichier);
        EXPECT_EQ(Contenu(copie), original);
    }
    // The bounds the window is given, and the file as written back.
    QRect Fenetre() {
        FenetreSimulee fenetre;
        configuration.AppliqueFenetre(fenetre);
        return fenetre.normales;
    }
    QStringList Reecrit() {
        QStringList lignes;
        EXPECT_TRUE(configuration.Ecriture(fichier));
        TexteFichier::Lit(fichier, lignes);
        return lignes;
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TSourceListe source;
    TListeGroupe groupes;
    Tconfiguration configuration;
    QStringList& erreurs = utilisateur.Erreurs;
    QByteArray original;
    QString fichier;
    bool lue = false;
};

QRect Ecran() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

struct CasFixture {
    const char* nom;
    std::function<void(LectureDeFixture&)> verifie;
};

const CasFixture Cas[] = {
    {"ini-record-cut.ini",
     [](LectureDeFixture& l) {
         // What was read stays; the file's bytes are kept aside, and the message says where.
         EXPECT_FALSE(l.lue);
         EXPECT_EQ(l.Titres(), QStringList{"Un"});
         const QString copie = l.fichier + QStringLiteral(".illisible");
         ASSERT_EQ(l.erreurs.size(), 1);
         EXPECT_TRUE(l.erreurs[0].contains(copie));
         l.Reecrit();
         EXPECT_EQ(Contenu(copie), l.original);
     }},
    {"ini-bad-number.ini",
     [](LectureDeFixture& l) {
         EXPECT_FALSE(l.lue);
         ASSERT_EQ(l.erreurs.size(), 1);
         EXPECT_TRUE(l.erreurs[0].contains(QStringLiteral("ligne 2")));
         EXPECT_EQ(Contenu(l.fichier + QStringLiteral(".illisible")), l.original);
     }},
    {"ini-window-size-max.ini",
     [](LectureDeFixture& l) {
         EXPECT_TRUE(Ecran().contains(l.Fenetre()));
         EXPECT_TRUE(l.Reecrit().contains(QStringLiteral("WindowWidth=%1").arg(Ecran().width())));
     }},
    {"ini-window-position-extreme.ini",
     [](LectureDeFixture& l) { EXPECT_TRUE(Ecran().contains(l.Fenetre())); }},
    {"ini-dividers-extreme.ini",
     [](LectureDeFixture& l) {
         const QRect fenetre = l.Fenetre();
         const Tconfiguration& c = l.configuration;
         EXPECT_TRUE(c.Divider1 >= 2 && c.Divider1 <= fenetre.width()) << c.Divider1;
         EXPECT_TRUE(c.Divider2 >= 1 && c.Divider2 <= fenetre.width()) << c.Divider2;
         EXPECT_TRUE(c.Divider3 >= 1 && c.Divider3 <= fenetre.height()) << c.Divider3;
     }},
    {"ini-font-height-min.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.D(1).Fonte.pixelSize(), 133);
         EXPECT_EQ(l.Reecrit().mid(15 + 6, 3), (QStringList{"-133", "Arial", "100"}));
     }},
    {"ini-font-size-max.ini", [](LectureDeFixture& l) { EXPECT_EQ(l.D(1).Fonte.pointSize(), 100); }},
    {"ini-level-opens-itself.ini",
     [](LectureDeFixture& l) {
         // Un stands at the top and opens its level, where Deux stands; both can be reached.
         EXPECT_EQ(l.D(1).Groupe, 0);
         EXPECT_EQ(l.D(1).SousGroupe, 5);
         EXPECT_EQ(l.D(2).Groupe, 5);
         EXPECT_EQ(l.groupes.Groupe(0)->NbTuiles, 2);
         EXPECT_EQ(l.groupes.Groupe(5)->NbTuiles, 2);
     }},
    {"ini-level-unknown.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.D(1).Groupe, 0);
         EXPECT_EQ(l.D(2).Groupe, 0);
         EXPECT_EQ(l.groupes.Groupe(0)->NbTuiles, 3);
     }},
    {"ini-level-opened-twice.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.D(1).SousGroupe, 1);
         EXPECT_EQ(l.D(2).SousGroupe, -1);
         EXPECT_EQ(l.D(3).Groupe, 1);
     }},
    {"ini-level-parent-dropped.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.Titres(), (QStringList{"Un", "Deux"}));
         EXPECT_EQ(l.D(1).Groupe, 0);
         EXPECT_EQ(l.D(2).Groupe, 0);
     }},
    {"ini-path-same-folder-three-ways.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.Titres(), QStringList{"Un"});
         EXPECT_EQ(l.D(1).Chemin, l.Dossier("a/b"));
     }},
    {"ini-path-relative.ini", [](LectureDeFixture& l) { EXPECT_EQ(l.D(1).Chemin, l.Dossier("albums/ete")); }},
    {"ini-path-reserved.ini", [](LectureDeFixture& l) { EXPECT_TRUE(l.Titres().isEmpty()); }},
    {"ini-title-corbeille.ini",
     [](LectureDeFixture& l) { EXPECT_EQ(l.Titres(), QStringList{"Corbeille "}); }},
    {"ini-windows-1252-line.ini",
     [](LectureDeFixture& l) {
         // One record in the Windows code page among UTF-8 lines: each line read as written.
         EXPECT_EQ(l.Titres(), (QStringList{QStringLiteral("Été"), QStringLiteral("Noël")}));
         EXPECT_EQ(l.D(2).Chemin, l.Dossier("Noël"));
     }},
    {"ini-random-bytes.ini",
     [](LectureDeFixture& l) {
         // Nothing understood: the defaults, and the file kept.
         EXPECT_TRUE(l.lue);
         EXPECT_EQ(l.configuration.WindowWidth, 640);
         l.CopieGardee(1, "ligne non comprise");
     }},
    {"ini-utf-16-with-bom.ini", [](LectureDeFixture& l) { l.CopieGardee(1, "UTF-16"); }},
    {"ini-count-negative.ini",
     [](LectureDeFixture& l) {
         EXPECT_FALSE(l.lue);
         EXPECT_TRUE(l.Titres().isEmpty());
         l.CopieGardee(15, "négatif");
     }},
    {"ini-count-smaller-than-records.ini",
     [](LectureDeFixture& l) {
         // The count decides; the records after it are not lost for all that.
         EXPECT_TRUE(l.lue);
         EXPECT_EQ(l.Titres(), QStringList{"Un"});
         l.CopieGardee(26, "en trop");
     }},
    {"ini-title-too-long.ini",
     [](LectureDeFixture& l) {
         ASSERT_EQ(l.Titres().size(), 1);
         EXPECT_EQ(l.D(1).Titre, QString(1000, u'T'));
         l.CopieGardee(16, "coupé");
     }},
    {"ini-path-latin-1.ini",
     [](LectureDeFixture& l) {
         // The Latin-1 folder is found by its bytes, its picture listed under them, and both
         // records are written back as they were read, each line in its own encoding.
         ASSERT_EQ(l.Titres(), (QStringList{QStringLiteral("Noël"), QStringLiteral("Ete 1990")}));
         const QByteArray dossier = l.Latin1();
         EXPECT_EQ(l.D(2).OctetsDuDossier(), dossier);
         ASSERT_EQ(l.D(2).ATraiter.size(), 1);
         EXPECT_EQ(l.D(2).OctetsDe(l.D(2).ATraiter[0]), dossier + "/a.jpg");
         // The folder's text is where its files' texts start, as the store and renaming need.
         EXPECT_TRUE(l.D(2).ATraiter[0].startsWith(l.D(2).Chemin + u'/'));
         l.Reecrit();
         const QList<QByteArray> relues = TexteFichier::LignesOctets(Contenu(l.fichier));
         ASSERT_EQ(relues.size(), 35);
         EXPECT_EQ(relues.mid(15), TexteFichier::LignesOctets(l.original).mid(15));
     }},
    {"ini-path-same-folder-through-link-and-dotdot.ini",
     [](LectureDeFixture& l) {
         EXPECT_EQ(l.Titres(), QStringList{"Un"});
         EXPECT_EQ(l.D(1).Chemin, l.Dossier("un"));
     }},
    {"ini-every-number-extreme.ini",
     [](LectureDeFixture& l) {
         EXPECT_TRUE(Ecran().contains(l.Fenetre()));
         EXPECT_EQ(l.D(1).Groupe, 0);
         EXPECT_EQ(l.D(2).Fonte.pointSize(), 100);
     }},
};

} // namespace

// Every fixture gives its outcome, and nothing overflows or aborts under the sanitizers.
TEST(FichiersDeConfigurationHostiles, ChaqueDefautSonResultat) {
    for (const CasFixture& cas : Cas) {
        SCOPED_TRACE(cas.nom);
        LectureDeFixture lecture(cas.nom);
        cas.verifie(lecture);
        // A file read whole is never copied aside.
        if (lecture.erreurs.isEmpty()) {
            EXPECT_FALSE(QFile::exists(lecture.fichier + QStringLiteral(".illisible")));
        }
    }
}
