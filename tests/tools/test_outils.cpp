#include "controles.h"
#include "core/tools/arborescence.h"
#include "dialoguestest.h"
#include "environnement.h"
#include "questionstest.h"
#include "ui/app/selecteurdossier.h"
#include "ui/tools/nouvdest.h"
#include "ui/tools/recursif.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

int Largeur(const QLabel* label, const QString& texte) {
    return QFontMetrics(label->font()).horizontalAdvance(texte);
}

// Every caption of the group is shown whole, inside the group and the window.
bool TextesVisibles(const QGroupBox* groupe) {
    const QWidget* fenetre = groupe->window();
    if (groupe->geometry().right() >= fenetre->width()) return false;
    for (const QWidget* controle : groupe->findChildren<QWidget*>())
        if ((qobject_cast<const QAbstractButton*>(controle) || qobject_cast<const QLabel*>(controle)) &&
            controle->isVisibleTo(fenetre) && controle->x() + controle->sizeHint().width() > groupe->width())
            return false;
    return true;
}

} // namespace

TEST(FormNouvDest, CheminLongRaccourci) {
    TFormNouvDest dialogue;
    dialogue.AffichePath(QStringLiteral("/home/photos"));
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label2")->text(), QStringLiteral("/home/photos"));
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label2")->width(),
              Largeur(ControleDe<QLabel>(dialogue, "Label2"), QStringLiteral("/home/photos")));

    QString longChemin = QStringLiteral("/mn");
    for (int i = 0; i < 40; ++i)
        longChemin += QStringLiteral("/dossier%1").arg(i);
    for (int taille : {8, 14}) {
        QFont police = ControleDe<QLabel>(dialogue, "Label2")->font();
        police.setPointSize(taille);
        ControleDe<QLabel>(dialogue, "Label2")->setFont(police);
        dialogue.AffichePath(longChemin);
        const QString montre = ControleDe<QLabel>(dialogue, "Label2")->text();
        ASSERT_TRUE(montre.startsWith(QStringLiteral("/mn..."))) << taille;
        const QString fin = montre.mid(6);
        EXPECT_TRUE(longChemin.endsWith(fin));
        // The longest end that, after the first three characters alone, stays under 291 pixels.
        EXPECT_LT(Largeur(ControleDe<QLabel>(dialogue, "Label2"), QStringLiteral("/mn") + fin), 291);
        EXPECT_GE(Largeur(ControleDe<QLabel>(dialogue, "Label2"),
                          QStringLiteral("/mn") + longChemin.right(fin.size() + 1)),
                  291);
    }
    // Nothing left to cut but the three first characters: no endless loop.
    QFont immense = ControleDe<QLabel>(dialogue, "Label2")->font();
    immense.setPixelSize(200);
    ControleDe<QLabel>(dialogue, "Label2")->setFont(immense);
    dialogue.AffichePath(QStringLiteral("/abcdef"));
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label2")->text(), QStringLiteral("/ab..."));
}

TEST(FormNouvDest, ParcourirRemplitUnTitreVideSeulement) {
    EnvironnementTest env;
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    TFormNouvDest dialogue;
    TDialoguesTest dialogues;
    dialogue.Dialogues = &dialogues;
    QString depart;
    QString choisi = vacances + u'/';
    dialogues.Dossier = [&](const QString& d) {
        depart = d;
        return choisi;
    };
    ControleDe<QLabel>(dialogue, "Label1")->setText(QStringLiteral("/départ"));
    ControleDe<QPushButton>(dialogue, "BitBtn1")->click();
    EXPECT_EQ(depart, QStringLiteral("/départ"));
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label1")->text(), vacances);
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->text(), QStringLiteral("Vacances"));

    ControleDe<QLineEdit>(dialogue, "EditTitre")->setText(QStringLiteral("Mon titre"));
    choisi = env.Dossier(QStringLiteral("Autre"));
    ControleDe<QPushButton>(dialogue, "BitBtn1")->click();
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label1")->text(), choisi);
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->text(), QStringLiteral("Mon titre"));

    // Cancelled: nothing changes.
    const QString avant = ControleDe<QLabel>(dialogue, "Label2")->text();
    choisi.clear();
    ControleDe<QPushButton>(dialogue, "BitBtn1")->click();
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label1")->text(), env.Dossier(QStringLiteral("Autre")));
    EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label2")->text(), avant);
}

