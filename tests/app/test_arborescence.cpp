#include "controles.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/tools/arborescence.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/tools/nouvdest.h"
#include "ui/tools/recursif.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

// Adding a folder tree: A holds B and C, B holds D.
class ArborescenceTest : public ProgrammeTest {
protected:
    void SetUp() override {
        a = env.Dossier(QStringLiteral("A"));
        env.Dossier(QStringLiteral("A/B/D"));
        env.Dossier(QStringLiteral("A/C"));
        Demarre();
        Affiche();
        dialogues.Modal = [this](QDialog& d) {
            montres << d.objectName();
            if (d.objectName() == QStringLiteral("FormRecurs"))
                return recurs ? recurs() : int(QDialog::Accepted);
            return validation ? validation() : int(QDialog::Accepted);
        };
        FormRecurs->ChoisitDossier(a);
        utilisateur.Confirmation = [](const QString&) { return ReponseConfirmation::Non; };
    }
    static int Nombre() { return Config()->Destinations.Count(); }
    static TDestination* Titree(const QString& titre) {
        for (int i = 1; i < Nombre(); ++i)
            if (Config()->Destinations.Element(i)->Titre == titre) return Config()->Destinations.Element(i);
        return nullptr;
    }
    static QStringList Titres() {
        QStringList titres;
        for (int i = 1; i < Nombre(); ++i)
            titres << Config()->Destinations.Element(i)->Titre;
        return titres;
    }
    // The order the walk meets A's sub-folders: the file system's.
    QStringList Preordre() const {
        const QString premier = QFileInfo(LitDossier(a).SousDossiers.front()).fileName();
        return premier == QStringLiteral("B") ? QStringList{"A", "B", "D", "C"}
                                              : QStringList{"A", "C", "B", "D"};
    }

    QString a;
    QStringList montres;
    std::function<int()> recurs, validation;
};

TEST_F(ArborescenceTest, ArborescenceEnPreordre) {
    MainForm->Ajouteravecsousdossiers1Click();
    ASSERT_EQ(Titres(), Preordre());
    TDestination *da = Titree("A"), *db = Titree("B"), *dc = Titree("C"), *dd = Titree("D");
    EXPECT_EQ(da->Groupe, 0);
    ASSERT_NE(da->SousGroupe, -1);
    EXPECT_EQ(db->Groupe, da->SousGroupe);
    EXPECT_EQ(dc->Groupe, da->SousGroupe);
    ASSERT_NE(db->SousGroupe, -1);
    EXPECT_NE(db->SousGroupe, da->SousGroupe);
    EXPECT_EQ(dd->Groupe, db->SousGroupe);
    EXPECT_EQ(dc->SousGroupe, -1);
    EXPECT_EQ(dd->SousGroupe, -1);
    // Each destination counted once, in its own level.
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Groupe(0)->NbTuiles, 2);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Groupe(da->SousGroupe)->NbTuiles, 3);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Groupe(db->SousGroupe)->NbTuiles, 2);
    // GENERAL and LOCAL, without a dialog per folder; the panel redrawn at the end.
    EXPECT_TRUE(dd->RechercheGenerale && dd->RechercheLocale);
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormRecurs")});
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], da);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ArborescenceTest, ListeSimpleEtDossiersSansImages) {
    ControleDe<QRadioButton>(*FormRecurs, "RadioButton1")->setChecked(true);
    MainForm->Ajouteravecsousdossiers1Click();
    ASSERT_EQ(Titres(), Preordre());
    for (const QString& titre : Preordre()) {
        EXPECT_EQ(Titree(titre)->Groupe, 0) << titre.toStdString();
        EXPECT_EQ(Titree(titre)->SousGroupe, -1) << titre.toStdString();
    }
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Groupe(0)->NbTuiles, 5);

    // Only folders with images: B and C have none, their sub-folders are still walked.
    MainForm->Fermertouteslesdestinations1Click();
    ASSERT_EQ(Nombre(), 1);
    EcritImage(a + QStringLiteral("/a.JPG"));
    EcritImage(a + QStringLiteral("/B/D/d.gif"));
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox1")->setChecked(true);
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(Titres(), (QStringList{"A", "D"}));
}

