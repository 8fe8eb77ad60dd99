#include "controles.h"
#include "core/app/dossierprogramme.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "core/source/sourceliste.h"
#include "programme.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/progression.h"
#include "ui/app/signaux.h"
#include "ui/app/splash2.h"
#include "ui/config/gestconf.h"
#include "ui/config/preferences.h"
#include "ui/destinations/confirmation.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/duplicates/gestmini.h"
#include "ui/source/nouvsource.h"
#include "ui/source/pleinecran.h"
#include "ui/tools/nouvdest.h"
#include "ui/tools/recursif.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <csignal>
#include <thread>

TEST(DossierProgramme, DossierDeLExecutableOuDonneesUtilisateur) {
    EnvironnementTest env;
    const DossiersProgramme ici = ResoutDossiersProgramme(env.Programme + u'/');
    EXPECT_EQ(ici.Donnees, env.Programme);
    EXPECT_EQ(ici.Ressources, env.Programme);

    // A folder that cannot take the data: the per-user data folder, created.
    const QString absent = env.Racine() + QStringLiteral("/absent");
    const DossiersProgramme ailleurs = ResoutDossiersProgramme(absent);
    EXPECT_EQ(ailleurs.Ressources, absent);
    EXPECT_NE(ailleurs.Donnees, absent);
    EXPECT_TRUE(QFileInfo(ailleurs.Donnees).isDir());

    // Installed: resources from share/mirasolve, data in the user's data folder even though bin/
    // could take them.
    const QString prefixe = env.Dossier(QStringLiteral("usr"));
    env.Dossier(QStringLiteral("usr/bin"));
    EcritImage(env.Dossier(QStringLiteral("usr/share/mirasolve")) + QStringLiteral("/BandeMenu.bmp"));
    const QByteArray ancien = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(env.Racine() + QStringLiteral("/donnees")));
    const DossiersProgramme installe = ResoutDossiersProgramme(prefixe + QStringLiteral("/bin"));
    ancien.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", ancien);
    EXPECT_EQ(installe.Ressources, prefixe + QStringLiteral("/share/mirasolve"));
    EXPECT_EQ(installe.Donnees, env.Racine() + QStringLiteral("/donnees/Mirasolve"));
    EXPECT_TRUE(QFileInfo(installe.Donnees).isDir());
}

TEST(DossierProgramme, CreeCorbeilleEtSignatures) {
    EnvironnementTest env;
    EXPECT_TRUE(CreeDossiersAttendus(env.Programme).isEmpty());
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Corbeille")).isDir());
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Signatures")).isDir());
    // What is there is kept.
    EcritFichier(QFile::encodeName(env.Programme + QStringLiteral("/Corbeille/garde.jpg")), "x");
    EXPECT_TRUE(CreeDossiersAttendus(env.Programme).isEmpty());
    EXPECT_TRUE(QFile::exists(env.Programme + QStringLiteral("/Corbeille/garde.jpg")));
    // A plain file in the way is reported, not replaced.
    const QString autre = env.Dossier(QStringLiteral("autre"));
    EcritFichier(QFile::encodeName(autre + QStringLiteral("/Signatures")), "fichier");
    EXPECT_EQ(CreeDossiersAttendus(autre), QStringList{autre + QStringLiteral("/Signatures")});
}

