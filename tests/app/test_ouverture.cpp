#include "controles.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/magasin.h"
#include "core/source/sourceliste.h"
#include "photo.h"
#include "programme.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"
#include "ui/destinations/confirmation.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/tools/nouvdest.h"
#include "ui/tools/recursif.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

// Adding, editing and closing destinations, with the dialogs answered by the test.
class OuvertureTest : public ProgrammeTest {
protected:
    void Ouvre(const QList<QStringList>& destinations = {}) {
        if (!destinations.isEmpty()) EcritConfiguration(destinations);
        Demarre();
        Repond();
    }
    // The answers a user would give, put back after a restart.
    void Repond() {
        MainForm->FixeQuestions(&utilisateur);
        MainForm->FixeDialogues(&dialogues);
        Affiche();
        dialogues.Modal = [this](QDialog& d) {
            montres << d.objectName();
            return dialogue ? dialogue(d) : int(QDialog::Rejected);
        };
        utilisateur.Confirmation = [this](const QString& question) {
            // The question names the folder between quotes.
            questions << QFileInfo(question.section(u'\'', 1, 1)).fileName();
            // Whether cancelling is offered at this question.
            annulables << (utilisateur.Annulations.isEmpty() || utilisateur.Annulations.back());
            return reponses.isEmpty() ? ReponseConfirmation::Non : reponses.takeFirst();
        };
    }
    // The user picks this folder with "Parcourir" and presses OK.
    void ParcourirPuisOK(const QString& dossier, const QString& titre = {}) {
        dialogues.Dossier = [dossier](const QString&) { return dossier; };
        dialogue = [titre](QDialog&) {
            ControleDe<QPushButton>(*FormNouvDest, "BitBtn1")->click();
            if (!titre.isEmpty()) ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->setText(titre);
            return int(QDialog::Accepted);
        };
    }
    static int Nombre() { return Config()->Destinations.Count(); }
    static TDestination* Destination(int i) { return Config()->Destinations.Element(i); }
    static QStringList Titres() {
        QStringList titres;
        for (int i = 1; i < Nombre(); ++i)
            titres << Destination(i)->Titre;
        return titres;
    }
    static TDestination* Titree(const QString& titre) {
        for (int i = 0; i < Nombre(); ++i)
            if (Destination(i)->Titre == titre) return Destination(i);
        return nullptr;
    }
    // The tile menu opened on a tile of the level shown.
    static void FermeDepuisLaTuile(const TDestination* d) {
        MainForm->RafraichisListeDestinations();
        ASSERT_TRUE(d->Visible || d->Titre == TitreCorbeille);
        Controle<QMenu>("PopupMenu2")->setProperty("Tag", d->Rang);
        Controle<QAction>("Fermerladestination1")->trigger();
    }
    static int TuilesDuNiveau(int id) { return MainForm->Session().ListeGroupe()->Groupe(id)->NbTuiles; }
    // The folders the signature store names: those whose store was kept as they closed.
    QStringList Magasin() const {
        QStringList index, dossiers;
        TexteFichier::Lit(env.Programme + QStringLiteral("/Signatures/Index.txt"), index);
        for (qsizetype i = 0; i + 1 < index.size(); i += 2)
            dossiers << QFileInfo(index[i]).fileName();
        return dossiers;
    }
    // A, which opens level 1 with B (opening level 2 with D) and C; and E at the top.
    void OuvreArbre() {
        const QString a = env.Dossier(QStringLiteral("A"));
        Ouvre({Enregistrement("A", a, 1, 0), Enregistrement("B", env.Dossier("A/B"), 2, 1),
               Enregistrement("D", env.Dossier("A/B/D"), -1, 2),
               Enregistrement("C", env.Dossier("A/C"), -1, 1),
               Enregistrement("E", env.Dossier(QStringLiteral("E")))});
        ASSERT_EQ(Titres(), (QStringList{"A", "B", "D", "C", "E"}));
    }

