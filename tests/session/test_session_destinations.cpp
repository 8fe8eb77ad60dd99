#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/destinations/corbeille.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/miniature.h"
#include "core/session/session.h"
#include "environnement.h"
#include "questionstest.h"
#include "recherchesimulee.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

// Opening, closing, modifying destinations and adding a folder tree as operations of the session,
// with no window: what each returns, and what the list, the levels, the store and the disk hold.
namespace {

class SessionDestinationsTest : public testing::Test {
protected:
    void SetUp() override {
        session.CreeDonnees();
        session.DossierProgramme = env.Programme;
        signatures = env.Dossier(QStringLiteral("programme/Signatures"));
        env.Dossier(QStringLiteral("programme/Corbeille"));
        TContexteDestinations& contexte = Config().ContexteDestinations;
        contexte.DossierProgramme = env.Programme;
        contexte.Questions = Config().Questions = session.Questions = &utilisateur;
        auto corbeille = CreeCorbeille(&contexte);
        TDestination* trash = corbeille.get();
        Config().Destinations.Ajoute(TitreCorbeille, std::move(corbeille));
        Niveaux().Ajoute(*trash);
        utilisateur.Confirmation = [this](const QString& question) {
            questions << QFileInfo(question.section(u'\'', 1, 1)).fileName();
            return reponses.isEmpty() ? ReponseConfirmation::Non : reponses.takeFirst();
        };
    }
    ~SessionDestinationsTest() override {
        Config().ContexteDestinations.ReponseMemorisee = ReponseConfirmation::NonPourTous;
    }

    Tconfiguration& Config() { return *session.Configuration(); }
    TListeGroupe& Niveaux() { return *session.ListeGroupe(); }
    int Tuiles(int niveau) { return Niveaux().Groupe(niveau)->NbTuiles; }
    TDestination* D(int i) { return Config().Destinations.Element(i); }
    QString Dir(const char* relatif) const { return env.Dossier(QLatin1String(relatif)); }
    QStringList Titres() {
        QStringList titres;
        for (int i = 1; i < Config().Destinations.Count(); ++i)
            titres << D(i)->Titre;
        return titres;
    }
    // Read from a configuration file, as the start-up does: counted into the session's levels.
    void Lit(const QList<QStringList>& enregistrements) {
        QStringList lignes{QStringLiteral("DestinationCount=%1").arg(enregistrements.size())};
        for (const QStringList& e : enregistrements)
            lignes << e;
        const QString fichier = env.Racine() + QStringLiteral("/essai.ini");
        ASSERT_TRUE(TexteFichier::Ecrit(fichier, lignes));
        ASSERT_TRUE(Config().Lecture(fichier));
    }
    // A opens level 1 with B (opening 2 with D) and C; E at the top.
    void LitArbre() {
        Lit({Enregistrement("A", Dir("A"), 1, 0), Enregistrement("B", Dir("A/B"), 2, 1),
             Enregistrement("D", Dir("A/B/D"), -1, 2), Enregistrement("C", Dir("A/C"), -1, 1),
             Enregistrement("E", Dir("E"))});
    }
    static TProprietesDestination Proprietes(const QString& chemin, int mode = 2) {
        TProprietesDestination p;
        p.Chemin = chemin;
        p.Titre = QFileInfo(chemin).fileName();
        p.Fonte = QFont(QStringLiteral("Arial"), 8);
        p.RechercheLocale = mode != 2;
        p.RechercheGenerale = mode == 3;
        return p;
    }
    // The folders the store names: those whose store was kept as they closed.
    QStringList Magasin() const {
        QStringList index, dossiers;
        TexteFichier::Lit(signatures + QStringLiteral("/Index.txt"), index);
        for (qsizetype i = 0; i + 1 < index.size(); i += 2)
            dossiers << QFileInfo(index[i]).fileName();
        return dossiers;
    }