TEST_F(ProgrammeTest, SequenceDeDemarrage) {
    Demarre();
    // Every window and data object exists; the trash is entry 0.
    for (const QObject* global : std::initializer_list<const QObject*>{
             MainForm, FormPreference, FormProgress, FormNouvSource, FormNouvDest, FormPleinEcran, FormRecurs,
             FormConfirmation, FormDedoublone, FormGestConf, FormMiniatures})
        EXPECT_NE(global, nullptr);
    ASSERT_NE(Source(), nullptr);
    ASSERT_NE(Config(), nullptr);
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Corbeille")).isDir());
    EXPECT_TRUE(QFileInfo(env.Programme + QStringLiteral("/Signatures")).isDir());
    ASSERT_EQ(Config()->Destinations.Count(), 1);
    EXPECT_EQ(Config()->Destinations.Texte(0), QStringLiteral("Corbeille"));
    EXPECT_EQ(Config()->Destinations.Element(0)->Chemin, env.Programme + QStringLiteral("/Corbeille"));
    EXPECT_EQ(MainForm->Session().DossierProgramme, env.Programme);

    // The configuration was read before the start-up timer: the source is scanned and sorted.
    EXPECT_EQ(Config()->SourcePath, env.Source);
    EXPECT_EQ(Config()->Divider1, 167);
    ASSERT_EQ(Source()->Fichiers.Count(), 3);
    EXPECT_EQ(Source()->Fichiers.Element(0)->Nom, QByteArray("A.gif"));
    EXPECT_EQ(Indice(Controle<QListWidget>("ListBox1")),
              env.Source +
                  QStringLiteral("\rClic gauche pour sélectionner une image\rClic droit pour le menu"));

    // Until the timer fires, the loading window stands alone.
    EXPECT_TRUE(MainForm->FenetreChargement->isVisible());
    EXPECT_TRUE(Controle<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(Controle<QTimer>("Timer2")->isActive());
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), 0);
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_FALSE(FormProgress->isVisible());

    MainForm->showMinimized();
    EXPECT_TRUE(AttendQue([] { return !MainForm->FenetreChargement->isVisible(); }, 5000));
    EXPECT_FALSE(Controle<QTimer>("Timer1")->isActive());
    EXPECT_TRUE(Controle<QTimer>("Timer2")->isActive());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->isMinimized());
    ASSERT_EQ(Controle<QListWidget>("ListBox1")->count(), 3);
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("A.gif"));
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->item(1)->text(), QStringLiteral("b.bmp"));
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->item(2)->text(), QStringLiteral("c.jpg"));
}

TEST_F(ProgrammeTest, FenetresCreeesAvecLeurTitreTailleEtAide) {
    Demarre();
    struct Attendu {
        QWidget* fenetre;
        const char* titre;
        QSize taille;
        int contexte;
        bool elargie = false; // wider when its captions need it
    };
    const Attendu attendus[] = {
        {FormPreference, "Préférences", {261, 151}, 2430, true},
        {FormProgress, "Veillez patienter", {263, 37}, 0},
        {FormNouvSource, "Sélection de la source", {296, 225}, 2300},
        {FormNouvDest, "Création d'une nouvelle destination", {318, 297}, 2440, true},
        {FormRecurs, "Ajouter une destination avec ses sous-dossiers", {346, 393}, 2450, true},
        {FormConfirmation, "Confirmation", {324, 113}, 0},
        {FormDedoublone, "Gestion des images en double", {548, 400}, 2460},
        {FormGestConf, "Gestionnaire de configuration", {422, 301}, 2420},
        {FormMiniatures, "Gestion des signatures des images", {400, 270}, 2410},
        {MainForm->FenetreChargement, "Mirasolve", {322, 201}, 0},
    };
    for (const Attendu& a : attendus) {
        SCOPED_TRACE(a.titre);
        EXPECT_EQ(a.fenetre->windowTitle(), QString::fromUtf8(a.titre));
        EXPECT_EQ(a.fenetre->height(), a.taille.height());
        if (a.elargie) {
            EXPECT_GE(a.fenetre->width(), a.taille.width());
        } else {
            EXPECT_EQ(a.fenetre->width(), a.taille.width());
        }
        if (a.contexte) {
            EXPECT_EQ(ContexteAide(a.fenetre), a.contexte);
        }
    }
    EXPECT_EQ(FormDedoublone->minimumSize(), QSize(548, 400));
    EXPECT_EQ(FormPleinEcran->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(FormPleinEcran->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Mirasolve"));
    EXPECT_EQ(MainForm->minimumSize(), QSize(640, 480));

    // The loading window's labels and bars.
    QStringList textes;
    for (const QLabel* libelle : MainForm->FenetreChargement->findChildren<QLabel*>())
        textes << libelle->text();
    for (const char* texte :
         {"Mirasolve 1.0", "Chargement des destinations", "Total", "Destination en cours :"})
        EXPECT_TRUE(textes.contains(QString::fromUtf8(texte))) << texte;
    EXPECT_EQ(ControleDe<QProgressBar>(*MainForm->FenetreChargement, "ProgressBar1")->geometry(),
              QRect(8, 144, 305, 13));
    EXPECT_EQ(ControleDe<QProgressBar>(*MainForm->FenetreChargement, "ProgressBar2")->geometry(),
              QRect(8, 176, 305, 13));
    EXPECT_EQ(ControleDe<QLabel>(*MainForm->FenetreChargement, "Label8")->geometry(),
              QRect(120, 160, 193, 17));
}

TEST_F(ProgrammeTest, SansBandeDIconesLeProgrammeDemarre) {
    ASSERT_TRUE(QFile::remove(env.Programme + QStringLiteral("/BandeMenu.bmp")));
    Demarre();
    for (const QImage& image : MainForm->ImageList4.Images)
        EXPECT_TRUE(image.isNull());
    EXPECT_TRUE(Controle<QAction>("Parcourir1")->icon().isNull());
    MainForm->Timer1Timer();
    EXPECT_EQ(Controle<QListWidget>("ListBox1")->count(), 3);
}

TEST_F(ProgrammeTest, BandeDIconesChargeeAvecTransparence) {
    Demarre();
    for (const QImage& image : MainForm->ImageList4.Images) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(16, 16));
    }
    // The corner of the level icon is background: magenta turned transparent.
    EXPECT_EQ(qAlpha(MainForm->Panneau->IconeSousGroupe.pixel(0, 0)), 0);
    EXPECT_FALSE(Controle<QAction>("Parcourir1")->icon().isNull());
}