    std::function<int(QDialog&)> dialogue;
    QStringList montres, questions;
    QStringList& avertissements = utilisateur.Avertissements;
    QList<bool> annulables;
    QList<ReponseConfirmation> reponses;
};

TEST_F(OuvertureTest, AjouterUneDestinationPuisLeMemeDossier) {
    Ouvre();
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    EcritImage(vacances + QStringLiteral("/v.jpg"));
    ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->setText(QStringLiteral("reste d'avant"));
    ControleDe<QCheckBox>(*FormNouvDest, "CheckBox2")->setChecked(false);
    ControleDe<QCheckBox>(*FormNouvDest, "CheckBox1")->setChecked(true);
    // The picker's trailing separator is dropped.
    ParcourirPuisOK(vacances + u'/');
    MainForm->Ajouter1Click();
    ASSERT_EQ(Nombre(), 2);
    TDestination* d = Destination(1);
    EXPECT_EQ(d->Chemin, vacances);
    // The title field was emptied first, so that "Parcourir" named the destination.
    EXPECT_EQ(d->Titre, QStringLiteral("Vacances"));
    EXPECT_EQ(Config()->Destinations.Texte(1), QStringLiteral("Vacances"));
    EXPECT_TRUE(d->RechercheLocale);
    EXPECT_FALSE(d->RechercheGenerale);
    EXPECT_EQ(d->Groupe, 0);
    EXPECT_EQ(d->SousGroupe, -1);
    EXPECT_EQ(d->ATraiter, QStringList{vacances + QStringLiteral("/v.jpg")});
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], d);
    EXPECT_EQ(TuilesDuNiveau(0), 2);

    MainForm->Ajouter1Click();
    EXPECT_EQ(Nombre(), 2);
    EXPECT_EQ(avertissements, QStringList{QStringLiteral("Le dossier existe déja")});
    // Opening it for a folder tree is refused without a word.
    EXPECT_EQ(MainForm->AjouteDestination(vacances, true, 0, 1), nullptr);
    EXPECT_EQ(avertissements.size(), 1);

    // Cancelled: nothing. The reserved title is turned into another one while typed.
    dialogue = [](QDialog&) { return int(QDialog::Rejected); };
    MainForm->Ajouter1Click();
    EXPECT_EQ(Nombre(), 2);
    ParcourirPuisOK(env.Dossier(QStringLiteral("Autre")), TitreCorbeille);
    MainForm->Ajouter1Click();
    ASSERT_EQ(Nombre(), 3);
    EXPECT_EQ(Destination(2)->Titre, QStringLiteral("Corbeille "));
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Destination(2));
    EXPECT_EQ(montres.size(), 4);

    // The program's trash, through a link or not, is no destination.
    ASSERT_TRUE(
        QFile::link(env.Programme + QStringLiteral("/Corbeille"), env.Racine() + QStringLiteral("/lien")));
    ParcourirPuisOK(env.Racine() + QStringLiteral("/lien"));
    MainForm->Ajouter1Click();
    EXPECT_EQ(Nombre(), 3);
    ASSERT_EQ(avertissements.size(), 2);
    EXPECT_TRUE(avertissements[1].contains(QStringLiteral("ne peut pas être une destination")));
    EXPECT_EQ(MainForm->AjouteDestination(env.Programme + QStringLiteral("/Signatures"), true, 0, 1),
              nullptr);
}