TEST(FormNouvDest, TitreReserveEtCasesDeRecherche) {
    TFormNouvDest dialogue;
    ControleDe<QLineEdit>(dialogue, "EditTitre")->setText(QStringLiteral("Corbeille"));
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->text(), QStringLiteral("Corbeille "));
    ControleDe<QLineEdit>(dialogue, "EditTitre")->setText(QStringLiteral("Corbeilles"));
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->text(), QStringLiteral("Corbeilles"));

    ControleDe<QCheckBox>(dialogue, "CheckBox1")->setChecked(false);
    ControleDe<QCheckBox>(dialogue, "CheckBox2")->click();
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isChecked());
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled());
    EXPECT_FALSE(ControleDe<QLabel>(dialogue, "Label3")->isEnabled());
    ControleDe<QCheckBox>(dialogue, "CheckBox2")->click();
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isChecked());
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled());
    EXPECT_TRUE(ControleDe<QLabel>(dialogue, "Label3")->isEnabled());
}

TEST(FormNouvDest, FonteChoisieOuAnnulee) {
    TFormNouvDest dialogue;
    TDialoguesTest dialogues;
    dialogue.Dialogues = &dialogues;
    QFont proposee;
    bool confirme = false;
    dialogues.Fonte = [&](QFont& police) {
        proposee = police;
        police = QFont(QStringLiteral("Arial"), 14);
        police.setBold(true);
        return confirme;
    };
    const QFont avant = ControleDe<QLineEdit>(dialogue, "EditTitre")->font();
    ControleDe<QToolButton>(dialogue, "BitBtnFonte")->click();
    EXPECT_EQ(proposee, avant);
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->font(), avant);
    confirme = true;
    ControleDe<QToolButton>(dialogue, "BitBtnFonte")->click();
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->font().pointSize(), 14);
    EXPECT_TRUE(ControleDe<QLineEdit>(dialogue, "EditTitre")->font().bold());
}

TEST(FormNouvDest, FenetreEtCommandes) {
    TFormNouvDest dialogue;
    EXPECT_EQ(dialogue.windowTitle(), QStringLiteral("Création d'une nouvelle destination"));
    EXPECT_EQ(dialogue.height(), 297);
    EXPECT_GE(dialogue.width(), 318);
    EXPECT_TRUE(TextesVisibles(ControleDe<QGroupBox>(dialogue, "GroupBox3")));
    EXPECT_EQ(ControleDe<QLineEdit>(dialogue, "EditTitre")->size(), QSize(193, 65));
    EXPECT_FALSE(ControleDe<QLabel>(dialogue, "Label1")->isVisibleTo(&dialogue));
    EXPECT_TRUE(ControleDe<QPushButton>(dialogue, "BitBtn3")->isDefault());
    QTimer::singleShot(0, ControleDe<QPushButton>(dialogue, "BitBtn3"), &QPushButton::click);
    EXPECT_EQ(dialogue.exec(), QDialog::Accepted);
    QTimer::singleShot(0, ControleDe<QPushButton>(dialogue, "BitBtn2"), &QPushButton::click);
    EXPECT_EQ(dialogue.exec(), QDialog::Rejected);
}

TEST(SelecteurDossier, UnNouveauDossierEstCreeApresAccord) {
    EnvironnementTest env;
    const QString parent = env.Dossier(QStringLiteral("Parent"));
    for (const bool accord : {false, true}) {
        TSelecteurDossier selecteur(nullptr, parent);
        TQuestionsTest utilisateur;
        selecteur.Questions = &utilisateur;
        QStringList questions;
        utilisateur.OuiNon = [&](const QString& question) {
            questions << question;
            return accord;
        };
        auto* nom = selecteur.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(nom, nullptr);
        nom->setText(QStringLiteral("Nouveau"));
        // The name of a folder still to be made can be chosen with the mouse too.
        auto* boutons = selecteur.findChild<QDialogButtonBox*>();
        ASSERT_NE(boutons, nullptr);
        EXPECT_TRUE(boutons->button(QDialogButtonBox::Open)->isEnabled());
        selecteur.accept();
        EXPECT_EQ(questions.size(), 1);
        EXPECT_EQ(QFileInfo(parent + QStringLiteral("/Nouveau")).isDir(), accord);
        EXPECT_EQ(selecteur.result(), accord ? QDialog::Accepted : QDialog::Rejected);
        if (accord) {
            EXPECT_EQ(selecteur.selectedFiles(), QStringList{parent + QStringLiteral("/Nouveau")});
        }
    }
}