TEST(FichierAide, UnePageParContexte) {
    QFile fichier(QStringLiteral(MIRASOLVE_RESOURCES_DIR "/aide_mirasolve.html"));
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(fichier.readAll());
    for (const int contexte :
         {2095, 2100, 2200, 2205, 2210, 2215, 2220, 2300, 2410, 2420, 2430, 2440, 2450, 2460}) {
        const QString ancre = QStringLiteral("<a name=\"%1\">").arg(contexte);
        const qsizetype debut = html.indexOf(ancre);
        ASSERT_GE(debut, 0) << contexte;
        // A real page: a heading and some text before the next page.
        const qsizetype fin =
            html.indexOf(QRegularExpression(QStringLiteral("<a name=\"\\d{4}\">")), debut + 1);
        const QString page = html.mid(debut, fin < 0 ? -1 : fin - debut);
        EXPECT_TRUE(page.contains(QStringLiteral("<h1"))) << contexte;
        EXPECT_GT(page.size(), 600) << contexte;
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"#%1\"").arg(contexte))) << contexte;
    }
    EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"sommaire\">")));
}

// The worst of the hostile configuration files: the program starts on it, shows its window on the
// screen, and quits, writing back every value clamped.
TEST_F(ProgrammeTest, DemarreEtQuitteSurLeFichierLePlusHostile) {
    QFile fixture(QStringLiteral(MIRASOLVE_FIXTURES_DIR "/configuration/ini-every-number-extreme.ini"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    QByteArray contenu = fixture.readAll();
    contenu.replace("@RACINE@", QFile::encodeName(env.Racine()));
    env.Dossier(QStringLiteral("un"));
    env.Dossier(QStringLiteral("deux"));
    EcritFichier(QFile::encodeName(env.Programme + QStringLiteral("/Mirasolve.ini")), contenu);
    Demarre();
    Affiche();
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(ecran.contains(MainForm->geometry()));
    EXPECT_EQ(Config()->Destinations.Count(), 3);

    MainForm->Quit1Click();
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(env.Programme + QStringLiteral("/Mirasolve.ini"), lignes));
    const auto valeur = [&lignes](const QString& cle) {
        for (const QString& ligne : lignes)
            if (ligne.startsWith(cle + u'=')) return ligne.section(u'=', 1).toInt();
        return -1;
    };
    EXPECT_LE(valeur(QStringLiteral("WindowWidth")), ecran.width());
    EXPECT_GE(valeur(QStringLiteral("WindowLeft")), ecran.left());
    EXPECT_LE(valeur(QStringLiteral("Divider1")), valeur(QStringLiteral("WindowWidth")));
    EXPECT_GE(valeur(QStringLiteral("Divider2")), 1);
    // The two title fonts, clamped: the first from its height, the second from its size.
    EXPECT_EQ(lignes.mid(15 + 6, 3), (QStringList{"-133", "Arial", "100"}));
    EXPECT_EQ(lignes.mid(25 + 6, 3), (QStringList{"-133", "Arial", "100"}));
}

// The session ends the program: an open dialog is dismissed, then the window closes as by
// "&Quitter" and the settings are written.
TEST_F(ProgrammeTest, UnSignalFermeCommeQuitter) {
    Demarre();
    Affiche();
    QDialog dialogue(MainForm);
    dialogue.setModal(true);
    dialogue.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialogue);
    ASSERT_TRUE(FermeSurSignal(MainForm, [] { FermeQuandLibre(MainForm); }));
    std::raise(SIGHUP);
    ASSERT_TRUE(AttendQue([] { return !MainForm->isVisible(); }, 5000));
    EXPECT_FALSE(dialogue.isVisible());
    EXPECT_TRUE(QFile::exists(env.Programme + QStringLiteral("/Mirasolve.ini")));
    EXPECT_EQ(Source(), nullptr);
}