TEST_F(OuvertureTest, AjouteDestinationSelonLeModeDeRecherche) {
    Ouvre();
    const struct {
        int mode;
        bool locale, generale, localeModifiable;
    } cas[] = {{1, true, false, true}, {2, false, false, true}, {3, true, true, false}};
    for (const auto& c : cas) {
        const QString dossier = env.Dossier(QStringLiteral("Mode%1").arg(c.mode));
        TDestination* d = MainForm->AjouteDestination(dossier, true, 0, c.mode);
        ASSERT_NE(d, nullptr) << c.mode;
        EXPECT_EQ(d->Titre, QStringLiteral("Mode%1").arg(c.mode));
        EXPECT_EQ(d->RechercheLocale, c.locale) << c.mode;
        EXPECT_EQ(d->RechercheGenerale, c.generale) << c.mode;
        EXPECT_EQ(ControleDe<QCheckBox>(*FormNouvDest, "CheckBox1")->isEnabled(), c.localeModifiable)
            << c.mode;
        EXPECT_EQ(ControleDe<QLabel>(*FormNouvDest, "Label1")->text(), dossier);
    }
    EXPECT_TRUE(montres.isEmpty());
    // Shown to the user, who picks a folder that is already open: none, and no message.
    ParcourirPuisOK(env.Dossier(QStringLiteral("Mode1")));
    EXPECT_EQ(MainForm->AjouteDestination(env.Dossier(QStringLiteral("Neuf")), false, 0, 1), nullptr);
    EXPECT_EQ(montres, QStringList{QStringLiteral("FormNouvDest")});
    EXPECT_TRUE(avertissements.isEmpty());
    EXPECT_EQ(Nombre(), 4);
}

TEST_F(OuvertureTest, AjouterDansUnSousNiveau) {
    OuvreArbre();
    MainForm->Session().ListeGroupe()->Courant = 1;
    ParcourirPuisOK(env.Dossier(QStringLiteral("Nouveau")));
    MainForm->Ajouter1Click();
    TDestination* nouveau = Titree(QStringLiteral("Nouveau"));
    ASSERT_NE(nouveau, nullptr);
    EXPECT_EQ(nouveau->Groupe, 1);
    EXPECT_EQ(nouveau->Rang, Nombre() - 1);
    EXPECT_EQ(TuilesDuNiveau(1), 4);
    // Trash, parent, then the level's tiles in list order: the new one last.
    const auto& tuiles = MainForm->Panneau->Tuiles;
    EXPECT_EQ(tuiles[1], Titree("A"));
    EXPECT_EQ(tuiles[2], Titree("B"));
    EXPECT_EQ(tuiles[3], Titree("C"));
    EXPECT_EQ(tuiles[4], nouveau);
}

TEST_F(OuvertureTest, FermerUnParentFermeSonSousArbre) {
    OuvreArbre();
    // Yes to all at the first question: every destination below goes without another question.
    reponses = {ReponseConfirmation::OuiPourTous};
    FermeDepuisLaTuile(Titree("A"));
    EXPECT_EQ(questions, QStringList{"A"});
    EXPECT_EQ(Titres(), QStringList{"E"});
    EXPECT_EQ(TuilesDuNiveau(0), 2);
    EXPECT_TRUE(Magasin().isEmpty());
    EXPECT_TRUE(ControleDe<QPushButton>(*FormConfirmation, "BoutonAnnuler")->isEnabled());
    EXPECT_TRUE(ControleDe<QPushButton>(*FormConfirmation, "BoutonToutAnnuler")->isEnabled());
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
}

TEST_F(OuvertureTest, SousDestinationsSansBoutonsDAnnulation) {
    OuvreArbre();
    reponses = {ReponseConfirmation::Oui, ReponseConfirmation::Non, ReponseConfirmation::Oui,
                ReponseConfirmation::Non};
    FermeDepuisLaTuile(Titree("A"));
    // A, then its level from the last entry up, then the level B opened.
    EXPECT_EQ(questions, (QStringList{"A", "C", "B", "D"}));
    EXPECT_EQ(annulables, (QList<bool>{true, false, false, false}));
    EXPECT_TRUE(ControleDe<QPushButton>(*FormConfirmation, "BoutonAnnuler")->isEnabled());
    EXPECT_EQ(Titres(), QStringList{"E"});
    // "Non" kept the store of C and D; "Oui" erased those of A and B.
    EXPECT_EQ(Magasin(), (QStringList{"C", "D"}));
}

