#include "core/app/attente.h"
#include "core/app/textefichier.h"
#include "core/destinations/destination.h"
#include "core/tools/renommage.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <set>

namespace {

class TAttenteComptee : public IAttente {
public:
    QString Texte;
    int Maximum = -1, Pas = 0;
    void Prepare(const QString& texte, int maximum) override {
        Texte = texte;
        Maximum = maximum;
    }
    void Avance() override { ++Pas; }
    void Cache() override {}
};

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("absent");
}

class RenommageTest : public testing::Test {
protected:
    RenommageTest() {
        contexte.DossierProgramme = env.Programme;
        QDir().mkpath(contexte.DossierSignatures());
        dossier = env.Dossier(QStringLiteral("Vacances"));
        destinations.Ajoute(TitreCorbeille, std::make_shared<TDestination>());
    }
    // A destination over the folder with these lists, its files holding their own names.
    std::shared_ptr<TDestination> Destination(const QStringList& signees, const QStringList& enAttente = {},
                                              const QStringList& illisibles = {}) {
        auto d = std::make_shared<TDestination>(&contexte);
        d->Charge(dossier, QStringLiteral("Vacances"));
        d->ATraiter.clear();
        for (const QString& nom : signees + enAttente + illisibles)
            EcritFichier(QFile::encodeName(Chemin(nom)), nom.toUtf8());
        for (const QString& nom : signees) {
            auto s = std::make_shared<Tminiature>();
            s->Fichier = Chemin(nom);
            d->AjouteSignature(s, {});
        }
        for (const QString& nom : enAttente)
            d->ATraiter << Chemin(nom);
        for (const QString& nom : illisibles)
            d->ListeSignatures->Intraitables << Chemin(nom);
        destinations.Ajoute(d->Titre, d);
        return d;
    }
    QString Chemin(const QString& nom) const { return dossier + u'/' + nom; }
    QStringList Noms() const { return QDir(dossier).entryList(QDir::Files, QDir::Name); }
    QString Journal() const { return env.Programme + QStringLiteral("/Renommage.txt"); }

    EnvironnementTest env;
    TContexteDestinations contexte;
    TListeDestinations destinations;
    QString dossier;
};

} // namespace

TEST_F(RenommageTest, DouzeFichiersDansLOrdreDesListesEtLesPaires) {
    auto d = Destination({"s1.jpg", "s2.JPG", "s3.jpeg", "s4.gif", "s5.Bmp"},
                         {"a1.jpg", "a2.jpg", "a3", "a4.jpg", "a5.jpg"}, {"e1.jpg", "e2.jpg"});
    // A pair inside the destination, and one with another destination.
    d->Doublons << QStringLiteral("0000000001*%1*%2*").arg(Chemin("s2.JPG"), Chemin("s1.jpg"));
    auto autre = std::make_shared<TDestination>();
    autre->Chemin = env.Dossier(QStringLiteral("Autre"));
    autre->Doublons << QStringLiteral("0000000002*/autre/x.jpg*%1*").arg(Chemin("s3.jpeg"));
    destinations.Ajoute(QStringLiteral("Autre"), autre);
    TAttenteComptee attente;
    const TResultatRenommage resultat =
        RenommeFichiers(*d, QStringLiteral("Ete"), destinations, &attente, Journal());
    EXPECT_EQ(resultat.Fichiers, 12);
    EXPECT_TRUE(resultat.Echecs.isEmpty());
    EXPECT_EQ(attente.Texte, QStringLiteral("Renommage des fichiers"));
    EXPECT_EQ(attente.Maximum, 24);
    EXPECT_EQ(attente.Pas, 24);
    EXPECT_EQ(Noms(),
              (QStringList{"Ete00.jpg", "Ete01.JPG", "Ete02.jpeg", "Ete03.gif", "Ete04.Bmp", "Ete05.jpg",
                           "Ete06.jpg", "Ete07", "Ete08.jpg", "Ete09.jpg", "Ete10.jpg", "Ete11.jpg"}));
    EXPECT_EQ(Contenu(Chemin("Ete07")), "a3");
    EXPECT_EQ(Contenu(Chemin("Ete11.jpg")), "e2.jpg");
    EXPECT_EQ(d->CopieSignatures()[1]->Fichier, Chemin("Ete01.JPG"));
    EXPECT_EQ(d->ATraiter.front(), Chemin("Ete05.jpg"));
    EXPECT_EQ(d->ListeSignatures->Intraitables.back(), Chemin("Ete11.jpg"));
    EXPECT_EQ(d->CopieDoublons(),
              QStringList{QStringLiteral("0000000001*%1*%2*").arg(Chemin("Ete01.JPG"), Chemin("Ete00.jpg"))});
    EXPECT_EQ(autre->CopieDoublons(),
              QStringList{QStringLiteral("0000000002*/autre/x.jpg*%1*").arg(Chemin("Ete02.jpeg"))});
    EXPECT_FALSE(QFile::exists(Journal()));
    // The store already holds the new names.
    TListeDoublons relue(dossier);
    QStringList lignes;
    TMagasinSignatures(contexte.DossierSignatures()).Charge(dossier, relue, lignes);
    EXPECT_EQ(relue.Miniatures.size(), 5u);
    EXPECT_EQ(lignes, d->CopieDoublons());
}