    EnvironnementTest env;
    TQuestionsTest utilisateur;
    TSession session;
    QString signatures;
    QStringList questions;
    QList<ReponseConfirmation> reponses;
};

TEST_F(SessionDestinationsTest, OuvrirPuisRefuserLeMemeDossierEtCeuxDuProgramme) {
    const QString vacances = Dir("Vacances");
    const TResultatOuverture ouverte = session.OuvreDestination(Proprietes(vacances, 1), 0);
    EXPECT_TRUE(ouverte.Ouverte && ouverte.Ouverte == D(1) && ouverte.Refus.isEmpty());
    EXPECT_EQ(Config().Destinations.Texte(1), QStringLiteral("Vacances"));
    EXPECT_EQ(Tuiles(0), 2);

    ASSERT_TRUE(QFile::link(vacances, env.Racine() + QStringLiteral("/lien")));
    for (const QString& meme :
         {vacances, env.Racine() + QStringLiteral("/lien"), QStringLiteral("/..") + vacances})
        EXPECT_EQ(session.OuvreDestination(Proprietes(meme), 0).Refus,
                  QStringLiteral("Le dossier existe déja"));
    const QString corbeille = env.Programme + QStringLiteral("/Corbeille");
    EXPECT_EQ(session.OuvreDestination(Proprietes(corbeille), 0).Refus,
              QStringLiteral("Le dossier « %1 » est celui du programme, de sa corbeille ou de "
                             "ses signatures : il ne peut pas être une destination.")
                  .arg(corbeille));
    EXPECT_EQ(Titres(), QStringList{"Vacances"});
    EXPECT_EQ(Tuiles(0), 2);
    // Refusals are returned for the window to tell, never told by the session itself.
    EXPECT_TRUE(utilisateur.Avertissements.isEmpty());
}

// The levels are the session's, wired to its configuration, which counts what it reads into them;
// made afresh, the top level alone, wired the same.
TEST_F(SessionDestinationsTest, OuvrirDansUnNiveauPuisNiveauxNeufs) {
    LitArbre();
    TDestination* nouvelle = session.OuvreDestination(Proprietes(Dir("Nouveau")), 1).Ouverte;
    ASSERT_NE(nouvelle, nullptr);
    EXPECT_EQ(nouvelle->Groupe, 1);
    EXPECT_EQ(Tuiles(1), 4);
    Niveaux().Courant = 1;
    TListeGroupe& neufs = session.NouveauxNiveaux();
    EXPECT_TRUE(&neufs == session.ListeGroupe() && Config().ListeGroupe == &neufs);
    EXPECT_TRUE(neufs.Destinations == &Config().Destinations && neufs.Groupes.size() == 1 &&
                neufs.Courant == 0);
}

TEST_F(SessionDestinationsTest, FermerUnSousArbreEnCedantLaPlaceALaRecherche) {
    LitArbre();
    auto* tache = new TRechercheSimulee(session.Occupe);
    tache->Libre = false; // running until the test lets it end
    session.TacheRecherche = tache;
    tache->start();
    ASSERT_TRUE(AttendQue([&] { return session.Occupe.load() == 1; }, 5000));
    // A with the levels below it, the level shown being one of them.
    Niveaux().Courant = 2;
    reponses = {ReponseConfirmation::Oui, ReponseConfirmation::Non, ReponseConfirmation::Oui,
                ReponseConfirmation::Non};
    const TResultatFermeture fermeture = session.FermeDestination(1);
    EXPECT_TRUE(tache->isInterruptionRequested());
    tache->Libre = true;
    session.AttendFinRecherche();
    delete tache;
    EXPECT_EQ(questions, (QStringList{"A", "C", "B", "D"}));
    EXPECT_EQ(fermeture.Fermees, (QStringList{Dir("A"), Dir("A/B"), Dir("A/B/D"), Dir("A/C")}));
    EXPECT_EQ(Titres(), QStringList{"E"});
    EXPECT_TRUE(Tuiles(0) == 2 && Niveaux().Courant == 0);
    EXPECT_EQ(Magasin(), (QStringList{"C", "D"}));
    EXPECT_EQ(session.Occupe.load(), 0);
}

TEST_F(SessionDestinationsTest, FermerToutAnnuleEnCheminPuisJusquAuBout) {
    Lit({Enregistrement("W", Dir("W")), Enregistrement("X", Dir("X")), Enregistrement("Y", Dir("Y")),
         Enregistrement("Z", Dir("Z"))});
    reponses = {ReponseConfirmation::Non, ReponseConfirmation::Annuler, ReponseConfirmation::ToutAnnuler};
    const TResultatFermeture annulee = session.FermeTout();
    EXPECT_TRUE(annulee.ToutAnnule);
    EXPECT_EQ(annulee.Fermees, QStringList{Dir("Z")});
    EXPECT_EQ(Titres(), (QStringList{"W", "X", "Y"}));
    EXPECT_EQ(Tuiles(0), 4);
    EXPECT_EQ(Magasin(), QStringList{"Z"});

    reponses = {ReponseConfirmation::NonPourTous};
    const TResultatFermeture toutes = session.FermeTout();
    EXPECT_FALSE(toutes.ToutAnnule);
    EXPECT_EQ(toutes.Fermees, (QStringList{Dir("W"), Dir("X"), Dir("Y")}));
    EXPECT_TRUE(Titres().isEmpty() && Tuiles(0) == 1);
    EXPECT_EQ(Magasin().size(), 4);
    EXPECT_EQ(session.Occupe.load(), 0);
}

TEST_F(SessionDestinationsTest, ModifierGardeLeDossierOuLeChange) {
    const QString vacances = Dir("Vacances"), famille = Dir("Famille"), ailleurs = Dir("Ailleurs");
    for (const char* f : {"Ailleurs/a1.jpg", "Ailleurs/a2.jpg"})
        EcritImage(env.Racine() + u'/' + QLatin1String(f));
    Lit({Enregistrement("Vacances", vacances), Enregistrement("Famille", famille)});
    TDestination* avant = D(1);
    for (TDestination* d : {D(1), D(2)}) {
        auto signature = std::make_shared<Tminiature>();
        signature->Fichier = d->Chemin + QStringLiteral("/1.jpg");
        d->AjouteSignature(signature, {});
    }

    // Its own folder through a link is still its folder: the same destination, retitled.
    ASSERT_TRUE(QFile::link(vacances, env.Racine() + QStringLiteral("/lien")));
    TProprietesDestination p = Proprietes(env.Racine() + QStringLiteral("/lien"), 1);
    p.Titre = QStringLiteral("Été");
    p.Fonte = QFont(QStringLiteral("Arial"), 20);
    TResultatModification m = session.ModifieDestination(1, p);
    EXPECT_TRUE(m.Modifiee && !m.DossierChange && m.Avertissement.isEmpty() && m.Destination == avant);
    EXPECT_EQ(avant->Chemin + avant->Titre, vacances + QStringLiteral("Été"));
    EXPECT_EQ(Config().Destinations.Texte(1), QStringLiteral("Vacances"));
    EXPECT_EQ(Niveaux().HauteurCourante(), HauteurAbsolue(p.Fonte));

    // Refused: another destination's folder, the program's; nothing changes.
    EXPECT_EQ(session.ModifieDestination(1, Proprietes(famille)).Refus,
              QStringLiteral("Le dossier existe déja"));
    EXPECT_TRUE(session.ModifieDestination(1, Proprietes(signatures)).Refus.contains("celui du programme"));
    EXPECT_FALSE(session.ModifieDestination(0, Proprietes(ailleurs)).Modifiee);
    // The store cannot be written: neither the old folder's store nor the GENERAL mark.
    ASSERT_TRUE(QDir().rename(signatures, signatures + QStringLiteral("-de-cote")));
    EcritFichier(QFile::encodeName(signatures), "x");
    m = session.ModifieDestination(1, Proprietes(ailleurs));
    EXPECT_FALSE(m.Modifiee);
    EXPECT_TRUE(m.Echec.startsWith(QStringLiteral("Les signatures du dossier « ") + vacances));
    m = session.ModifieDestination(2, Proprietes(famille, 3));
    EXPECT_TRUE(m.Modifiee);
    EXPECT_EQ(m.Avertissement, MessageMarqueComparaison({famille}));
    ASSERT_TRUE(QFile::remove(signatures) &&
                QDir().rename(signatures + QStringLiteral("-de-cote"), signatures));
    EXPECT_TRUE(D(1) == avant && avant->Chemin == vacances);

    // Moved: a new destination in its entry reads the new folder; the old store stays under the old.
    m = session.ModifieDestination(1, Proprietes(ailleurs));
    EXPECT_TRUE(m.Modifiee && m.DossierChange && m.Echec.isEmpty() && m.Refus.isEmpty());
    EXPECT_TRUE(m.Destination == D(1) && D(1)->Chemin == ailleurs);
    EXPECT_EQ(QSet<QString>(D(1)->ATraiter.begin(), D(1)->ATraiter.end()),
              (QSet<QString>{ailleurs + QStringLiteral("/a1.jpg"), ailleurs + QStringLiteral("/a2.jpg")}));
    EXPECT_TRUE(Magasin().contains(QStringLiteral("Vacances")));
    EXPECT_EQ(session.Occupe.load(), 0);
}

TEST_F(SessionDestinationsTest, AjouterUneArborescenceEnNiveauxPuisAPlat) {
    // A holding B (holding D) and C, and a link to the program's folder, which is never added.
    const QString a = Dir("A");
    for (const char* d : {"A/B/D", "A/C", "F/G/H"})
        Dir(d);
    ASSERT_TRUE(QFile::link(env.Programme, a + QStringLiteral("/programme")));
    QStringList proposes;
    const auto commeProposee = [&](const QString& dossier,
                                   int mode) -> std::optional<TProprietesDestination> {
        proposes << QStringLiteral("%1:%2").arg(QFileInfo(dossier).fileName()).arg(mode);
        if (QFileInfo(dossier).fileName() == QStringLiteral("G")) return std::nullopt;
        return Proprietes(dossier, mode);
    };
    TOptionsArborescence niveaux;
    niveaux.Mode = 3;
    const QList<TDestination*> arbre = session.AjouteArborescence(a, niveaux, commeProposee).Ouvertes;
    ASSERT_EQ(arbre.size(), 4);
    EXPECT_EQ(QSet<QString>(proposes.begin(), proposes.end()), (QSet<QString>{"A:3", "B:3", "C:3", "D:3"}));
    QMap<QString, TDestination*> t;
    for (TDestination* d : arbre)
        t[d->Titre] = d;
    ASSERT_EQ(t.keys(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_TRUE(arbre[0] == t["A"] && t["A"] == D(1) && t["D"]->RechercheGenerale);
    EXPECT_EQ((QList<int>{t["B"]->Groupe, t["C"]->Groupe, t["D"]->Groupe, t["C"]->SousGroupe}),
              (QList<int>{t["A"]->SousGroupe, t["A"]->SousGroupe, t["B"]->SousGroupe, -1}));
    EXPECT_EQ((QList<int>{Tuiles(0), Tuiles(t["A"]->SousGroupe), Tuiles(t["B"]->SousGroupe)}),
              (QList<int>{2, 3, 2}));

    // Flat: every folder at the top, G left out by the callback but H, below it, added; the folders
    // already open are not opened again.
    TOptionsArborescence aPlat;
    aPlat.EnNiveaux = false;
    EXPECT_TRUE(session.AjouteArborescence(a, aPlat, commeProposee).Ouvertes.isEmpty());
    const QList<TDestination*> plat = session.AjouteArborescence(Dir("F"), aPlat, commeProposee).Ouvertes;
    ASSERT_EQ(plat.size(), 2);
    EXPECT_EQ(plat[0]->Titre + plat[1]->Titre, QStringLiteral("FH"));
    EXPECT_TRUE(plat[0]->Groupe == 0 && plat[1]->Groupe == 0 && plat[0]->SousGroupe == -1);
    EXPECT_EQ(Config().Destinations.Count(), 7);
    EXPECT_EQ(Tuiles(0), 4);
}

} // namespace