TEST_F(OuvertureTest, AnnulerLaPremiereQuestionNeFermeRien) {
    OuvreArbre();
    reponses = {ReponseConfirmation::Annuler};
    FermeDepuisLaTuile(Titree("A"));
    EXPECT_EQ(questions, QStringList{"A"});
    EXPECT_EQ(Titres(), (QStringList{"A", "B", "D", "C", "E"}));
    EXPECT_EQ(Titree("A")->SousGroupe, 1);
    EXPECT_EQ(TuilesDuNiveau(1), 3);
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
}

TEST_F(OuvertureTest, LaCorbeilleNeSeFermePas) {
    OuvreArbre();
    MainForm->Session().ListeGroupe()->Courant = 1;
    FermeDepuisLaTuile(Destination(0));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(Nombre(), 6);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 1);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], Titree("A"));
    // Its properties cannot be changed either.
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 0);
    Controle<QAction>("Modifierlescaractristiques1")->trigger();
    EXPECT_TRUE(montres.isEmpty());
}

TEST_F(OuvertureTest, LePanneauResteSurUnNiveauQuiExiste) {
    // A opens 1 with B (opening 2 with D) and C (opening 3 with F): 2 is the level of C's sibling.
    const QString a = env.Dossier(QStringLiteral("A"));
    Ouvre({Enregistrement("A", a, 1, 0), Enregistrement("B", env.Dossier("A/B"), 2, 1),
           Enregistrement("D", env.Dossier("A/B/D"), -1, 2), Enregistrement("C", env.Dossier("A/C"), 3, 1),
           Enregistrement("F", env.Dossier("A/C/F"), -1, 3)});
    MainForm->Session().ListeGroupe()->Courant = 3;
    FermeDepuisLaTuile(Titree("C"));
    EXPECT_EQ(questions, (QStringList{"C", "F"}));
    // Back to the level C stood in, not to B's.
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 1);
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Titree("B"));

    // Closing the parent of the level shown: its own level; B was the last there, so the top.
    MainForm->Session().ListeGroupe()->Courant = 2;
    FermeDepuisLaTuile(Titree("B"));
    EXPECT_EQ(Titres(), QStringList{"A"});
    EXPECT_EQ(Titree("A")->SousGroupe, -1);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], Titree("A"));
}

TEST_F(OuvertureTest, FermerToutEtToutAnnulerALaTroisiemeQuestion) {
    Ouvre({Enregistrement("W", env.Dossier("W")), Enregistrement("X", env.Dossier("X")),
           Enregistrement("Y", env.Dossier("Y")), Enregistrement("Z", env.Dossier("Z"))});
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::Annuler, ReponseConfirmation::ToutAnnuler};
    Controle<QAction>("Fermertouteslesdestinations1")->trigger();
    EXPECT_EQ(questions, (QStringList{"Z", "Y", "X"}));
    EXPECT_EQ(Titres(), (QStringList{"W", "X", "Y"}));
    EXPECT_EQ(Magasin(), QStringList{"Z"});
    EXPECT_EQ(TuilesDuNiveau(0), 4);
    EXPECT_EQ(Config()->ContexteDestinations.ReponseMemorisee, ReponseConfirmation::Non);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
}

TEST_F(OuvertureTest, FermerToutMemeLesDestinationsAnnulees) {
    Ouvre({Enregistrement("W", env.Dossier("W")), Enregistrement("X", env.Dossier("X")),
           Enregistrement("Y", env.Dossier("Y")), Enregistrement("Z", env.Dossier("Z"))});
    // Y is skipped with "&Annuler"; the last answer is yes to all, which must not erase Y's store.
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::Annuler, ReponseConfirmation::Oui,
                ReponseConfirmation::OuiPourTous};
    Controle<QAction>("Fermertouteslesdestinations1")->trigger();
    EXPECT_EQ(questions, (QStringList{"Z", "Y", "X", "W"}));
    EXPECT_TRUE(Titres().isEmpty());
    EXPECT_EQ(Magasin(), (QStringList{"Z", "Y"}));
    EXPECT_EQ(TuilesDuNiveau(0), 1);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], nullptr);
}