TEST_F(ArborescenceTest, SansLeDossierDuProgrammeNiLesDossiersCaches) {
    env.Dossier(QStringLiteral(".cache/Cachee"));
    ASSERT_TRUE(QFileInfo(env.Programme).dir() == QDir(env.Racine()));
    FormRecurs->ChoisitDossier(env.Racine());
    ControleDe<QRadioButton>(*FormRecurs, "RadioButton1")->setChecked(true);
    MainForm->Ajouteravecsousdossiers1Click();
    const QString programme = QFileInfo(env.Programme).fileName();
    const QStringList titres = Titres();
    EXPECT_TRUE(titres.contains("A"));
    EXPECT_TRUE(titres.contains("D"));
    EXPECT_FALSE(titres.contains(programme));
    EXPECT_FALSE(titres.contains(QStringLiteral("Corbeille")));
    EXPECT_FALSE(titres.contains(QStringLiteral("Signatures")));
    EXPECT_FALSE(titres.contains(QStringLiteral(".cache")));
    EXPECT_FALSE(titres.contains(QStringLiteral("Cachee")));
}

TEST_F(ArborescenceTest, LeDossierDuProgrammeParUnLienOuLuiMeme) {
    ASSERT_TRUE(QFile::link(env.Programme, a + QStringLiteral("/C/programme")));
    MainForm->Ajouteravecsousdossiers1Click();
    QStringList titres = Titres();
    titres.sort();
    EXPECT_EQ(titres, (QStringList{"A", "B", "C", "D"}));

    MainForm->Fermertouteslesdestinations1Click();
    FormRecurs->ChoisitDossier(env.Programme);
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(Nombre(), 1);
}

TEST_F(ArborescenceTest, ValidationAnnuleePourB) {
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox2")->setChecked(false);
    QList<Qt::CursorShape> pointeurs;
    validation = [&] {
        const QCursor* pointeur = QGuiApplication::overrideCursor();
        pointeurs << (pointeur ? pointeur->shape() : Qt::ArrowCursor);
        return ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->text() == QStringLiteral("B")
                   ? int(QDialog::Rejected)
                   : int(QDialog::Accepted);
    };
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(montres.size(), 5);
    EXPECT_EQ(pointeurs, QList<Qt::CursorShape>(4, Qt::WaitCursor));
    EXPECT_EQ(Titree("B"), nullptr);
    // D, below the folder that got no destination, goes to the top level.
    ASSERT_NE(Titree("D"), nullptr);
    EXPECT_EQ(Titree("D")->Groupe, 0);
    EXPECT_EQ(Titree("C")->Groupe, Titree("A")->SousGroupe);
}

TEST_F(ArborescenceTest, DossiersDejaOuverts) {
    ASSERT_NE(MainForm->AjouteDestination(a + QStringLiteral("/B"), true, 0, 1), nullptr);
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(Titres().count(QStringLiteral("B")), 1);
    EXPECT_EQ(Titree("D")->Groupe, 0);
    EXPECT_EQ(Titree("C")->Groupe, Titree("A")->SousGroupe);

    // A level none of whose folders came in is not offered.
    MainForm->Fermertouteslesdestinations1Click();
    ASSERT_TRUE(QDir(a + QStringLiteral("/C")).removeRecursively());
    ASSERT_NE(MainForm->AjouteDestination(a + QStringLiteral("/B"), true, 0, 1), nullptr);
    ASSERT_NE(MainForm->AjouteDestination(a + QStringLiteral("/B/D"), true, 0, 1), nullptr);
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(Titres(), (QStringList{"B", "D", "A"}));
    EXPECT_EQ(Titree("A")->SousGroupe, -1);
}

