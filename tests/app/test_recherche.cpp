#include "controles.h"
#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/magasin.h"
#include "core/duplicates/planification.h"
#include "programme.h"
#include "recherchesimulee.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/trackbar.h"
#include "ui/config/preferences.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/duplicates/gestmini.h"
#include "ui/source/pleinecran.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "photo.h"
#include "photoheif.h"
#include "photojxl.h"
#include "phototiff.h"
#include "photowebp.h"

namespace {

class RechercheFenetreTest : public ProgrammeTest {
protected:
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    static bool Repos() {
        return MainForm->Session().Occupe.load() == 0 && DestinationEnTraitement(Config()->Destinations) < 0;
    }
    static void EcritPhoto(const QString& chemin, const QImage& image, int qualite = 90) {
        QImageWriter ecrivain(chemin, "jpeg");
        ecrivain.setQuality(qualite);
        ASSERT_TRUE(ecrivain.write(image));
    }
};

} // namespace

// Through the real window: a LOCAL destination of photos with copies among them is searched on the
// tick, its counts show in the tool bars, and after quitting and starting again nothing is
// decoded twice.
TEST_F(RechercheFenetreTest, LocaleDeBoutEnBoutPuisRedemarrage) {
    const QString photos = env.Dossier(QStringLiteral("Photos"));
    const QImage photo = PhotoSynthetique(11, 1000, 750);
    EcritPhoto(photos + QStringLiteral("/original.jpg"), photo);
    EcritPhoto(photos + QStringLiteral("/copie.jpg"), photo, 50);
    EcritPhoto(photos + QStringLiteral("/petite.jpg"), photo.scaled(500, 375));
    EcritPhoto(photos + QStringLiteral("/autre.jpg"), PhotoSynthetique(12, 1000, 750));
    EcritConfiguration({Enregistrement("Photos", photos, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    MainForm->Session().DecodeursEnPlus = 1;
    ASSERT_EQ(Destination(1)->Comptes().ATraiter, 4);

    MainForm->Timer2Timer();
    EXPECT_TRUE(Destination(1)->EnTraitement);
    EXPECT_NE(MainForm->Session().TacheRecherche.data(), nullptr);
    ASSERT_TRUE(AttendQue(Repos, 30000));
    const QStringList doublons = Destination(1)->Doublons;
    EXPECT_EQ(doublons.size(), 3) << doublons.join(u' ').toStdString();
    EXPECT_EQ(Destination(1)->Comptes().Signatures, 4);

    MainForm->Timer2Timer();
    EXPECT_EQ(Controle<QLabel>("StaticDoublons")->text(), QStringLiteral("3 images en double"));
    EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Mirasolve"));
    // All signed: the bar is green from end to end.
    const QImage barre = Controle<TImage>("ImageProgress")->Image();
    EXPECT_EQ(barre.pixel(0, 0), qRgb(96, 208, 96));
    EXPECT_EQ(barre.pixel(119, 19), qRgb(96, 208, 96));

    ASSERT_TRUE(MainForm->close());
    DetruitFenetres();
    CreeFenetres({env.Programme, env.Programme});
    MainForm->FixeQuestions(&utilisateur);
    MainForm->FixeDialogues(&dialogues);
    const TDestination::TComptes comptes = Destination(1)->Comptes();
    EXPECT_EQ(comptes.ATraiter, 0);
    EXPECT_EQ(comptes.Signatures, 4);
    EXPECT_EQ(Destination(1)->Doublons, doublons);
}

// Through the real window: the same photo kept in every format a folder holds today is signed by
// the search and every two copies pair at the default threshold, whatever their formats; another
// photo pairs with none.
TEST_F(RechercheFenetreTest, CopiesEnTousFormatsAppariees) {
    const QString photos = env.Dossier(QStringLiteral("Formats"));
    const QImage photo = PhotoSynthetique(21, 640, 480);
    auto ecrit = [&](const char* nom, const QByteArray& octets) {
        ASSERT_FALSE(octets.isEmpty()) << nom;
        EcritFichier(QFile::encodeName(photos + u'/' + QLatin1String(nom)), octets);
    };
    EcritPhoto(photos + QStringLiteral("/photo.jpg"), photo);
    ecrit("photo.heic", OctetsHeif(photo, TOptionsHeif{false, 160}));
    ecrit("photo.avif", OctetsHeif(photo, TOptionsHeif{true}));
    ecrit("photo.webp", WebpPhoto(photo, false));
    ecrit("photo.png", PngPhoto(photo));
    ecrit("photo.tif", Tiff(photo));
    ecrit("photo.jxl", JxlPhoto(photo));
    ecrit("photo.dng", Dng(photo, QSize(640, 480)));
    EcritPhoto(photos + QStringLiteral("/autre.jpg"), PhotoSynthetique(22, 640, 480));
    EcritConfiguration({Enregistrement("Formats", photos, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    ASSERT_EQ(Destination(1)->Comptes().ATraiter, 9);

    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue(Repos, 60000));
    const TDestination::TComptes comptes = Destination(1)->Comptes();
    EXPECT_EQ(comptes.Signatures, 9);
    EXPECT_EQ(comptes.Intraitables, 0);
    const QStringList doublons = Destination(1)->Doublons;
    // Eight copies: every two of them, once.
    EXPECT_EQ(doublons.size(), 8 * 7 / 2) << doublons.join(u'\n').toStdString();
    for (const char* extension : {"jpg", "heic", "avif", "webp", "png", "tif", "jxl", "dng"})
        EXPECT_EQ(doublons.filter(QStringLiteral("/photo.%1*").arg(QLatin1String(extension))).size(), 7)
            << extension;
    EXPECT_TRUE(doublons.filter(QStringLiteral("autre.jpg")).isEmpty());
}

// Quitting while a task works: the window closes once the task has stopped, and the images it did
// not reach are still queued at the next start.
TEST_F(RechercheFenetreTest, QuitterPendantLaRecherche) {
    const QString dossier = env.Dossier(QStringLiteral("Lot"));
    for (int i = 0; i < 24; ++i)
        EcritPhoto(dossier + QStringLiteral("/%1.jpg").arg(i), PhotoSynthetique(i, 640, 480));
    EcritConfiguration({Enregistrement("Lot", dossier, -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    MainForm->Timer2Timer();
    ASSERT_TRUE(Destination(1)->EnTraitement);
    EXPECT_FALSE(MainForm->close());
    ASSERT_TRUE(AttendQue([] { return !MainForm->isVisible(); }, 10000));
    DetruitFenetres();
    CreeFenetres({env.Programme, env.Programme});
    MainForm->FixeQuestions(&utilisateur);
    const TDestination::TComptes comptes = Destination(1)->Comptes();
    EXPECT_EQ(comptes.ATraiter + comptes.Signatures, 24);
    EXPECT_EQ(comptes.Intraitables, 0);
}

// After a search signed photos in three destinations and a review deletion removed one, the
// signature manager shows every open destination with the counts it holds now, as its store does;
// a store that cannot be written is told once, and the tree still shows the lists.
TEST_F(RechercheFenetreTest, GestionnaireAuxComptesDuMoment) {
    QList<QStringList> liste;
    for (int k = 1; k <= 3; ++k) {
        const QString dossier = env.Dossier(QStringLiteral("D%1").arg(k));
        const QImage photo = PhotoSynthetique(40 + k, 400, 300);
        EcritPhoto(dossier + QStringLiteral("/photo.jpg"), photo);
        if (k < 3) EcritPhoto(dossier + QStringLiteral("/copie.jpg"), photo, 50);
        EcritPhoto(dossier + QStringLiteral("/autre.jpg"), PhotoSynthetique(50 + k, 400, 300));
        liste << Enregistrement(QStringLiteral("D%1").arg(k), dossier, -1, 0, "XXXX*X");
    }
    EcritConfiguration(liste);
    Demarre({});
    Affiche();
    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue(
        [] { return Repos() && BilanRecherche(Config()->Destinations, true, 0).AFaire == 0; }, 60000));
    // Image 1 of D1's one pair goes to the trash from the review, opened by the tile's counter.
    dialogues.Modal = [](QDialog& dialogue) {
        QTimer::singleShot(0, &dialogue, [&dialogue] {
            if (AttendQue([] { return !FormDedoublone->ChargementEnCours(); }, 5000))
                QTest::mouseClick(ControleDe<QPushButton>(*FormDedoublone, "BitBtn1"), Qt::LeftButton);
            if (dialogue.isVisible()) dialogue.reject();
        });
        return dialogue.exec();
    };
    QTest::mouseClick(Controle<TImage>("ImageDestination"), Qt::LeftButton, {},
                      QPoint(Controle<TImage>("ImageDestination")->width() - 10, Destination(1)->TuileY + 8));
    // Each folder as "name, signatures, pairs".
    const auto resume = [](const QString& dossier, const QString& signatures, const QString& doublons) {
        return QStringLiteral("%1 %2 %3").arg(dossier.section(u'/', -1)).arg(signatures).arg(doublons);
    };
    QStringList lignes, stockes;
    dialogues.Modal = [&](QDialog& dialogue) {
        dialogue.show();
        for (int i = 0; i < ControleDe<QTreeWidget>(*FormMiniatures, "TreeView1")->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* d = ControleDe<QTreeWidget>(*FormMiniatures, "TreeView1")->topLevelItem(i);
            lignes << resume(d->text(0), d->child(0)->text(0).section(u' ', -1),
                             d->child(2)->text(0).section(u' ', -1));
        }
        dialogue.hide();
        return int(QDialog::Accepted);
    };
    Controle<QAction>("GestiondeSignatures1")->trigger();
    const QStringList attendues{"D1 2 0", "D2 3 1", "D3 2 0"};
    EXPECT_EQ(lignes, attendues);
    const QString signatures = Config()->ContexteDestinations.DossierSignatures();
    for (const TDossierStocke& d : TMagasinSignatures(signatures).Inventaire())
        stockes << resume(d.Dossier, QString::number(d.Signatures), QString::number(d.Doublons));
    EXPECT_EQ(stockes, attendues);
    ASSERT_TRUE(QDir(signatures).removeRecursively());
    EcritFichier(QFile::encodeName(signatures), "pas un dossier");
    lignes.clear();
    Controle<QAction>("GestiondeSignatures1")->trigger();
    EXPECT_EQ(lignes, attendues);
    ASSERT_EQ(utilisateur.Erreurs.size(), 1);
    EXPECT_TRUE(utilisateur.Erreurs.front().contains(Destination(3)->Chemin));
}

TEST_F(RechercheFenetreTest, ModesMontrerEffacerEtSignatures) {
    QList<QStringList> destinations;
    for (int i = 1; i <= 12; ++i)
        destinations << Enregistrement(QStringLiteral("D%1").arg(i),
                                       env.Dossier(QStringLiteral("D%1").arg(i)));
    destinations << Enregistrement("Parent", env.Dossier("Parent"), 1, 0)
                 << Enregistrement("Enfant", env.Dossier("Parent/Enfant"), -1, 1);
    EcritConfiguration(destinations);
    Demarre();
    Affiche();
    const int nombre = Config()->Destinations.Count();

    // The mode commands ask the running task to stop, then switch every tile's suffix.
    auto* tache = new TRechercheSimulee(MainForm->Session().Occupe);
    tache->start();
    MainForm->Session().TacheRecherche = tache;
    const bool corbeilleLocale = Destination(0)->RechercheLocale;
    const bool corbeilleGenerale = Destination(0)->RechercheGenerale;
    Controle<QToolButton>("ToolButton18")->click();
    // The stand-in ends only when asked to.
    EXPECT_TRUE(tache->wait(5000));
    delete tache;
    for (int i = 1; i < nombre; ++i)
        EXPECT_EQ(SuffixeMode(*Destination(i)), QStringLiteral("% (Général)"));
    Controle<QToolButton>("ToolButton17")->click();
    EXPECT_EQ(SuffixeMode(*Destination(5)), QStringLiteral("% (Local)"));
    Controle<QToolButton>("ToolButton16")->click();
    EXPECT_EQ(SuffixeMode(*Destination(nombre - 1)), QStringLiteral("% (Désactivé)"));
    // The trash keeps its own.
    EXPECT_EQ(Destination(0)->RechercheLocale, corbeilleLocale);
    EXPECT_EQ(Destination(0)->RechercheGenerale, corbeilleGenerale);

    // Showing the destination being searched: none, then the last of the level.
    Controle<QToolButton>("ToolButton4")->click();
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
    Destination(12)->EnTraitement = true;
    Controle<QToolButton>("ToolButton4")->click();
    EXPECT_TRUE(Destination(12)->Visible);
    Destination(12)->EnTraitement = false;

    // Destinations with duplicates, one after the other and round again, each level shown.
    const QString a = env.Racine() + QStringLiteral("/a.jpg"), b = env.Racine() + QStringLiteral("/b.jpg");
    EcritImage(a);
    EcritImage(b);
    const QString ligne = QStringLiteral("0000000001*") + a + u'*' + b + u'*';
    Destination(3)->AjouteSignature(std::make_shared<Tminiature>(), {ligne});
    Destination(nombre - 1)->AjouteSignature(std::make_shared<Tminiature>(), {ligne});
    QList<int> montrees;
    for (int k = 0; k < 3; ++k) {
        Controle<QToolButton>("ToolButton5")->click();
        montrees << MainForm->DernierDoublonMontre;
        EXPECT_TRUE(Destination(MainForm->DernierDoublonMontre)->Visible);
        EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant,
                  Destination(MainForm->DernierDoublonMontre)->Groupe);
    }
    EXPECT_EQ(montrees, (QList<int>{3, nombre - 1, 3}));

    // The review window holds the search off while it is open; a destination without pairs opens
    // nothing.
    auto* revue = new TRechercheSimulee(MainForm->Session().Occupe);
    revue->Libre = false;
    revue->start();
    MainForm->Session().TacheRecherche = revue;
    QStringList ouvertes;
    int occupeRevue = -1;
    dialogues.Modal = [&](QDialog& dialogue) {
        ouvertes << dialogue.objectName();
        occupeRevue = MainForm->Session().Occupe.load();
        return int(QDialog::Rejected);
    };
    MainForm->RevoitDoublons(*Destination(1));
    EXPECT_TRUE(ouvertes.isEmpty());
    MainForm->RevoitDoublons(*Destination(3));
    EXPECT_EQ(ouvertes, QStringList{QStringLiteral("FormDedoublone")});
    EXPECT_EQ(occupeRevue, 2);
    EXPECT_TRUE(revue->isInterruptionRequested());
    revue->Libre = true;
    EXPECT_TRUE(revue->wait(5000));
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);

    // Clearing a destination's duplicates, after the question.
    QStringList questions;
    bool accord = false;
    utilisateur.OkAnnuler = [&](const QString& question) {
        questions << question;
        return accord;
    };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 3);
    Controle<QAction>("Effacer1")->trigger();
    EXPECT_EQ(Destination(3)->Comptes().Doublons, 1);
    accord = true;
    Controle<QAction>("Effacer1")->trigger();
    EXPECT_EQ(Destination(3)->Comptes().Doublons, 0);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[0],
              QStringLiteral(
                  "Etes-vous sur de vouloir effacer la liste des images en double de la destination 'D3'"));
    MainForm->Timer2Timer();
    EXPECT_EQ(Controle<QLabel>("StaticDoublons")->text(), QStringLiteral("1 images en double"));

    // The signature manager holds the search off while it is open.
    int occupeDedans = -1;
    dialogues.Modal = [&](QDialog& dialogue) {
        EXPECT_EQ(dialogue.objectName(), QStringLiteral("FormMiniatures"));
        occupeDedans = MainForm->Session().Occupe.load();
        return int(QDialog::Rejected);
    };
    Controle<QAction>("GestiondeSignatures1")->trigger();
    EXPECT_EQ(occupeDedans, 1);
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
}

// Through the real window: with one destination's search off, the bar reaches its end once the
// searched ones are done; then "Activer la recherche GENERALE pour
// toutes les destinations" pairs a photo with its copy in another destination, both signed before
// in LOCAL mode, once.
TEST_F(RechercheFenetreTest, DestinationArreteeEtPassageEnGenerale) {
    const QString x = env.Dossier(QStringLiteral("X")), y = env.Dossier(QStringLiteral("Y")),
                  z = env.Dossier(QStringLiteral("Z"));
    const QImage photo = PhotoSynthetique(41, 800, 600);
    EcritPhoto(x + QStringLiteral("/photo.jpg"), photo);
    EcritPhoto(y + QStringLiteral("/copie.jpg"), photo, 50);
    EcritPhoto(z + QStringLiteral("/ailleurs.jpg"), PhotoSynthetique(42, 800, 600));
    EcritConfiguration({Enregistrement("X", x, -1, 0, "XXXX*X"), Enregistrement("Y", y, -1, 0, "XXXX*X"),
                        Enregistrement("Z", z)});
    Demarre();
    Affiche();
    const auto signees = [](std::initializer_list<int> indices) {
        return Repos() && std::all_of(indices.begin(), indices.end(),
                                      [](int i) { return Destination(i)->Comptes().ATraiter == 0; });
    };
    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue([&] { return signees({1, 2}); }, 30000));
    MainForm->Timer2Timer();
    EXPECT_EQ(Controle<QLabel>("StaticDoublons")->text(), QStringLiteral("0 images en double"));
    const QImage barre = Controle<TImage>("ImageProgress")->Image();
    EXPECT_EQ(barre.pixel(119, 19), qRgb(96, 208, 96));

    Controle<QToolButton>("ToolButton18")->click();
    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue(
        [&] {
            return signees({1, 2, 3}) && !Destination(1)->ComparaisonEnAttente &&
                   !Destination(2)->ComparaisonEnAttente;
        },
        30000));
    MainForm->Timer2Timer();
    MainForm->Timer2Timer();
    EXPECT_EQ(Controle<QLabel>("StaticDoublons")->text(), QStringLiteral("1 images en double"));
}

// While the search is the only holder, the title shows its percentage and the button turns through
// its four images.
TEST_F(RechercheFenetreTest, TitreEtAnimation) {
    EcritConfiguration({Enregistrement("Vide", env.Dossier("Vide"), -1, 0, "XXXX*X")});
    Demarre();
    Affiche();
    TDestination& d = *Destination(1);
    d.AjouteSignature(std::make_shared<Tminiature>(), {});
    for (const char* nom : {"/x/1.jpg", "/x/2.jpg", "/x/3.jpg"})
        d.AjouteATraiter(QString::fromLatin1(nom));
    {
        const TOccupation occupation(MainForm->Session().Occupe);
        QList<int> images;
        for (int k = 0; k < 5; ++k) {
            MainForm->Timer2Timer();
            images << Controle<QToolButton>("ToolButton4")->property("ImageIndex").toInt();
        }
        EXPECT_EQ(images, (QList<int>{22, 23, 24, 21, 22}));
        EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("25% Mirasolve"));
        const QImage barre = Controle<TImage>("ImageProgress")->Image();
        EXPECT_EQ(barre.pixel(29, 19), qRgb(96, 208, 96));
        EXPECT_NE(barre.pixel(30, 19), qRgb(96, 208, 96));
        // A second holder: no percentage in the title.
        const TOccupation autre(MainForm->Session().Occupe);
        MainForm->Timer2Timer();
        EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Mirasolve"));
    }
}