TEST_F(OuvertureTest, ToutAnnulerLaisseLesTuilesAccessibles) {
    const QString a = env.Dossier(QStringLiteral("A"));
    Ouvre({Enregistrement("W", env.Dossier("W")), Enregistrement("A", a, 1, 0),
           Enregistrement("B", env.Dossier("A/B"), -1, 1)});
    // B skipped, its parent A closed, then cancel all: B comes to the top level.
    reponses = {ReponseConfirmation::Annuler, ReponseConfirmation::Oui, ReponseConfirmation::ToutAnnuler};
    Controle<QAction>("Fermertouteslesdestinations1")->trigger();
    EXPECT_EQ(Titres(), (QStringList{"W", "B"}));
    EXPECT_EQ(Titree("B")->Groupe, 0);
    EXPECT_EQ(TuilesDuNiveau(0), 3);
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Titree("B"));
}

TEST_F(OuvertureTest, UneDestinationFermeeEchappeALAnnulation) {
    const QString cible = env.Dossier(QStringLiteral("Cible"));
    Ouvre({Enregistrement("Cible", cible)});
    ASSERT_TRUE(AttendRepos());
    TDestination* d = Destination(1);
    const QPoint titre(d->TuileX + 40, d->TuileY + 10);
    QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
    QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
    ASSERT_EQ(Config()->Annulations.Nombre(), 1);
    const QString classe = QFile::decodeName(Config()->Annulations.Etapes.front().Cible);
    const QString origine = QFile::decodeName(Config()->Annulations.Etapes.front().Source);
    ASSERT_TRUE(QFile::exists(classe));
    FermeDepuisLaTuile(d);
    EXPECT_EQ(Nombre(), 1);
    // The undo entry no longer reaches an open destination.
    const std::shared_ptr<TDestination> nommee = Config()->Annulations.Etapes.front().Destination.lock();
    EXPECT_TRUE(!nommee || nommee->EstFermee());
    // The file still comes back; no destination is touched.
    MainForm->Annulation1Click();
    EXPECT_TRUE(QFile::exists(origine));
    EXPECT_FALSE(QFile::exists(classe));
    EXPECT_EQ(Source()->Fichiers.Count(), 3);
}

TEST_F(OuvertureTest, ModifierLesCaracteristiques) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    Ouvre({Enregistrement("Vacances", vacances), Enregistrement("Famille", env.Dossier("Famille"))});
    const int hauteurAvant = MainForm->Session().ListeGroupe()->HauteurCourante();
    const QString ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    dialogues.Dossier = [&](const QString& depart) {
        EXPECT_EQ(depart, vacances);
        return ailleurs;
    };
    dialogues.Fonte = [](QFont& police) {
        police = QFont(QStringLiteral("Arial"), 20);
        police.setBold(true);
        return true;
    };
    dialogue = [&](QDialog&) {
        // The dialog shows the destination as it is.
        EXPECT_EQ(ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->text(), QStringLiteral("Vacances"));
        EXPECT_EQ(ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->font().pointSize(), 8);
        EXPECT_FALSE(ControleDe<QCheckBox>(*FormNouvDest, "CheckBox1")->isChecked());
        ControleDe<QPushButton>(*FormNouvDest, "BitBtn1")->click();
        ControleDe<QToolButton>(*FormNouvDest, "BitBtnFonte")->click();
        ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->setText(QStringLiteral("Été"));
        ControleDe<QCheckBox>(*FormNouvDest, "CheckBox2")->setChecked(true);
        return int(QDialog::Accepted);
    };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Modifierlescaractristiques1")->trigger();
    TDestination* d = Destination(1);
    EXPECT_EQ(d->Titre, QStringLiteral("Été"));
    EXPECT_EQ(d->Chemin, ailleurs);
    EXPECT_EQ(d->Fonte.pointSize(), 20);
    EXPECT_TRUE(d->Fonte.bold());
    EXPECT_TRUE(d->RechercheLocale);
    EXPECT_TRUE(d->RechercheGenerale);
    // The list's string keeps the old title; the level's tiles grow to the new font at once.
    EXPECT_EQ(Config()->Destinations.Texte(1), QStringLiteral("Vacances"));
    EXPECT_GT(HauteurAbsolue(d->Fonte), hauteurAvant);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->HauteurCourante(), HauteurAbsolue(d->Fonte));

    // A font picked, then the dialog cancelled: the destination keeps its font, and the next new
    // destination starts with the one picked.
    dialogues.Fonte = [](QFont& police) {
        police = QFont(QStringLiteral("Arial"), 14);
        police.setBold(true);
        return true;
    };
    dialogue = [](QDialog&) {
        ControleDe<QToolButton>(*FormNouvDest, "BitBtnFonte")->click();
        return int(QDialog::Rejected);
    };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 2);
    Controle<QAction>("Modifierlescaractristiques1")->trigger();
    EXPECT_EQ(Destination(2)->Fonte.pointSize(), 8);
    QFont auDebut;
    dialogue = [&](QDialog&) {
        auDebut = ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->font();
        return int(QDialog::Rejected);
    };
    MainForm->Ajouter1Click();
    EXPECT_EQ(auDebut.pointSize(), 14);
    EXPECT_TRUE(auDebut.bold());
}

