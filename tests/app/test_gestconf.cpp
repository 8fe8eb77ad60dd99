#include "controles.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/magasin.h"
#include "programme.h"
#include "ui/config/gestconf.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class GestConfTest : public ProgrammeTest {
protected:
    void Ouvre(const QList<QStringList>& destinations) {
        EcritConfiguration(destinations);
        Demarre();
        Affiche();
        Controle<QTimer>("Timer2")->stop();
    }
    // The manager shown; the action runs in it, then it closes as the user closes it.
    void Gere(const std::function<void()>& action) {
        dialogues.Modal = [action](QDialog& dialogue) {
            dialogue.show();
            EXPECT_TRUE(AttendQue([&] { return dialogue.isVisible(); }, 2000));
            QCoreApplication::processEvents();
            ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->doItemsLayout();
            action();
            dialogue.hide();
            return int(QDialog::Accepted);
        };
        Controle<QAction>("Gestionnairedeconfiguration1")->trigger();
    }
    static QTreeWidgetItem* Noeud(const QString& titre) {
        const auto trouves = ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")
                                 ->findItems(titre, Qt::MatchExactly | Qt::MatchRecursive);
        return trouves.isEmpty() ? nullptr : trouves.front();
    }
    static QPoint Centre(QTreeWidgetItem* noeud) {
        return ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->visualItemRect(noeud).center();
    }
    // A node pulled with the left button and moved over another: whether the tree accepts it there.
    static bool Survole(QTreeWidgetItem* pris, QTreeWidgetItem* sur) {
        QWidget* vue = ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->viewport();
        QTest::mousePress(vue, Qt::LeftButton, {}, Centre(pris));
        QMimeData donnees;
        QDragEnterEvent entree(Centre(pris), Qt::MoveAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vue, &entree);
        QDragMoveEvent survol(Centre(sur), Qt::MoveAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vue, &survol);
        QTest::mouseRelease(vue, Qt::LeftButton, {}, Centre(pris));
        return survol.isAccepted();
    }
    // Dragged and dropped, then the menu's command chosen.
    static void Depose(QTreeWidgetItem* pris, QTreeWidgetItem* sur, QAction* commande) {
        ASSERT_TRUE(Survole(pris, sur));
        QWidget* vue = ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->viewport();
        QTest::mousePress(vue, Qt::LeftButton, {}, Centre(pris));
        QMimeData donnees;
        QDropEvent depot(Centre(sur), Qt::MoveAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vue, &depot);
        EXPECT_TRUE(ControleDe<QMenu>(*FormGestConf, "PopupMenu2")->isVisible());
        ControleDe<QMenu>(*FormGestConf, "PopupMenu2")->hide();
        commande->trigger();
    }
    static QStringList Ordre() {
        QStringList titres;
        for (int i = 1; i < Config()->Destinations.Count(); ++i)
            titres << Config()->Destinations.Element(i)->Titre;
        return titres;
    }
    static TDestination* Titree(const QString& titre) {
        for (int i = 1; i < Config()->Destinations.Count(); ++i)
            if (Config()->Destinations.Element(i)->Titre == titre) return Config()->Destinations.Element(i);
        return nullptr;
    }
    QList<QStringList> Quatre() const {
        return {Enregistrement("A", env.Dossier("A")), Enregistrement("B", env.Dossier("B")),
                Enregistrement("C", env.Dossier("C")), Enregistrement("D", env.Dossier("D"))};
    }
};

} // namespace

TEST_F(GestConfTest, GlisserDansEtDevantPuisFermer) {
    Ouvre(Quatre());
    Gere([] {
        QTreeWidgetItem *a = Noeud("A"), *b = Noeud("B"), *c = Noeud("C");
        ASSERT_TRUE(a && b && c);
        EXPECT_EQ(ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->topLevelItem(0)->text(0),
                  QStringLiteral("Arborescence"));
        // Refused: onto itself, onto the root.
        EXPECT_FALSE(Survole(a, a));
        EXPECT_FALSE(Survole(a, ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->topLevelItem(0)));
        // A into B: its only child. Then B can no longer go into A, its descendant.
        Depose(a, b, ControleDe<QAction>(*FormGestConf, "Dplacerdanscettedestination1"));
        EXPECT_EQ(a->parent(), b);
        EXPECT_FALSE(Survole(b, a));
        // C in front of B's first child.
        Depose(c, a, ControleDe<QAction>(*FormGestConf, "Dplaceraprscettedestination1"));
        EXPECT_EQ(b->indexOfChild(c), 0);
        EXPECT_EQ(b->indexOfChild(a), 1);
    });
    EXPECT_EQ(Ordre(), (QStringList{"B", "C", "A", "D"}));
    EXPECT_EQ(Titree("B")->SousGroupe, 1);
    EXPECT_EQ(Titree("C")->Groupe, 1);
    EXPECT_EQ(Titree("A")->Groupe, 1);
    EXPECT_EQ(Titree("A")->SousGroupe, -1);
    EXPECT_EQ(Titree("D")->Groupe, 0);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Courant, 0);
    ASSERT_NE(MainForm->Session().ListeGroupe()->Groupe(1), nullptr);
    EXPECT_EQ(MainForm->Session().ListeGroupe()->Groupe(1)->NbTuiles, 3); // the trash and the two children
    EXPECT_EQ(MainForm->Session().Occupe.load(), 0);
    // The panel shows the top level: B (opening level 1) and D.
    EXPECT_EQ(MainForm->Panneau->Tuiles[1], Titree("B"));
    EXPECT_EQ(MainForm->Panneau->Tuiles[2], Titree("D"));
}