// Through the real window: a photo that a destination already holds says so in the current
// image's caption and on that tile, before anything is filed; the caption shows the copy; another
// photo, a lower threshold or the destination closed leave the caption plain.
TEST_F(RechercheFenetreTest, DejaDansUneDestinationAvantDeClasser) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QImage photo = PhotoSynthetique(31, 1200, 900);
    EcritPhoto(vacances + QStringLiteral("/plage.jpg"), photo);
    EcritPhoto(env.Source + QStringLiteral("/a-moitie.jpg"), photo.scaled(600, 450));
    EcritPhoto(env.Source + QStringLiteral("/b-autre.jpg"), PhotoSynthetique(32, 1200, 900));
    EcritConfiguration({Enregistrement("Vacances", vacances, -1, 0, "XXXX*X")});
    Demarre({});
    Affiche();
    MainForm->Timer2Timer();
    ASSERT_TRUE(AttendQue([] { return Repos() && Destination(1)->Comptes().Signatures == 1; }, 30000));
    MainForm->Timer2Timer();
    const QString deja = QStringLiteral("Image courante — déjà dans « Vacances »");
    auto titre = [] { return Controle<QGroupBox>("GroupBoxCourant")->title(); };
    ASSERT_TRUE(AttendQue([&] { return titre() == deja; }, 10000)) << titre().toStdString();
    EXPECT_EQ(MainForm->Panneau->Copies.value(Destination(1)), vacances + QStringLiteral("/plage.jpg"));
    EXPECT_TRUE(
        TPanneauDestinations::Indice(*Destination(1), 0, MainForm->Panneau->Copies.value(Destination(1)))
            .endsWith(QStringLiteral("\rDéjà ici : plage.jpg")));
    // A click on the caption shows the copy, at its own size; any click returns.
    QTest::mouseClick(Controle<QGroupBox>("GroupBoxCourant"), Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
    EXPECT_TRUE(FormPleinEcran->isVisible());
    EXPECT_EQ(ControleDe<TImage>(*FormPleinEcran, "Image1")->TailleNaturelle(), QSize(1200, 900));
    QTest::mouseClick(ControleDe<TImage>(*FormPleinEcran, "Image1"), Qt::LeftButton);
    EXPECT_FALSE(FormPleinEcran->isVisible());

    // The next photo is nowhere yet: the caption is plain again and the tile unmarked.
    auto* chercheur = MainForm->Session().findChild<TChercheurCopies*>();
    ASSERT_NE(chercheur, nullptr);
    const std::vector<TCopieConnue> copiesDeLaPremiere = MainForm->Session().CopiesDeLaCourante;
    quint64 numeroDeLaSuivante = 0;
    QObject temoin;
    QObject::connect(chercheur, &TChercheurCopies::Trouvees, &temoin,
                     [&](quint64 numero, const std::vector<TCopieConnue>&) { numeroDeLaSuivante = numero; });
    MainForm->FormMouseWheelDown();
    ASSERT_TRUE(AttendQue([&] { return titre() == QStringLiteral("Image courante"); }, 10000));
    EXPECT_TRUE(MainForm->Panneau->Copies.isEmpty());
    // The first photo's answer arriving late, under its older number, is dropped.
    ASSERT_GT(numeroDeLaSuivante, 1u);
    emit chercheur->Trouvees(numeroDeLaSuivante - 1, copiesDeLaPremiere);
    QCoreApplication::sendPostedEvents(&MainForm->Session(), QEvent::MetaCall);
    EXPECT_EQ(titre(), QStringLiteral("Image courante"));
    EXPECT_TRUE(MainForm->Panneau->Copies.isEmpty());
    MainForm->FormMouseWheelUp();
    ASSERT_TRUE(AttendQue([&] { return titre() == deja; }, 10000));

    // In "Préférences", a threshold too low for the pair, then the default again.
    auto seuil = [this](int position) {
        dialogues.Modal = [position](QDialog&) {
            ControleDe<TTrackBar>(*FormPreference, "TrackBar1")->setValue(position);
            return int(QDialog::Accepted);
        };
        Controle<QAction>("Prfrences1")->trigger();
    };
    seuil(0);
    EXPECT_EQ(Config()->Sensibilite, 0);
    ASSERT_TRUE(AttendQue([&] { return titre() == QStringLiteral("Image courante"); }, 10000));
    seuil(15);
    ASSERT_TRUE(AttendQue([&] { return titre() == deja; }, 10000));

    // The destination closed while its mark is shown.
    MainForm->Fermertouteslesdestinations1Click();
    ASSERT_TRUE(AttendQue([&] { return titre() == QStringLiteral("Image courante"); }, 10000));
    EXPECT_TRUE(MainForm->Panneau->Copies.isEmpty());
}