TEST_F(RenommageTest, DejaNommesDansUnAutreOrdreEtBaseVide) {
    auto d = Destination({"Ete03.jpg", "Ete00.jpg", "Ete04.jpg", "Ete01.jpg", "Ete02.jpg"});
    EXPECT_TRUE(
        RenommeFichiers(*d, QStringLiteral("Ete"), destinations, nullptr, Journal()).Echecs.isEmpty());
    EXPECT_EQ(Contenu(Chemin("Ete0.jpg")), "Ete03.jpg");
    EXPECT_EQ(Contenu(Chemin("Ete4.jpg")), "Ete02.jpg");
    EXPECT_EQ(Noms().size(), 5);
    // An empty base: the number and the extension.
    EXPECT_TRUE(RenommeFichiers(*d, QString(), destinations, nullptr, Journal()).Echecs.isEmpty());
    EXPECT_EQ(Noms(), (QStringList{"0.jpg", "1.jpg", "2.jpg", "3.jpg", "4.jpg"}));
}

// A folder whose name is not UTF-8: its files take their new names in that very folder, whose
// text does not give its bytes back.
TEST_F(RenommageTest, DossierDontLeNomNEstPasDuTexte) {
    const QByteArray latin1 = QFile::encodeName(env.Racine()) + "/\xE9t\xE9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0755), 0);
    EcritFichier(latin1 + "/a.jpg", "a");
    EcritFichier(latin1 + "/b.jpg", "b");
    auto d = std::make_shared<TDestination>(&contexte);
    d->Charge(QFile::decodeName(latin1), QStringLiteral("Latin"), latin1);
    destinations.Ajoute(d->Titre, d);
    const TResultatRenommage fait =
        RenommeFichiers(*d, QStringLiteral("Ete"), destinations, nullptr, Journal());
    EXPECT_TRUE(fait.Echecs.isEmpty()) << fait.Echecs.join(u'\n').toStdString();
    const auto lu = [](const QByteArray& chemin) {
        std::ifstream f(chemin.constData());
        return std::string(std::istreambuf_iterator<char>(f), {});
    };
    std::set<std::string> contenus{lu(latin1 + "/Ete0.jpg"), lu(latin1 + "/Ete1.jpg")};
    EXPECT_EQ(contenus, (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(lu(latin1 + "/a.jpg") + lu(latin1 + "/b.jpg"), "");
}

// The journal of a renaming cut off and not yet undone is never written over by another renaming.
TEST_F(RenommageTest, UnJournalEnAttenteNEstPasRemplace) {
    auto d = Destination({"a.jpg"});
    EcritFichier(QFile::encodeName(Journal()), "[Renommage]\r\n");
    const TResultatRenommage fait =
        RenommeFichiers(*d, QStringLiteral("X"), destinations, nullptr, Journal());
    ASSERT_EQ(fait.Echecs.size(), 1);
    EXPECT_TRUE(fait.Echecs[0].contains(QStringLiteral("aucun fichier n'a été renommé")));
    EXPECT_EQ(Noms(), QStringList{"a.jpg"});
    EXPECT_EQ(Contenu(Journal()), "[Renommage]\r\n");
}

TEST_F(RenommageTest, FichierAbsentEtNomPrisHorsDesListes) {
    auto d = Destination({"a.jpg", "b.jpg", "c.jpg"});
    ASSERT_TRUE(QFile::remove(Chemin("b.jpg")));
    EcritFichier(QFile::encodeName(Chemin("X2.jpg")), "hors des listes");
    const TResultatRenommage resultat =
        RenommeFichiers(*d, QStringLiteral("X"), destinations, nullptr, Journal());
    ASSERT_EQ(resultat.Echecs.size(), 2);
    EXPECT_TRUE(resultat.Echecs[0].contains(Chemin("b.jpg")));
    EXPECT_TRUE(resultat.Echecs[1].contains(Chemin("c.jpg")));
    // Nothing replaced, nothing left under a temporary name, every entry naming its file.
    EXPECT_EQ(Contenu(Chemin("X2.jpg")), "hors des listes");
    EXPECT_EQ(Noms(), (QStringList{"X0.jpg", "X2.jpg", "c.jpg"}));
    QStringList fichiers;
    for (const auto& s : d->CopieSignatures())
        fichiers << QFileInfo(s->Fichier).fileName();
    fichiers.sort();
    EXPECT_EQ(fichiers, (QStringList{"X0.jpg", "b.jpg", "c.jpg"}));

    // No journal can be written: nothing moves.
    const TResultatRenommage sansJournal = RenommeFichiers(*d, QStringLiteral("Y"), destinations, nullptr,
                                                           env.Racine() + QStringLiteral("/absent/j.txt"));
    ASSERT_EQ(sansJournal.Echecs.size(), 1);
    EXPECT_EQ(Noms(), (QStringList{"X0.jpg", "X2.jpg", "c.jpg"}));

    // A destination without files: nothing, the wait window shown and hidden by the caller.
    auto vide = std::make_shared<TDestination>(&contexte);
    vide->Charge(env.Dossier(QStringLiteral("Vide")), QStringLiteral("Vide"));
    TAttenteComptee attente;
    EXPECT_EQ(RenommeFichiers(*vide, QStringLiteral("X"), destinations, &attente, Journal()).Fichiers, 0);
    EXPECT_EQ(attente.Maximum, 0);
}

// Cut off between the passes (or in the second): at the next start every file goes back to the
// name the store knows, and the journal goes.
TEST_F(RenommageTest, RenommageInterrompuDefait) {
    EcritFichier(QFile::encodeName(Chemin("zmxcksjf0.jpg")), "a");
    EcritFichier(QFile::encodeName(Chemin("Ete1.jpg")), "b");
    EcritFichier(QFile::encodeName(Chemin("zmxcksjf2.jpg")), "c");
    ASSERT_TRUE(TexteFichier::Ecrit(
        Journal(),
        {QString::fromLatin1(QFile::encodeName(Chemin("a.jpg")).toPercentEncoding()), Chemin("zmxcksjf0.jpg"),
         Chemin("Ete0.jpg"), QString::fromLatin1(QFile::encodeName(Chemin("b.jpg")).toPercentEncoding()),
         Chemin("zmxcksjf1.jpg"), Chemin("Ete1.jpg"),
         QString::fromLatin1(QFile::encodeName(Chemin("c.jpg")).toPercentEncoding()), Chemin("zmxcksjf2.jpg"),
         Chemin("Ete2.jpg")}));
    EXPECT_TRUE(ReprendRenommageInterrompu(Journal()).isEmpty());
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(Contenu(Chemin("b.jpg")), "b");
    EXPECT_EQ(Contenu(Chemin("c.jpg")), "c");
    EXPECT_FALSE(QFile::exists(Journal()));
    EXPECT_TRUE(ReprendRenommageInterrompu(Journal()).isEmpty());
}

// The journal notes each rename before it is made; the undo takes them from the last one back,
// the last one included, and a move cut off between its link and its unlink keeps its source.
TEST_F(RenommageTest, JournalDefaitJusquASaDerniereLigne) {
    const auto note = [this](const char* de, const char* vers) {
        return QFile::encodeName(Chemin(QString::fromLatin1(de))).toPercentEncoding() + ' ' +
               QFile::encodeName(Chemin(QString::fromLatin1(vers))).toPercentEncoding() + "\r\n";
    };
    // a and b went to their temporary names, b then took a's old name, c was noted but not moved.
    EcritFichier(QFile::encodeName(Chemin("zmxcksjf0.jpg")), "a");
    EcritFichier(QFile::encodeName(Chemin("a.jpg")), "b");
    EcritFichier(QFile::encodeName(Chemin("c.jpg")), "c");
    EcritFichier(QFile::encodeName(Journal()),
                 "[Renommage]\r\n" + note("a.jpg", "zmxcksjf0.jpg") + note("b.jpg", "zmxcksjf1.jpg") +
                     note("zmxcksjf1.jpg", "a.jpg") + note("c.jpg", "zmxcksjf2.jpg"));
    EXPECT_TRUE(ReprendRenommageInterrompu(Journal()).isEmpty());
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(Contenu(Chemin("a.jpg")), "a");
    EXPECT_EQ(Contenu(Chemin("b.jpg")), "b");
    EXPECT_FALSE(QFile::exists(Journal()));

    // Cut between the two steps of a move: the file under both names keeps its source alone.
    EcritFichier(QFile::encodeName(Journal()), "[Renommage]\r\n" + note("c.jpg", "y.jpg"));
    ASSERT_TRUE(QFile::link(Chemin("c.jpg"), Chemin("y.jpg")));
    EXPECT_TRUE(ReprendRenommageInterrompu(Journal()).isEmpty());
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(Contenu(Chemin("c.jpg")), "c");
}

// A journal that cannot be written to the end (a full disk): the renames made are undone at once,
// the lists keep their names, and the user is told.
TEST_F(RenommageTest, JournalPleinToutEstDefait) {
    auto d = Destination({"a.jpg", "b.jpg", "c.jpg"});
    const auto note = [this](const char* de, const char* vers) {
        return QFile::encodeName(Chemin(QString::fromLatin1(de))).toPercentEncoding().size() + 1 +
               QFile::encodeName(Chemin(QString::fromLatin1(vers))).toPercentEncoding().size() + 2;
    };
    // Room for the header, the first note and half the second: the file grows no more.
    const auto taille = static_cast<rlim_t>(13 + note("a.jpg", "X0.jpg") + note("b.jpg", "X1.jpg") / 2);
    const auto signalAvant = std::signal(SIGXFSZ, SIG_IGN);
    rlimit avant{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &avant), 0);
    rlimit limite = avant;
    limite.rlim_cur = taille;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    const TResultatRenommage resultat =
        RenommeFichiers(*d, QStringLiteral("X"), destinations, nullptr, Journal());
    ::setrlimit(RLIMIT_FSIZE, &avant);
    std::signal(SIGXFSZ, signalAvant);
    ASSERT_EQ(resultat.Echecs.size(), 1);
    EXPECT_TRUE(resultat.Echecs[0].contains(QStringLiteral("journal du renommage")));
    EXPECT_EQ(Noms(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(Contenu(Chemin("a.jpg")), "a.jpg");
    EXPECT_EQ(d->FichiersConnus(), (QStringList{Chemin("a.jpg"), Chemin("b.jpg"), Chemin("c.jpg")}));
    EXPECT_FALSE(QFile::exists(Journal()));
}

namespace {

// A grid that stands for a file's content.
std::array<uint8_t, 100> GrilleDe(const QByteArray& contenu) {
    std::array<uint8_t, 100> grille{};
    const uint8_t graine = static_cast<uint8_t>(qHash(contenu));
    for (size_t k = 0; k < grille.size(); ++k)
        grille[k] = static_cast<uint8_t>(graine + 7 * k);
    return grille;
}

} // namespace

// Killed at any point of the renaming of files whose new names are the old names of others, and
// at any point of the undo at the next start: every file ends under its old name, and each
// signature of the store describes the file of its name.
TEST_F(RenommageTest, CoupeAChaquePasPuisDefait) {
    const QStringList signees{"Vacances2.jpg", "Vacances0.jpg"}, enAttente{"Vacances1.jpg"},
        illisibles{"Vacances3.jpg"};
    const QStringList tous = QStringList(signees + enAttente + illisibles);
    int essais = 0, coupe = 0;
    for (bool termine = false; !termine; ++coupe) {
        for (int coupeReprise = 0;; ++coupeReprise) {
            SCOPED_TRACE(testing::Message() << "coupé au pas " << coupe << ", puis au pas " << coupeReprise);
            dossier = env.Dossier(QStringLiteral("Essai%1").arg(++essais));
            auto d = Destination(signees, enAttente, illisibles);
            for (const auto& s : d->CopieSignatures())
                s->Grille = GrilleDe(Contenu(s->Fichier));
            ASSERT_TRUE(d->SauveSignatures());
            // Another destination whose pair names one of the files.
            auto autre = std::make_shared<TDestination>(&contexte);
            autre->Charge(env.Dossier(QStringLiteral("Autre%1").arg(essais)), QStringLiteral("Autre"));
            const QString paire =
                LigneDoublon(5, autre->Chemin + QStringLiteral("/p.jpg"), Chemin("Vacances2.jpg"));
            autre->Doublons << paire;
            ASSERT_TRUE(autre->SauveSignatures());
            destinations.Ajoute(QStringLiteral("Autre"), autre);
            int pas = 0;
            RenommeFichiers(*d, QStringLiteral("Vacances"), destinations, nullptr, Journal(),
                            [&] { return pas++ == coupe; });
            if (pas <= coupe) {
                termine = true; // the renaming went to its end: every point was cut
                EXPECT_FALSE(QFile::exists(Journal()));
                // The signed files were sorted by the save: Vacances1 and Vacances2 trade names.
                EXPECT_EQ(Contenu(Chemin("Vacances1.jpg")), "Vacances2.jpg");
                EXPECT_EQ(Contenu(Chemin("Vacances2.jpg")), "Vacances1.jpg");
                EXPECT_EQ(QDir(contexte.DossierSignatures()).entryList({QStringLiteral("*.avant")}),
                          QStringList());
                break;
            }
            int pasReprise = 0;
            EXPECT_TRUE(ReprendRenommageInterrompu(Journal(), [&] {
                            return pasReprise++ == coupeReprise;
                        }).isEmpty());
            const bool repriseCoupee = pasReprise > coupeReprise;
            EXPECT_TRUE(ReprendRenommageInterrompu(Journal()).isEmpty());
            EXPECT_FALSE(QFile::exists(Journal()));
            QStringList attendus = tous;
            attendus.sort();
            ASSERT_EQ(Noms(), attendus);
            for (const QString& nom : tous)
                EXPECT_EQ(Contenu(Chemin(nom)), nom.toUtf8()) << nom.toStdString();
            // The store, read at the next start, agrees with the files.
            TDestination relue(&contexte);
            relue.Charge(dossier, QStringLiteral("Vacances"));
            const auto signatures = relue.CopieSignatures();
            EXPECT_EQ(signatures.size(), 2u);
            for (const auto& s : signatures)
                EXPECT_EQ(s->Grille, GrilleDe(Contenu(s->Fichier))) << s->Fichier.toStdString();
            TDestination autreRelue(&contexte);
            autreRelue.Charge(autre->Chemin, QStringLiteral("Autre"));
            EXPECT_EQ(autreRelue.CopieDoublons(), QStringList{paire});
            EXPECT_EQ(QDir(contexte.DossierSignatures()).entryList({QStringLiteral("*.avant")}),
                      QStringList());
            destinations.Retire(destinations.Count() - 1);
            destinations.Retire(destinations.Count() - 1);
            if (!repriseCoupee) break;
        }
    }
    // Each of the eight renames and the two saves of a store can be cut before its note and before
    // it is made, the renames after the last one and the whole before the journal goes: 22 points,
    // then a renaming not cut.
    EXPECT_EQ(coupe, 2 * (8 + 2) + 2 + 1);
}