TEST_F(GestConfTest, TrisEtNiveauxLointains) {
    QList<QStringList> liste{Enregistrement("Zoo", env.Dossier("Zoo"), 20000, 0),
                             Enregistrement("zèbre", env.Dossier("Zoo/zebre"), -1, 20000),
                             Enregistrement("abeille", env.Dossier("Zoo/abeille"), -1, 20000),
                             Enregistrement("Été", env.Dossier("Ete")),
                             Enregistrement("Eau", env.Dossier("Eau")),
                             Enregistrement("apple", env.Dossier("apple"))};
    Ouvre(liste);
    QStringList hauts, dessous;
    Gere([&] {
        // A level id far beyond ten thousand still finds its parent.
        QTreeWidgetItem* zoo = Noeud("Zoo");
        ASSERT_TRUE(zoo);
        EXPECT_EQ(zoo->childCount(), 2);
        // Nothing pressed: the top level only.
        ControleDe<QAction>(*FormGestConf, "Trieralphabtiquementlesenfantsdecettedestinations1")->trigger();
        QTreeWidgetItem* racine = ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->topLevelItem(0);
        for (int i = 0; i < racine->childCount(); ++i)
            hauts << racine->child(i)->text(0);
        EXPECT_EQ(zoo->child(0)->text(0), QStringLiteral("zèbre"));
        ControleDe<QAction>(*FormGestConf, "Triertoutelarborescence1")->trigger();
        for (int i = 0; i < zoo->childCount(); ++i)
            dessous << zoo->child(i)->text(0);
    });
    EXPECT_EQ(hauts, (QStringList{"apple", "Eau", "Été", "Zoo"}));
    EXPECT_EQ(dessous, (QStringList{"abeille", "zèbre"}));
    EXPECT_EQ(Ordre(), (QStringList{"apple", "Eau", "Été", "Zoo", "abeille", "zèbre"}));
    EXPECT_EQ(Titree("Zoo")->SousGroupe, 1);
    EXPECT_EQ(Titree("abeille")->Groupe, 1);
}