TEST(SelecteurDossier, CreationImpossibleSignalee) {
    EnvironnementTest env;
    const QString parent = env.Dossier(QStringLiteral("Parent"));
    // A file stands where the new folder's parent should be.
    EcritFichier(QFile::encodeName(parent + QStringLiteral("/bloque")), "x");
    TSelecteurDossier selecteur(nullptr, parent);
    TQuestionsTest utilisateur;
    utilisateur.OuiNon = [](const QString&) { return true; };
    selecteur.Questions = &utilisateur;
    const QStringList& messages = utilisateur.Avertissements;
    selecteur.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QStringLiteral("bloque/Interdit"));
    selecteur.accept();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().startsWith(QStringLiteral("Impossible de créer le dossier")));
    EXPECT_NE(selecteur.result(), QDialog::Accepted);
}

TEST(SelecteurDossier, EnFrancaisQuelleQueSoitLaLangueDuSysteme) {
    EnvironnementTest env;
    const QString parent = env.Dossier(QStringLiteral("Parent/Enfant"));
    TSelecteurDossier selecteur(nullptr, env.Racine() + QStringLiteral("/Parent"));
    selecteur.setViewMode(QFileDialog::Detail);
    auto* vue = selecteur.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(vue, nullptr);
    const QAbstractItemModel* modele = vue->model();
    ASSERT_TRUE(AttendQue([&] { return modele->rowCount(vue->rootIndex()) == 1; }, 3000));
    const QModelIndex enfant = modele->index(0, 0, vue->rootIndex());
    EXPECT_EQ(enfant.data().toString(), QStringLiteral("Enfant"));
    EXPECT_EQ(modele->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nom"));
    EXPECT_EQ(modele->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Dernière modification"));
    EXPECT_EQ(enfant.siblingAtColumn(2).data().toString(), QStringLiteral("Dossier"));
    const QDateTime date = QFileInfo(parent).lastModified();
    EXPECT_EQ(enfant.siblingAtColumn(3).data().toString(), date.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

TEST(FormRecurs, EtatInitialEtReglesDActivation) {
    TFormRecurs dialogue;
    EXPECT_EQ(dialogue.height(), 393);
    EXPECT_GE(dialogue.width(), 346);
    EXPECT_TRUE(TextesVisibles(ControleDe<QGroupBox>(dialogue, "GroupBox1")));
    EXPECT_TRUE(ControleDe<QRadioButton>(dialogue, "CheckBox5")->isChecked());
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isChecked());
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled());
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox2")->isChecked());
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isChecked());
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox4")->isChecked());
    EXPECT_EQ(dialogue.Dossier(), QDir::homePath());

    // List mode enables the image filter and keeps its state; tree mode clears it.
    ControleDe<QRadioButton>(dialogue, "RadioButton1")->click();
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled());
    ControleDe<QCheckBox>(dialogue, "CheckBox1")->click();
    ControleDe<QRadioButton>(dialogue, "CheckBox5")->click();
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled());
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isChecked());

    // GENERAL includes LOCAL.
    ControleDe<QCheckBox>(dialogue, "CheckBox4")->click();
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isEnabled());
    EXPECT_TRUE(ControleDe<QLabel>(dialogue, "Label3")->isEnabled());
    ControleDe<QCheckBox>(dialogue, "CheckBox3")->click();
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isChecked());
    ControleDe<QCheckBox>(dialogue, "CheckBox4")->click();
    EXPECT_TRUE(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isChecked());
    EXPECT_FALSE(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isEnabled());
}