TEST_F(OuvertureTest, DuDossierVideAuPanneauRetrouveApresRedemarrage) {
    Ouvre();
    ASSERT_TRUE(AttendRepos());
    // One by one, then a folder tree.
    ParcourirPuisOK(env.Dossier(QStringLiteral("Un")));
    Controle<QToolButton>("ToolButton3")->click();
    ParcourirPuisOK(env.Dossier(QStringLiteral("Deux")));
    Controle<QAction>("Ajouter1")->trigger();
    const QString arbre = env.Dossier(QStringLiteral("Arbre"));
    env.Dossier(QStringLiteral("Arbre/Branche/Feuille"));
    FormRecurs->ChoisitDossier(arbre);
    dialogue = [](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("FormRecurs"));
        return int(QDialog::Accepted);
    };
    Controle<QToolButton>("ToolButton12")->click();
    ASSERT_EQ(Titres(), (QStringList{"Un", "Deux", "Arbre", "Branche", "Feuille"}));

    // Edited: title, font and search options.
    dialogues.Fonte = [](QFont& police) {
        police = QFont(QStringLiteral("Arial"), 12);
        police.setItalic(true);
        return true;
    };
    dialogue = [](QDialog&) {
        ControleDe<QLineEdit>(*FormNouvDest, "EditTitre")->setText(QStringLiteral("Premier"));
        ControleDe<QToolButton>(*FormNouvDest, "BitBtnFonte")->click();
        ControleDe<QCheckBox>(*FormNouvDest, "CheckBox2")->setChecked(false);
        ControleDe<QCheckBox>(*FormNouvDest, "CheckBox1")->setChecked(true);
        return int(QDialog::Accepted);
    };
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Modifierlescaractristiques1")->trigger();

    // Images filed into two of them.
    for (int i : {1, 2}) {
        const TDestination* d = Destination(i);
        const QPoint titre(d->TuileX + 40, d->TuileY + 10);
        QTest::mousePress(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
        QTest::mouseRelease(Controle<TImage>("ImageDestination"), Qt::LeftButton, {}, titre);
        ASSERT_TRUE(AttendRepos());
    }
    EXPECT_EQ(QDir(env.Dossier("Un")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(QDir(env.Dossier("Deux")).entryList(QDir::Files).size(), 1);

    // The tree closed with its sub-tree, answering each question.
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::Non, ReponseConfirmation::Oui};
    FermeDepuisLaTuile(Titree("Arbre"));
    EXPECT_EQ(questions, (QStringList{"Arbre", "Branche", "Feuille"}));
    ASSERT_EQ(Titres(), (QStringList{"Premier", "Deux"}));

    // Restarted: the same panel.
    ASSERT_TRUE(MainForm->close());
    DetruitFenetres();
    CreeFenetres({env.Programme, env.Programme});
    Repond();
    ASSERT_EQ(Titres(), (QStringList{"Premier", "Deux"}));
    const TDestination* premier = Destination(1);
    EXPECT_EQ(premier->Chemin, env.Dossier("Un"));
    EXPECT_EQ(premier->Fonte.family(), QStringLiteral("Arial"));
    EXPECT_EQ(premier->Fonte.pointSize(), 12);
    EXPECT_TRUE(premier->Fonte.italic());
    EXPECT_TRUE(premier->RechercheLocale);
    EXPECT_FALSE(premier->RechercheGenerale);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], premier);
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Destination(2));

    // All closed, then restarted: only the trash.
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::Non};
    Controle<QToolButton>("ToolButton15")->click();
    EXPECT_TRUE(Titres().isEmpty());
    ASSERT_TRUE(MainForm->close());
    DetruitFenetres();
    CreeFenetres({env.Programme, env.Programme});
    Repond();
    EXPECT_EQ(Nombre(), 1);
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], nullptr);
}