TEST_F(GestConfTest, SauverEtOuvrir) {
    QList<QStringList> liste = Quatre();
    liste[1] = Enregistrement("B", env.Dossier("B"), 1, 0);
    liste[2] = Enregistrement("C", env.Dossier("C"), -1, 1);
    Ouvre(liste);
    const QString autre = env.Dossier(QStringLiteral("Ailleurs")) + QStringLiteral("/autre.ini");
    const QString refuse = env.Dossier(QStringLiteral("Ailleurs")) + QStringLiteral("/Mirasolve.ini");
    const QString minuscules = env.Dossier(QStringLiteral("Ailleurs")) + QStringLiteral("/mirasolve.ini");
    QString fichier;
    QStringList titres;
    dialogues.Fichier = [&](const QString& titre, const QString&, bool) {
        titres << titre;
        return fichier;
    };
    Gere([&] {
        for (const QString& f : {refuse, minuscules, autre}) {
            fichier = f;
            QTest::mouseClick(ControleDe<QPushButton>(*FormGestConf, "BitBtnSauver"), Qt::LeftButton);
        }
    });
    EXPECT_FALSE(QFile::exists(refuse));
    EXPECT_TRUE(QFile::exists(minuscules));
    ASSERT_EQ(utilisateur.Avertissements.size(), 1);
    EXPECT_EQ(utilisateur.Avertissements.front(),
              QStringLiteral("Ce nom de fichier correspond au fichier de configuration "
                             "par défaut. Changez le pour pouvoir sauvegarder."));
    // What "&Quitter" would write, byte for byte.
    const QString quitter = env.Racine() + QStringLiteral("/quitter.ini");
    Config()->ReleveFenetre(*MainForm);
    ASSERT_TRUE(Config()->Ecriture(quitter));
    QFile f1(autre), f2(quitter);
    ASSERT_TRUE(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
    EXPECT_EQ(f1.readAll(), f2.readAll());

    // A damaged file changes nothing; the default file is refused; the saved one comes back whole.
    const QString abime = env.Racine() + QStringLiteral("/abime.ini");
    ASSERT_TRUE(TexteFichier::Ecrit(
        abime, {QStringLiteral("DestinationCount=1"), "X", env.Dossier("X"), "pas un nombre"}));
    // A negative count is refused as well, and said so.
    const QString negatif = env.Racine() + QStringLiteral("/negatif.ini");
    ASSERT_TRUE(TexteFichier::Ecrit(negatif, {QStringLiteral("DestinationCount=-2")}));
    const QString mirasolve = env.Programme + QStringLiteral("/Mirasolve.ini");
    Gere([&] {
        Titree("D")->Fonte.setPointSize(15);
        for (const QString& f : {abime, negatif, mirasolve}) {
            fichier = f;
            QTest::mouseClick(ControleDe<QPushButton>(*FormGestConf, "BitBtnOuvrir"), Qt::LeftButton);
            EXPECT_EQ(Ordre(), (QStringList{"A", "B", "C", "D"}));
        }
        fichier = autre;
        QTest::mouseClick(ControleDe<QPushButton>(*FormGestConf, "BitBtnOuvrir"), Qt::LeftButton);
        EXPECT_EQ(ControleDe<TArbreDestinations>(*FormGestConf, "TreeView1")->topLevelItem(0)->childCount(),
                  3);
    });
    ASSERT_EQ(utilisateur.Erreurs.size(), 2);
    EXPECT_TRUE(utilisateur.Erreurs.front().contains(QStringLiteral("ligne 4")));
    EXPECT_TRUE(
        utilisateur.Erreurs.back().contains(QStringLiteral("nombre de destinations négatif à la ligne 1")));
    EXPECT_EQ(utilisateur.Avertissements.back(),
              QStringLiteral("Vous ne pouvez pas ouvrir le fichier de configuration par défaut."));
    EXPECT_EQ(Ordre(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(Titree("D")->Fonte.pointSize(), 8);
    EXPECT_EQ(Titree("C")->Groupe, Titree("B")->SousGroupe);
    EXPECT_TRUE(titres.contains(QStringLiteral("Enregistrer la configuration")));
    EXPECT_TRUE(titres.contains(QStringLiteral("Ouvrir une configuration")));
}

// Another configuration opened asks nothing: the open destinations close keeping their
// signatures, and the file's take their place.
TEST_F(GestConfTest, OuvrirNeDemandeRien) {
    Ouvre({Enregistrement("A", env.Dossier("A")), Enregistrement("B", env.Dossier("B"))});
    for (const char* titre : {"A", "B"}) {
        auto signature = std::make_shared<Tminiature>();
        signature->Fichier = Titree(titre)->Chemin + QStringLiteral("/x.jpg");
        Titree(titre)->AjouteSignature(signature, {});
    }
    const QString autre = env.Racine() + QStringLiteral("/autre.ini");
    ASSERT_TRUE(TexteFichier::Ecrit(autre, QStringList{QStringLiteral("DestinationCount=2")}
                                               << Enregistrement("C", env.Dossier("C"))
                                               << Enregistrement("D", env.Dossier("D"))));
    dialogues.Fichier = [&](const QString&, const QString&, bool) { return autre; };
    QStringList questions, stockes;
    utilisateur.Confirmation = [&](const QString& question) {
        questions << question;
        return ReponseConfirmation::Non;
    };
    // The main window's list is shown again from the source of the configuration opened.
    QListWidget* liste = ControleDe<QListWidget>(*MainForm, "ListBox1");
    liste->clear();
    Gere([] { QTest::mouseClick(ControleDe<QPushButton>(*FormGestConf, "BitBtnOuvrir"), Qt::LeftButton); });
    EXPECT_EQ(questions, QStringList());
    EXPECT_EQ(Ordre(), (QStringList{"C", "D"}));
    ASSERT_GT(Source()->Fichiers.Count(), 0);
    EXPECT_EQ(liste->count(), Source()->Fichiers.Count());
    for (const TDossierStocke& d :
         TMagasinSignatures(Config()->ContexteDestinations.DossierSignatures()).Inventaire())
        stockes << QStringLiteral("%1 %2").arg(d.Dossier.section(u'/', -1)).arg(d.Signatures);
    EXPECT_EQ(stockes, (QStringList{"B 1", "A 1"}));
}