TEST(FormRecurs, LeDossierChoisiDansLaListe) {
    EnvironnementTest env;
    const QString dossier = env.Dossier(QStringLiteral("Photos/Été"));
    TFormRecurs dialogue;
    dialogue.ChoisitDossier(dossier + u'/');
    EXPECT_EQ(dialogue.Dossier(), dossier);
    dialogue.show();
    EXPECT_EQ(dialogue.Dossier(), dossier);
    ASSERT_TRUE(ControleDe<QTreeView>(dialogue, "DirectoryListBox1")->currentIndex().isValid());
    EXPECT_EQ(ControleDe<QTreeView>(dialogue, "DirectoryListBox1")->currentIndex().data().toString(),
              QStringLiteral("Été"));
    EXPECT_GT(ControleDe<QComboBox>(dialogue, "DriveComboBox1")->count(), 0);
    dialogue.hide();
}

TEST(LitDossier, SousDossiersVisiblesEtImages) {
    EnvironnementTest env;
    const QString racine = env.Dossier(QStringLiteral("Racine"));
    env.Dossier(QStringLiteral("Racine/Un"));
    env.Dossier(QStringLiteral("Racine/.cache"));
    EcritFichier(QFile::encodeName(racine + QStringLiteral("/note.txt")), "x");
    ASSERT_TRUE(QFile::link(env.Dossier(QStringLiteral("Ailleurs")), racine + QStringLiteral("/lien")));
    ASSERT_TRUE(QFile::link(racine + QStringLiteral("/note.txt"), racine + QStringLiteral("/lienfichier")));

    TContenuDossier contenu = LitDossier(racine);
    contenu.SousDossiers.sort();
    EXPECT_EQ(contenu.SousDossiers,
              (QStringList{racine + QStringLiteral("/Un"), racine + QStringLiteral("/lien")}));
    EXPECT_FALSE(contenu.ContientImages);

    // Any entry named like an image counts, whatever its case.
    EcritFichier(QFile::encodeName(racine + QStringLiteral("/photo.JPEG")), "pas une image");
    EXPECT_TRUE(LitDossier(racine).ContientImages);

    const TContenuDossier absent = LitDossier(racine + QStringLiteral("/absent"));
    EXPECT_TRUE(absent.SousDossiers.isEmpty());
    EXPECT_FALSE(absent.ContientImages);
}

TEST(LitDossier, ChaqueDossierVuUneFois) {
    EnvironnementTest env;
    const QString a = env.Dossier(QStringLiteral("A"));
    ASSERT_TRUE(QFile::link(a, env.Racine() + QStringLiteral("/versA")));
    TDossiersVus vus;
    EXPECT_TRUE(vus.PremiereVisite(a));
    EXPECT_FALSE(vus.PremiereVisite(a + u'/'));
    EXPECT_FALSE(vus.PremiereVisite(env.Racine() + QStringLiteral("/versA")));
    EXPECT_TRUE(vus.PremiereVisite(env.Racine()));
    EXPECT_FALSE(vus.PremiereVisite(env.Racine() + QStringLiteral("/absent")));
}

