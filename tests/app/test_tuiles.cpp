#include "controles.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "programme.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/app/questionsfenetre.h"
#include "ui/destinations/confirmation.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

class TuilesTest : public ProgrammeTest {
protected:
    void SetUp() override {
        const QString vacances = env.Dossier(QStringLiteral("Vacances"));
        const QString plage = env.Dossier(QStringLiteral("Vacances/Plage"));
        const QString famille = env.Dossier(QStringLiteral("Famille"));
        EcritImage(plage + QStringLiteral("/p.jpg"));
        const QString local = QStringLiteral("XXXX*X");
        fichier = EcritConfiguration({Enregistrement("Vacances", vacances, 1, 0, local),
                                      Enregistrement("Plage", plage, -1, 1, local),
                                      Enregistrement("Famille", famille, -1, 0, local)});
        Demarre();
        Affiche();
    }
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    static void Clic(QPoint appui, QPoint relache) {
        QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, appui);
        QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, relache);
    }
    QString fichier;
};

TEST_F(TuilesTest, EntrerEtQuitterUnNiveau) {
    ASSERT_EQ(Config()->Destinations.Count(), 4);
    EXPECT_EQ(Controle<TImage>("ImageDestination")->Image().size(),
              Controle<TImage>("ImageDestination")->size());
    TDestination* vacances = Destination(1);
    EXPECT_TRUE(vacances->Visible);
    EXPECT_FALSE(Destination(2)->Visible);
    const QPoint icone(vacances->TuileX + 12, vacances->TuileY + 20);

    // Released away from the tile: nothing happens, the tile is drawn raised again.
    Clic(icone, QPoint(icone.x(), Destination(3)->TuileY + 20));
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);

    Clic(icone, icone);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 1);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], vacances);
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Destination(2));
    EXPECT_FALSE(Destination(3)->Visible);

    // The return strip, below the trash and the parent.
    const QPoint retour(5, 2 * MainForm->Panneau->HauteurTuile + 10);
    Clic(retour, retour);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
    EXPECT_TRUE(Destination(3)->Visible);
}

TEST_F(TuilesTest, IndiceEtMenuDesTuiles) {
    TDestination* famille = Destination(3);
    QMouseEvent deplacement(QEvent::MouseMove, QPointF(60, famille->TuileY + 10), QPointF(), Qt::NoButton,
                            Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Controle<TImage>("ImageDestination"), &deplacement);
    // The counts, then the key that files into the tile.
    EXPECT_EQ(Indice(Controle<TImage>("ImageDestination")),
              famille->Chemin + QStringLiteral("\rA traiter :0\rTraités :0\rErronés :0\rTouche : %1")
                                    .arg(MainForm->Panneau->ToucheDe(*famille)));
    EXPECT_GT(MainForm->Panneau->ToucheDe(*famille), 0);
    // Tooltips shown: the file's "Bullesaide" was missing.
    EXPECT_FALSE(Controle<TImage>("ImageDestination")->toolTip().isEmpty());
}

TEST_F(TuilesTest, FermetureReecritLeFichier) {
    EXPECT_TRUE(MainForm->close());
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(fichier, lignes));
    EXPECT_EQ(lignes.size(), 15 + 30);
    EXPECT_EQ(lignes[14], QStringLiteral("DestinationCount=3"));
    EXPECT_EQ(lignes[15], QStringLiteral("Vacances"));
    EXPECT_EQ(lignes[25], QStringLiteral("Plage"));
    // Every destination saved its store: Plage queued its image, so the index names its folder.
    QStringList index;
    ASSERT_TRUE(TexteFichier::Lit(env.Programme + QStringLiteral("/Signatures/Index.txt"), index));
    EXPECT_EQ(index.size(), 6);
}

TEST_F(TuilesTest, DialogueDeConfirmation) {
    struct Attendu {
        QPushButton* bouton;
        const char* titre;
        ReponseConfirmation reponse;
        QRect place;
    };
    const Attendu attendus[] = {
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonOui"),
         "&Oui",
         ReponseConfirmation::Oui,
         {0, 56, 105, 25}},
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonOuiTous"),
         "Oui pour &Tous",
         ReponseConfirmation::OuiPourTous,
         {112, 56, 105, 25}},
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonNon"),
         "&Non",
         ReponseConfirmation::Non,
         {0, 88, 105, 25}},
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonNonTous"),
         "Non pour Tou&s",
         ReponseConfirmation::NonPourTous,
         {112, 88, 105, 25}},
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonAnnuler"),
         "&Annuler",
         ReponseConfirmation::Annuler,
         {224, 56, 99, 25}},
        {ControleDe<QPushButton>(*FormConfirmation, "BoutonToutAnnuler"),
         "To&ut annuler",
         ReponseConfirmation::ToutAnnuler,
         {224, 88, 99, 25}},
    };
    for (const Attendu& a : attendus) {
        EXPECT_EQ(a.bouton->text(), QString::fromUtf8(a.titre));
        EXPECT_EQ(a.bouton->geometry(), a.place) << a.titre;
        QTimer::singleShot(0, a.bouton, &QPushButton::click);
        EXPECT_EQ(FormConfirmation->Demande(QStringLiteral("Question ?")), a.reponse) << a.titre;
    }
    EXPECT_EQ(ControleDe<QLabel>(*FormConfirmation, "Label1")->text(), QStringLiteral("Question ?"));
    QTimer::singleShot(0, [] { QTest::keyClick(FormConfirmation, Qt::Key_Escape); });
    EXPECT_EQ(FormConfirmation->Demande(QStringLiteral("Q")), ReponseConfirmation::ToutAnnuler);

    // Through a destination, asking with the program's own dialog: "no to all" is remembered and
    // the next one is not asked.
    TQuestionsFenetre fenetre(MainForm);
    MainForm->FixeQuestions(&fenetre);
    fenetre.AutoriseAnnulation(false);
    EXPECT_FALSE(ControleDe<QPushButton>(*FormConfirmation, "BoutonAnnuler")->isEnabled() ||
                 ControleDe<QPushButton>(*FormConfirmation, "BoutonToutAnnuler")->isEnabled());
    fenetre.AutoriseAnnulation(true);
    EXPECT_TRUE(ControleDe<QPushButton>(*FormConfirmation, "BoutonAnnuler")->isEnabled() &&
                ControleDe<QPushButton>(*FormConfirmation, "BoutonToutAnnuler")->isEnabled());
    QTimer::singleShot(0, ControleDe<QPushButton>(*FormConfirmation, "BoutonNonTous"), &QPushButton::click);
    Config()->ContexteDestinations.ReponseMemorisee = ReponseConfirmation::Aucune;
    EXPECT_TRUE(Destination(1)->DemandeEffacement());
    EXPECT_TRUE(ControleDe<QLabel>(*FormConfirmation, "Label1")->text().contains(Destination(1)->Chemin));
    EXPECT_TRUE(Destination(2)->DemandeEffacement());
    EXPECT_EQ(Config()->ContexteDestinations.ReponseMemorisee, ReponseConfirmation::NonPourTous);
    MainForm->FixeQuestions(&utilisateur);
}