// Another folder given to a destination: refused when it is open under any spelling, reserved, or
// when the old store cannot be written; otherwise the destination becomes that folder's as opening
// it would, the old folder's store staying under the old folder, and the review shows its pairs.
TEST_F(OuvertureTest, ChangerDeDossier) {
    const QString vacances = env.Dossier("Vacances"), ailleurs = env.Dossier("Ailleurs");
    for (const char* f : {"Vacances/v1.jpg", "Ailleurs/a1.jpg", "Ailleurs/a2.jpg", "Ailleurs/a3.jpg"})
        EcritImage(env.Racine() + u'/' + QLatin1String(f));
    Ouvre({Enregistrement("Vacances", vacances), Enregistrement("Famille", env.Dossier("Famille"))});
    const QString signatures = Config()->ContexteDestinations.DossierSignatures();
    auto signature = [](const QString& fichier) {
        auto s = std::make_shared<Tminiature>();
        s->Fichier = fichier;
        return s;
    };
    // Ailleurs' store from an earlier session: a1.jpg signed, paired with a2.jpg.
    const QString paire = LigneDoublon(5, ailleurs + "/a1.jpg", ailleurs + "/a2.jpg");
    TListeDoublons stockee(ailleurs);
    stockee.Miniatures.push_back(signature(ailleurs + "/a1.jpg"));
    ASSERT_TRUE(TMagasinSignatures(signatures).Sauve(stockee, {paire}));
    Destination(1)->AjouteSignature(signature(vacances + "/v1.jpg"), {});
    const std::weak_ptr<TDestination> ancienne = Destination(1)->weak_from_this();
    auto change = [this](int tag, const QString& dossier) {
        ParcourirPuisOK(dossier);
        Controle<QMenu>("PopupMenu2")->setProperty("Tag", tag);
        Controle<QAction>("Modifierlescaractristiques1")->trigger();
    };
    ASSERT_TRUE(QFile::link(vacances, env.Racine() + "/lien"));
    for (const QString& refuse : {vacances, env.Racine() + "/lien", signatures})
        change(2, refuse);
    ASSERT_EQ(avertissements.size(), 3);
    EXPECT_EQ(avertissements[1], QStringLiteral("Le dossier existe déja"));
    EXPECT_TRUE(avertissements[2].contains(QStringLiteral("celui du programme")));
    // The signature folder made a file: the old store cannot be written, the folder stays.
    ASSERT_TRUE(QDir().rename(signatures, signatures + "-de-cote"));
    EcritFichier(QFile::encodeName(signatures), "x");
    change(1, ailleurs);
    EXPECT_TRUE(avertissements.back().startsWith("Les signatures du dossier « " + vacances));
    EXPECT_EQ(Destination(1)->Chemin, vacances);
    ASSERT_TRUE(QFile::remove(signatures) && QDir().rename(signatures + "-de-cote", signatures));

    avertissements.clear();
    change(1, ailleurs);
    EXPECT_TRUE(avertissements.isEmpty());
    TDestination* d = Destination(1);
    EXPECT_EQ(d->Chemin, ailleurs);
    EXPECT_EQ(QSet<QString>(d->ATraiter.begin(), d->ATraiter.end()),
              (QSet<QString>{ailleurs + "/a2.jpg", ailleurs + "/a3.jpg"}));
    EXPECT_EQ(d->Comptes().Signatures, 1);
    EXPECT_EQ(d->CopieDoublons(), QStringList{paire});
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], d);
    EXPECT_TRUE(ancienne.expired() || ancienne.lock()->EstFermee());
    // Saved, each folder's store under its own folder.
    ASSERT_TRUE(d->SauveSignatures());
    TListeDoublons relue(vacances);
    QStringList lignes;
    TMagasinSignatures(signatures).Charge(vacances, relue, lignes);
    ASSERT_EQ(relue.Miniatures.size(), 1u);
    EXPECT_EQ(relue.Miniatures.front()->Fichier, vacances + "/v1.jpg");
    EXPECT_TRUE(lignes.isEmpty());
    // Its own folder through a link is still its folder.
    ASSERT_TRUE(QFile::link(ailleurs, env.Racine() + "/lien2"));
    change(1, env.Racine() + "/lien2");
    EXPECT_EQ(Destination(1), d);
    EXPECT_EQ(d->Chemin, ailleurs);
    QString montree;
    dialogue = [&](QDialog&) {
        montree = FormDedoublone->Cellule(1, 0);
        return int(QDialog::Rejected);
    };
    MainForm->RevoitDoublons(*d);
    EXPECT_TRUE(montree.endsWith(QStringLiteral("a1.jpg"))) << montree.toStdString();
}