// A worker thread reports progress: the windows take it on the main thread.
TEST_F(ProgrammeTest, ProgressionDepuisUnAutreFil) {
    Demarre();
    std::thread fil([] {
        FormProgress->Prepare(QStringLiteral("Calcul des signatures"), 4);
        FormProgress->Avance();
        MainForm->FenetreChargement->DebutChargement(10);
        MainForm->FenetreChargement->PasChargement();
        MainForm->FenetreChargement->PasChargement();
    });
    fil.join();
    EXPECT_TRUE(AttendQue(
        [] { return ControleDe<QProgressBar>(*FormProgress, "ProgressBar1")->value() == 1; }, 2000));
    EXPECT_EQ(ControleDe<QLabel>(*FormProgress, "Label2")->text(), QStringLiteral("Calcul des signatures"));
    EXPECT_EQ(ControleDe<QProgressBar>(*FormProgress, "ProgressBar1")->maximum(), 4);
    EXPECT_TRUE(FormProgress->isVisible());
    EXPECT_EQ(ControleDe<QProgressBar>(*MainForm->FenetreChargement, "ProgressBar2")->maximum(), 10);
    EXPECT_EQ(ControleDe<QProgressBar>(*MainForm->FenetreChargement, "ProgressBar2")->value(), 2);
    FormProgress->Cache();
    EXPECT_FALSE(FormProgress->isVisible());
}

// A store found damaged while the configuration is read: the user is told once the main window
// stands, which keeps the size the file gives it and writes that size back.
TEST_F(ProgrammeTest, UnAvertissementDuMagasinGardeLaTailleDeLaFenetre) {
    const QString d = env.Dossier(QStringLiteral("d"));
    QStringList lignes{"WindowWidth=700", "WindowHeight=520", "WindowLeft=10", "WindowTop=10",
                       "DestinationCount=1"};
    lignes << Enregistrement(QStringLiteral("D"), d);
    ASSERT_TRUE(TexteFichier::Ecrit(env.Programme + QStringLiteral("/Mirasolve.ini"), lignes));
    env.Dossier(QStringLiteral("programme/Signatures"));
    EcritFichier(QFile::encodeName(env.Programme + QStringLiteral("/Signatures/Index.txt")), "seule\r\n");
    // A box shown before the window stands is read for longer than the start-up timer waits.
    int boites = 0;
    QElapsedTimer depuis;
    depuis.start();
    QTimer lecteur;
    lecteur.setInterval(5);
    QObject::connect(&lecteur, &QTimer::timeout, [&boites, &depuis] {
        auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!boite) return;
        if (!boite->property("lue").toBool()) ++boites;
        boite->setProperty("lue", true);
        if (MainForm && Controle<QTimer>("Timer1")->isActive() && depuis.elapsed() < 5000) return;
        boite->done(0);
    });
    lecteur.start();
    Demarre();
    // As the program starts: minimised, until the start-up timer brings the window up.
    MainForm->showMinimized();
    EXPECT_TRUE(AttendQue([] { return MainForm->isVisible() && !MainForm->isMinimized(); }, 5000));
    lecteur.stop();
    EXPECT_EQ(boites, 0);
    ASSERT_EQ(utilisateur.Erreurs.size(), 1);
    EXPECT_TRUE(utilisateur.Erreurs[0].contains(QStringLiteral("Index.txt.illisible")));
    EXPECT_EQ(MainForm->geometry().size(), QSize(700, 520));
    Config()->ReleveFenetre(*MainForm);
    EXPECT_EQ(Config()->WindowWidth, 700);
    EXPECT_EQ(Config()->WindowHeight, 520);
}