TEST(FormNouvDest, PresentePuisProprietesRendCeQuiEstDonne) {
    TFormNouvDest dialogue;
    QFont grasse(QStringLiteral("Arial"), 14);
    grasse.setBold(true);
    struct Cas {
        bool locale, generale;
    } cas[] = {{false, false}, {true, false}, {true, true}, {false, false}};
    for (const Cas& c : cas) {
        TProprietesDestination donnees;
        donnees.Chemin = QStringLiteral("/photos/Été %1%2").arg(c.locale).arg(c.generale);
        donnees.Titre = QStringLiteral("Titre %1%2").arg(c.locale).arg(c.generale);
        donnees.Fonte = c.generale ? grasse : QFont(QStringLiteral("Serif"), 9);
        donnees.Charset = c.generale ? 0 : 238;
        donnees.Couleur = c.locale ? 0x0000FF : -2147483633;
        donnees.RechercheLocale = c.locale;
        donnees.RechercheGenerale = c.generale;
        dialogue.Presente(donnees);
        const TProprietesDestination rendues = dialogue.Proprietes();
        EXPECT_EQ(rendues.Chemin, donnees.Chemin);
        EXPECT_EQ(rendues.Titre, donnees.Titre);
        EXPECT_EQ(rendues.Fonte.family(), donnees.Fonte.family());
        EXPECT_EQ(rendues.Fonte.pointSize(), donnees.Fonte.pointSize());
        EXPECT_EQ(rendues.Fonte.bold(), donnees.Fonte.bold());
        EXPECT_EQ(rendues.Charset, donnees.Charset);
        EXPECT_EQ(rendues.Couleur, donnees.Couleur);
        EXPECT_EQ(rendues.RechercheLocale, c.locale);
        EXPECT_EQ(rendues.RechercheGenerale, c.generale);
        // The path is shown, the LOCAL search can be changed only without the GENERAL one.
        EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label2")->text(), donnees.Chemin);
        EXPECT_EQ(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled(), !c.generale);
    }

    // A folder given with a trailing separator comes back without it; the reserved title is
    // still kept apart.
    TProprietesDestination corbeille;
    corbeille.Chemin = QStringLiteral("/photos/Corbeille/");
    corbeille.Titre = QStringLiteral("Corbeille");
    dialogue.Presente(corbeille);
    EXPECT_EQ(dialogue.Proprietes().Chemin, QStringLiteral("/photos/Corbeille"));
    EXPECT_EQ(dialogue.Proprietes().Titre, QStringLiteral("Corbeille "));

    // A new destination starts from an empty title and everything else as left.
    dialogue.PresenteAjout();
    const TProprietesDestination ajout = dialogue.Proprietes();
    EXPECT_TRUE(ajout.Titre.isEmpty());
    EXPECT_EQ(ajout.Chemin, QStringLiteral("/photos/Corbeille"));
    EXPECT_EQ(ajout.Charset, 1);
}

TEST(FormRecurs, PresentePuisChoixRendCeQuiEstDonne) {
    QList<TChoixArborescence> tous;
    for (const bool niveaux : {true, false})
        for (const bool images : {false, true})
            for (const int mode : {1, 2, 3})
                for (const bool sansValidation : {true, false}) {
                    TChoixArborescence choix;
                    choix.Options.EnNiveaux = niveaux;
                    choix.Options.SeulementAvecImages = images;
                    choix.Options.Mode = mode;
                    choix.SansValidation = sansValidation;
                    tous << choix;
                }
    TFormRecurs dialogue;
    // Every choice, whatever the one shown before it: the order in which the controls react to
    // each other never leaves a value from before.
    for (const TChoixArborescence& avant : tous)
        for (const TChoixArborescence& donne : tous) {
            dialogue.Presente(avant);
            dialogue.Presente(donne);
            const TChoixArborescence rendu = dialogue.Choix();
            const std::string cas = QStringLiteral("%1%2%3%4")
                                        .arg(donne.Options.EnNiveaux)
                                        .arg(donne.Options.SeulementAvecImages)
                                        .arg(donne.Options.Mode)
                                        .arg(donne.SansValidation)
                                        .toStdString();
            EXPECT_EQ(rendu.Options.EnNiveaux, donne.Options.EnNiveaux) << cas;
            // Folders without images are left out only from a plain list.
            EXPECT_EQ(rendu.Options.SeulementAvecImages,
                      donne.Options.SeulementAvecImages && !donne.Options.EnNiveaux)
                << cas;
            EXPECT_EQ(rendu.Options.Mode, donne.Options.Mode) << cas;
            EXPECT_EQ(rendu.SansValidation, donne.SansValidation) << cas;
            EXPECT_EQ(ControleDe<QCheckBox>(dialogue, "CheckBox1")->isEnabled(), !donne.Options.EnNiveaux)
                << cas;
            EXPECT_EQ(ControleDe<QCheckBox>(dialogue, "CheckBox3")->isEnabled(), donne.Options.Mode != 3)
                << cas;
            EXPECT_EQ(ControleDe<QLabel>(dialogue, "Label3")->isEnabled(), donne.Options.Mode != 3) << cas;
        }
}