// A search running on the destination as its folder changes leaves nothing of the old folder in
// the new lists.
TEST_F(OuvertureTest, ChangerDeDossierPendantLaRecherche) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QString ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(PhotoSynthetique(40 + i, 1200, 900).save(vacances + QStringLiteral("/v%1.jpg").arg(i)));
    EcritImage(ailleurs + QStringLiteral("/a.jpg"));
    Ouvre({Enregistrement("Vacances", vacances, -1, 0, "XXXX*X")});
    MainForm->Session().DecodeursEnPlus = 1;
    MainForm->Timer2Timer();
    ASSERT_NE(MainForm->Session().TacheRecherche.data(), nullptr);
    ParcourirPuisOK(ailleurs);
    Controle<QMenu>("PopupMenu2")->setProperty("Tag", 1);
    Controle<QAction>("Modifierlescaractristiques1")->trigger();
    ASSERT_TRUE(AttendQue([] { return MainForm->Session().TacheRecherche.isNull(); }, 30000));
    EXPECT_EQ(Destination(1)->FichiersConnus(), QStringList{ailleurs + QStringLiteral("/a.jpg")});
    EXPECT_TRUE(Destination(1)->CopieDoublons().isEmpty());
}

TEST_F(OuvertureTest, LeMemeDossierParUnLienOuParDessusLaRacine) {
    Ouvre();
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    ParcourirPuisOK(vacances);
    MainForm->Ajouter1Click();
    ASSERT_EQ(Nombre(), 2);
    ASSERT_TRUE(QFile::link(vacances, env.Racine() + QStringLiteral("/raccourci")));
    for (const QString& autre :
         {env.Racine() + QStringLiteral("/raccourci"), QStringLiteral("/..") + vacances}) {
        SCOPED_TRACE(autre.toStdString());
        ParcourirPuisOK(autre);
        MainForm->Ajouter1Click();
        EXPECT_EQ(Nombre(), 2);
        EXPECT_EQ(MainForm->AjouteDestination(autre, true, 0, 1), nullptr);
    }
    EXPECT_EQ(avertissements, QStringList(2, QStringLiteral("Le dossier existe déja")));
}