TEST_F(ArborescenceTest, UnLienVersUnParentNeBouclePas) {
    ASSERT_TRUE(QFile::link(a, a + QStringLiteral("/B/retour")));
    const QString ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    ASSERT_TRUE(QFile::link(ailleurs, a + QStringLiteral("/C/lien")));
    MainForm->Ajouteravecsousdossiers1Click();
    QStringList titres = Titres();
    titres.sort();
    EXPECT_EQ(titres, (QStringList{"A", "B", "C", "D", "lien"}));
}

TEST_F(ArborescenceTest, OptionsRemisesALaReouverture) {
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox4")->setChecked(false);
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox3")->setChecked(false);
    ControleDe<QRadioButton>(*FormRecurs, "RadioButton1")->setChecked(true);
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox1")->setChecked(true);
    ControleDe<QCheckBox>(*FormRecurs, "CheckBox2")->setChecked(false);
    recurs = [] {
        // The search options are back; the others are kept.
        EXPECT_TRUE(ControleDe<QCheckBox>(*FormRecurs, "CheckBox3")->isChecked());
        EXPECT_FALSE(ControleDe<QCheckBox>(*FormRecurs, "CheckBox3")->isEnabled());
        EXPECT_FALSE(ControleDe<QLabel>(*FormRecurs, "Label3")->isEnabled());
        EXPECT_TRUE(ControleDe<QCheckBox>(*FormRecurs, "CheckBox4")->isChecked());
        EXPECT_TRUE(ControleDe<QRadioButton>(*FormRecurs, "RadioButton1")->isChecked());
        EXPECT_TRUE(ControleDe<QCheckBox>(*FormRecurs, "CheckBox1")->isChecked());
        EXPECT_FALSE(ControleDe<QCheckBox>(*FormRecurs, "CheckBox2")->isChecked());
        return int(QDialog::Rejected);
    };
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormRecurs")});
    EXPECT_EQ(Nombre(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ArborescenceTest, ModesDeRecherche) {
    // LOCAL only, then none.
    recurs = [] {
        ControleDe<QCheckBox>(*FormRecurs, "CheckBox4")->setChecked(false);
        return int(QDialog::Accepted);
    };
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_TRUE(Titree("A")->RechercheLocale);
    EXPECT_FALSE(Titree("A")->RechercheGenerale);
    MainForm->Fermertouteslesdestinations1Click();
    recurs = [] {
        ControleDe<QCheckBox>(*FormRecurs, "CheckBox4")->setChecked(false);
        ControleDe<QCheckBox>(*FormRecurs, "CheckBox3")->setChecked(false);
        return int(QDialog::Accepted);
    };
    MainForm->Ajouteravecsousdossiers1Click();
    EXPECT_FALSE(Titree("D")->RechercheLocale);
    EXPECT_FALSE(Titree("D")->RechercheGenerale);
}

TEST_F(ArborescenceTest, UnDossierOuvertAtteintAutrementNeSOuvrePasDeuxFois) {
    // Ailleurs is open, and C holds a link to it; B is open through ".." above the root.
    const QString ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    ASSERT_NE(MainForm->AjouteDestination(ailleurs, true, 0, 1), nullptr);
    ASSERT_NE(MainForm->AjouteDestination(QStringLiteral("/../..") + a + QStringLiteral("/B"), true, 0, 1),
              nullptr);
    ASSERT_TRUE(QFile::link(ailleurs, a + QStringLiteral("/C/lien")));
    MainForm->Ajouteravecsousdossiers1Click();
    QStringList titres = Titres();
    titres.sort();
    EXPECT_EQ(titres, (QStringList{"A", "Ailleurs", "B", "C", "D"}));
    // Nor is a folder of the tree opened again another way.
    EXPECT_EQ(MainForm->AjouteDestination(a + QStringLiteral("/C/../C/"), true, 0, 1), nullptr);
    EXPECT_EQ(MainForm->AjouteDestination(a + QStringLiteral("/C/lien"), true, 0, 1), nullptr);
}
