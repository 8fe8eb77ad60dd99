#include "core/app/textefichier.h"
#include "core/duplicates/magasin.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::shared_ptr<Tminiature> Signature(const QString& fichier, uint8_t graine, double proportion) {
    auto m = std::make_shared<Tminiature>();
    for (size_t k = 0; k < 100; ++k)
        m->Grille[k] = static_cast<uint8_t>(graine + 3 * k);
    m->Proportion = proportion;
    m->Fichier = fichier;
    return m;
}

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class MagasinTest : public testing::Test {
protected:
    MagasinTest() : signatures(env.Dossier(QStringLiteral("programme/Signatures"))), magasin(signatures) {}
    QStringList Index() const {
        QStringList lignes;
        TexteFichier::Lit(magasin.FichierIndex(), lignes);
        return lignes;
    }
    EnvironnementTest env;
    QString signatures;
    TMagasinSignatures magasin;
};

TEST(NomAleatoire, VingtMajuscules) {
    QSet<QString> vus;
    int lettres[26] = {};
    for (int i = 0; i < 500; ++i) {
        const QString nom = NomAleatoire();
        ASSERT_TRUE(QRegularExpression(QStringLiteral("^[A-Z]{20}$")).match(nom).hasMatch())
            << nom.toStdString();
        vus << nom;
        for (QChar c : nom)
            ++lettres[c.unicode() - 'A'];
    }
    EXPECT_EQ(vus.size(), 500);
    // 10,000 letters: each of the 26 comes about 385 times.
    for (int n : lettres) {
        EXPECT_GT(n, 280);
        EXPECT_LT(n, 500);
    }
}

TEST(LigneDoublon, FormatEtOrdre) {
    EXPECT_EQ(LigneDoublon(1234, QStringLiteral("/d/a.jpg"), QStringLiteral("/d/b.jpg")),
              QStringLiteral("0000001234*/d/a.jpg*/d/b.jpg*"));
    EXPECT_TRUE(
        LigneDoublon(0, QStringLiteral("x"), QStringLiteral("y")).startsWith(QStringLiteral("0000000000*")));
    EXPECT_LT(LigneDoublon(99, "z", "z"), LigneDoublon(100, "a", "a"));
}

TEST(CompareChemins, OctetsEnMajuscules) {
    EXPECT_EQ(CompareChemins(QStringLiteral("/d/abc"), QStringLiteral("/D/ABC")), 0);
    EXPECT_LT(CompareChemins(QStringLiteral("/d/ab"), QStringLiteral("/d/abc")), 0);
    EXPECT_LT(CompareChemins(QStringLiteral("/d/Z"), QStringLiteral("/d/_")), 0);
    EXPECT_GT(CompareChemins(QStringLiteral("/d/é"), QStringLiteral("/d/z")), 0);
}

TEST_F(MagasinTest, SauveEtRelitALIdentique) {
    const QString dossier = env.Dossier(QStringLiteral("Vacances d'été"));
    TListeDoublons liste(dossier);
    liste.Miniatures.push_back(Signature(dossier + QStringLiteral("/zèbre.jpg"), 1, 1.5));
    liste.Miniatures.push_back(Signature(dossier + QStringLiteral("/Abc.jpg"), 2, 0.75));
    liste.Miniatures.push_back(Signature(dossier + QStringLiteral("/b.gif"), 3, 4.0 / 3));
    liste.Intraitables << dossier + QStringLiteral("/petite.bmp");
    const QStringList doublons{
        LigneDoublon(12, dossier + QStringLiteral("/b.gif"), dossier + QStringLiteral("/Abc.jpg"))};
    ASSERT_TRUE(magasin.Sauve(liste, doublons));

    const QString base = magasin.NomDeBase(dossier);
    ASSERT_EQ(base.size(), 20);
    EXPECT_EQ(Index(), (QStringList{dossier, base}));
    QStringList texte;
    ASSERT_TRUE(TexteFichier::Lit(signatures + u'/' + base + QStringLiteral(".txt"), texte));
    ASSERT_EQ(texte.size(), 10);
    // The records' count and a digest of the names and the records, that the reader checks.
    EXPECT_EQ(texte[0], QStringLiteral("[Controle]"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^3 [0-9a-f]{40}$")).match(texte[1]).hasMatch());
    EXPECT_EQ(texte.mid(2),
              (QStringList{"[Signatures]", "Abc.jpg", "b.gif", QStringLiteral("zèbre.jpg"), "[intraitables]",
                           dossier + QStringLiteral("/petite.bmp"), "[Doublons]", doublons[0]}));
    // CR LF after every line, the last one too.
    EXPECT_TRUE(Contenu(signatures + u'/' + base + QStringLiteral(".txt")).endsWith("*\r\n"));

    // Records: the grid, then the little-endian proportion, in the order of the names.
    const QByteArray dat = Contenu(signatures + u'/' + base + QStringLiteral(".dat"));
    ASSERT_EQ(dat.size(), 3 * 108);
    EXPECT_EQ(static_cast<uint8_t>(dat[0]), 2);
    EXPECT_EQ(static_cast<uint8_t>(dat[99]), static_cast<uint8_t>(2 + 3 * 99));
    EXPECT_EQ(qFromLittleEndian<double>(dat.constData() + 100), 0.75);
    EXPECT_EQ(qFromLittleEndian<double>(dat.constData() + 108 + 100), 4.0 / 3);

    TListeDoublons relue(dossier);
    QStringList doublonsRelus;
    magasin.Charge(dossier.toUpper(), relue, doublonsRelus); // letter case ignored by the index
    ASSERT_EQ(relue.Miniatures.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(relue.Miniatures[i]->Grille, liste.Miniatures[i]->Grille);
        EXPECT_EQ(relue.Miniatures[i]->Proportion, liste.Miniatures[i]->Proportion);
        EXPECT_EQ(relue.Miniatures[i]->Fichier.toUpper(), liste.Miniatures[i]->Fichier.toUpper());
    }
    EXPECT_EQ(relue.Intraitables, liste.Intraitables);
    EXPECT_EQ(doublonsRelus, doublons);

    // Saving again keeps the base name; a second folder gets its own pair of index lines.
    ASSERT_TRUE(magasin.Sauve(liste, doublons));
    EXPECT_EQ(magasin.NomDeBase(dossier), base);
    TListeDoublons autre(env.Dossier(QStringLiteral("Autre")));
    autre.Intraitables << QStringLiteral("/x.jpg");
    ASSERT_TRUE(magasin.Sauve(autre, {}));
    EXPECT_EQ(Index().size(), 4);
}

TEST_F(MagasinTest, RienAGarderEtToutIntraitable) {
    const QString dossier = env.Dossier(QStringLiteral("d"));
    TListeDoublons liste(dossier);
    liste.Intraitables << dossier + QStringLiteral("/a.jpg");
    ASSERT_TRUE(magasin.Sauve(liste, {}));
    const QString base = signatures + u'/' + magasin.NomDeBase(dossier);
    QStringList texte;
    TexteFichier::Lit(base + QStringLiteral(".txt"), texte);
    EXPECT_EQ(texte.mid(2), (QStringList{"[Signatures]", "[intraitables]", dossier + QStringLiteral("/a.jpg"),
                                         "[Doublons]"}));
    EXPECT_EQ(Contenu(base + QStringLiteral(".dat")).size(), 0);

    // Nothing left: no file, but the index keeps its two lines.
    liste.Intraitables.clear();
    ASSERT_TRUE(magasin.Sauve(liste, {}));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".txt")));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".dat")));
    EXPECT_EQ(Index().size(), 2);
}

TEST_F(MagasinTest, Effacement) {
    const QString a = env.Dossier(QStringLiteral("a")), b = env.Dossier(QStringLiteral("b"));
    for (const QString& d : {a, b}) {
        TListeDoublons liste(d);
        liste.Miniatures.push_back(Signature(d + QStringLiteral("/x.jpg"), 9, 1));
        ASSERT_TRUE(magasin.Sauve(liste, {}));
    }
    const QString base = signatures + u'/' + magasin.NomDeBase(a);
    ASSERT_TRUE(magasin.Efface(a.toUpper()));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".txt")));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral(".dat")));
    EXPECT_EQ(Index(), (QStringList{b, magasin.NomDeBase(b)}));
    EXPECT_TRUE(magasin.NomDeBase(a).isEmpty());
    EXPECT_TRUE(magasin.Efface(QStringLiteral("/jamais/vu")));
    // No temporary file is left behind by the replacements.
    EXPECT_EQ(QDir(signatures).entryList(QDir::Files).size(), 3);
}

TEST_F(MagasinTest, FichiersHostiles) {
    const QString dossier = env.Dossier(QStringLiteral("h"));
    const QString nom = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    TexteFichier::Ecrit(magasin.FichierIndex(), {dossier, nom});
    const QString base = signatures + u'/' + nom;
    auto ecritDat = [&base](int enregistrements, int octetsEnPlus) {
        QByteArray dat(enregistrements * 108 + octetsEnPlus, '\x07');
        for (int i = 0; i < enregistrements; ++i)
            qToLittleEndian(1.0 + i, dat.data() + i * 108 + 100);
        EcritFichier(QFile::encodeName(base + QStringLiteral(".dat")), dat);
    };
    auto charge = [&](const QStringList& texte) {
        TexteFichier::Ecrit(base + QStringLiteral(".txt"), texte);
        TListeDoublons liste(dossier);
        QStringList doublons;
        magasin.Charge(dossier, liste, doublons);
        return liste;
    };

    // Fewer names than records, and a partial trailing record: only complete pairs.
    ecritDat(3, 50);
    TListeDoublons l = charge({"[Signatures]", "a.jpg", "b.jpg", "[intraitables]", "[Doublons]"});
    ASSERT_EQ(l.Miniatures.size(), 2u);
    EXPECT_EQ(l.Miniatures[1]->Fichier, dossier + QStringLiteral("/b.jpg"));
    EXPECT_EQ(l.Miniatures[1]->Proportion, 2.0);
    // More names than records.
    ecritDat(1, 0);
    EXPECT_EQ(charge({"[Signatures]", "a.jpg", "b.jpg", "c.jpg"}).Miniatures.size(), 1u);
    // Names that would point outside the folder are dropped with their records.
    ecritDat(5, 0);
    l = charge({"[Signatures]", "../x.jpg", "..", ".", "sous/y.jpg", "bon.jpg"});
    ASSERT_EQ(l.Miniatures.size(), 1u);
    EXPECT_EQ(l.Miniatures[0]->Fichier, dossier + QStringLiteral("/bon.jpg"));
    EXPECT_EQ(l.Miniatures[0]->Proportion, 5.0);
    // An untreatable section without a following section runs to the end.
    l = charge({"[Signatures]", "[intraitables]", dossier + QStringLiteral("/1.jpg"),
                dossier + QStringLiteral("/2.jpg")});
    EXPECT_EQ(l.Intraitables,
              (QStringList{dossier + QStringLiteral("/1.jpg"), dossier + QStringLiteral("/2.jpg")}));
    EXPECT_TRUE(l.Miniatures.empty());
    // A .dat without a .txt loads nothing.
    QFile::remove(base + QStringLiteral(".txt"));
    TListeDoublons seule(dossier);
    QStringList doublons;
    magasin.Charge(dossier, seule, doublons);
    EXPECT_TRUE(seule.Miniatures.empty());

    // A base name that is not ours is never used as a file name, and is replaced at the save.
    TexteFichier::Ecrit(magasin.FichierIndex(), {dossier, QStringLiteral("../../dehors")});
    EXPECT_TRUE(magasin.NomDeBase(dossier).isEmpty());
    TListeDoublons liste(dossier);
    liste.Intraitables << QStringLiteral("/x");
    ASSERT_TRUE(magasin.Sauve(liste, {}));
    EXPECT_EQ(magasin.NomDeBase(dossier).size(), 20);
    EXPECT_FALSE(QFile::exists(signatures + QStringLiteral("/../../dehors.txt")));
    EXPECT_EQ(Index().size(), 2);
}

TEST_F(MagasinTest, UneSauvegardeImpossibleLaisseLAncienMagasin) {
    const QString dossier = env.Dossier(QStringLiteral("s"));
    TListeDoublons liste(dossier);
    liste.Miniatures.push_back(Signature(dossier + QStringLiteral("/a.jpg"), 1, 1));
    ASSERT_TRUE(magasin.Sauve(liste, {}));
    const QString base = signatures + u'/' + magasin.NomDeBase(dossier);
    const QByteArray avant = Contenu(base + QStringLiteral(".dat"));
    // The store's folder is gone: the save fails and says so.
    TMagasinSignatures perdu(env.Racine() + QStringLiteral("/absent"));
    EXPECT_FALSE(perdu.Sauve(liste, {}));
    EXPECT_EQ(Contenu(base + QStringLiteral(".dat")), avant);
}

// A save cut off between its two files leaves a ".txt" and a ".dat" of different saves: no name
// is then given another picture's record; both files are kept aside and the images signed again.
TEST_F(MagasinTest, SauvegardeCoupeeEntreSesDeuxFichiers) {
    const QString dossier = env.Dossier(QStringLiteral("coupe"));
    auto ecrit = [&](const QStringList& noms) {
        TListeDoublons liste(dossier);
        for (const QString& nom : noms)
            liste.Miniatures.push_back(
                Signature(dossier + u'/' + nom, static_cast<uint8_t>(nom[0].unicode()), 1));
        EXPECT_TRUE(magasin.Sauve(liste, {}));
    };
    // Every signature read must be the one its file was given.
    auto verifie = [&](size_t attendues) {
        TListeDoublons liste(dossier);
        QStringList doublons, copies;
        TMagasinSignatures(signatures, nullptr, &copies).Charge(dossier, liste, doublons);
        for (const auto& m : liste.Miniatures) {
            const QString nom = QFileInfo(m->Fichier).fileName();
            EXPECT_EQ(m->Grille, Signature({}, static_cast<uint8_t>(nom[0].unicode()), 1)->Grille)
                << nom.toStdString();
        }
        EXPECT_EQ(liste.Miniatures.size(), attendues);
        return copies.size();
    };
    ecrit({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    const QString base = signatures + u'/' + magasin.NomDeBase(dossier);
    const QByteArray ancienTexte = Contenu(base + QStringLiteral(".txt")),
                     anciensEnregistrements = Contenu(base + QStringLiteral(".dat"));
    ecrit({"a.jpg", "c.jpg", "d.jpg", "e.jpg"});
    const QByteArray nouveauTexte = Contenu(base + QStringLiteral(".txt")),
                     nouveauxEnregistrements = Contenu(base + QStringLiteral(".dat"));
    for (const auto& [texte, enregistrements] :
         {std::pair{ancienTexte, nouveauxEnregistrements}, std::pair{nouveauTexte, anciensEnregistrements}}) {
        EcritFichier(QFile::encodeName(base + QStringLiteral(".txt")), texte);
        EcritFichier(QFile::encodeName(base + QStringLiteral(".dat")), enregistrements);
        EXPECT_EQ(verifie(0), 2);
        EXPECT_EQ(Contenu(base + QStringLiteral(".txt.illisible")), texte);
        EXPECT_EQ(Contenu(base + QStringLiteral(".dat.illisible")), enregistrements);
        QFile::remove(base + QStringLiteral(".txt.illisible"));
        QFile::remove(base + QStringLiteral(".dat.illisible"));
    }
    // A store written before its files carried a proof is read as it always was.
    QList<QByteArray> lignes = ancienTexte.split('\n');
    lignes.remove(0, 2);
    EcritFichier(QFile::encodeName(base + QStringLiteral(".txt")), lignes.join('\n'));
    EcritFichier(QFile::encodeName(base + QStringLiteral(".dat")), anciensEnregistrements);
    EXPECT_EQ(verifie(4), 0);
}

TEST(TexteFichier, LignesEtEncodages) {
    EnvironnementTest env;
    const QByteArray chemin = QFile::encodeName(env.Racine() + QStringLiteral("/t.txt"));
    EcritFichier(chemin, "un\r\ndeux\nquatre\rcinq");
    QStringList lignes;
    ASSERT_TRUE(TexteFichier::Lit(QFile::decodeName(chemin), lignes));
    EXPECT_EQ(lignes, (QStringList{"un", "deux", "quatre", "cinq"}));
    // Bytes that are not UTF-8 are Windows-1252.
    EcritFichier(chemin, "caf\xe9 \x80\r\n");
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, QStringList{QStringLiteral("café €")});
    EcritFichier(chemin, "caf\xc3\xa9\r\n\r\n");
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("café"), QString()}));
    // Lines written by different programs: each is read in the encoding it is valid in.
    EcritFichier(chemin, "/photos/\xc3\x89t\xc3\xa9\r\n/photos/\xc9t\xe9\r\n");
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("/photos/Été"), QStringLiteral("/photos/Été")}));
    // A byte order mark opens a file in either encoding; a U+FEFF elsewhere is text. A first line
    // that begins with one reads back whole.
    EcritFichier(chemin, "\xef\xbb\xbfun\r\n\xef\xbb\xbf"
                         "deux\r\n");
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("un"), QStringLiteral("\uFEFFdeux")}));
    EcritFichier(chemin, "\xef\xbb\xbf"
                         "caf\xe9\r\n\xef\xbb\xbf"
                         "d\r\n");
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("café"), QStringLiteral("\uFEFFd")}));
    const QStringList marqueEnTete{QStringLiteral("\uFEFF/photos"), QStringLiteral("\uFEFF")};
    ASSERT_TRUE(TexteFichier::Ecrit(QFile::decodeName(chemin), marqueEnTete));
    TexteFichier::Lit(QFile::decodeName(chemin), lignes);
    EXPECT_EQ(lignes, marqueEnTete);
    EXPECT_FALSE(TexteFichier::Lit(env.Racine() + QStringLiteral("/absent.txt"), lignes));
    EXPECT_TRUE(lignes.isEmpty());
}

namespace {

// A damaged store of one folder, "@" standing for the folder: the index, the ".txt", and the
// ".dat" made of so many records and so many bytes more.
struct CasMagasin {
    const char* defaut;
    QStringList index;
    QStringList texte;
    int enregistrements;
    int octetsEnPlus;
    size_t signaturesLues;
    QStringList doublonsLus;
};

const QString Base = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
const QString BonDoublon = QStringLiteral("0000000012*@/a.jpg*@/b.jpg*");

const CasMagasin CasDeMagasin[] = {
    {"index-odd-lines.txt",
     {"ligne perdue", "@", Base},
     {"[Signatures]", "a.jpg", "[intraitables]"},
     1,
     0,
     1,
     {}},
    {"doublons-junk-lines.txt",
     {"@", Base},
     {"[Signatures]", "a.jpg", "[intraitables]", "[Doublons]", "[Autre]", "n'importe quoi", BonDoublon,
      "12*@/a.jpg*@/b.jpg*", "0000000012**@/b.jpg*", "0000000012*@/a.jpg*@/b.jpg*en trop*"},
     1,
     0,
     1,
     {BonDoublon}},
    {"dat-partial-record.dat",
     {"@", Base},
     {"[Signatures]", "a.jpg", "b.jpg", "[intraitables]"},
     2,
     50,
     2,
     {}},
    // A name stands for the partial record: the name is not enough to make a signature.
    {"dat-partial-record-named.dat",
     {"@", Base},
     {"[Signatures]", "a.jpg", "b.jpg", "c.jpg", "[intraitables]"},
     2,
     50,
     2,
     {}},
    {"txt-names-without-records.txt", {"@", Base}, {"[Signatures]", "a.jpg", "b.jpg", "c.jpg"}, 1, 0, 1, {}},
};

QStringList Remplace(QStringList lignes, const QString& dossier) {
    for (QString& ligne : lignes)
        ligne.replace(u'@', dossier);
    return lignes;
}

} // namespace

// Every damaged store gives what it holds whole, keeps the original of each file not read whole,
// and is written back with nothing but well-formed lines.
TEST_F(MagasinTest, MagasinsEndommages) {
    for (const CasMagasin& cas : CasDeMagasin) {
        SCOPED_TRACE(cas.defaut);
        QDir(signatures).removeRecursively();
        QDir().mkpath(signatures);
        const QString dossier = env.Dossier(QStringLiteral("dossier"));
        const QString base = signatures + u'/' + Base;
        TexteFichier::Ecrit(magasin.FichierIndex(), Remplace(cas.index, dossier));
        TexteFichier::Ecrit(base + QStringLiteral(".txt"), Remplace(cas.texte, dossier));
        EcritFichier(QFile::encodeName(base + QStringLiteral(".dat")),
                     QByteArray(cas.enregistrements * 108 + cas.octetsEnPlus, '\x01'));
        const QStringList fichiers{magasin.FichierIndex(), base + QStringLiteral(".txt"),
                                   base + QStringLiteral(".dat")};
        QList<QByteArray> originaux;
        for (const QString& fichier : fichiers)
            originaux << Contenu(fichier);

        TListeDoublons liste(dossier);
        QStringList doublons, copies;
        const TMagasinSignatures lecteur(signatures, nullptr, &copies);
        lecteur.Charge(dossier, liste, doublons);
        EXPECT_EQ(liste.Miniatures.size(), cas.signaturesLues);
        EXPECT_EQ(doublons, Remplace(cas.doublonsLus, dossier));
        ASSERT_TRUE(lecteur.Sauve(liste, doublons));
        // Whatever was not read whole is kept as it was; what is written back reads whole.
        int gardes = 0;
        for (qsizetype i = 0; i < fichiers.size(); ++i)
            if (QFile::exists(fichiers[i] + QStringLiteral(".illisible"))) {
                ++gardes;
                EXPECT_EQ(Contenu(fichiers[i] + QStringLiteral(".illisible")), originaux[i]);
            }
        EXPECT_GE(gardes, 1);
        // The copies are named, for the one message the user gets.
        EXPECT_EQ(copies.size(), gardes);
        EXPECT_EQ(Index(), (QStringList{dossier, Base}));
        for (const QString& fichier : fichiers)
            QFile::remove(fichier + QStringLiteral(".illisible"));
        TListeDoublons relue(dossier);
        QStringList doublonsRelus;
        magasin.Charge(dossier, relue, doublonsRelus);
        EXPECT_EQ(relue.Miniatures.size(), cas.signaturesLues);
        EXPECT_EQ(QDir(signatures).entryList({QStringLiteral("*.illisible")}, QDir::Files), QStringList());
    }
}

// Closing many folders touches the index once and leaves unchanged stores as they are.
TEST_F(MagasinTest, LotEtMagasinsInchanges) {
    TIndexPartage lot;
    TMagasinSignatures enLot(signatures, &lot);
    QList<TListeDoublons> listes;
    for (const char* nom : {"a", "b", "c"}) {
        TListeDoublons liste(env.Dossier(QString::fromLatin1(nom)));
        liste.Miniatures.push_back(Signature(liste.Dossier + QStringLiteral("/x.jpg"), 1, 1));
        ASSERT_TRUE(enLot.Sauve(liste, {}));
        listes << liste;
    }
    // The index waits for the end of the batch; erasing one leaves the others in place.
    EXPECT_FALSE(QFile::exists(magasin.FichierIndex()));
    ASSERT_TRUE(enLot.Efface(listes[1].Dossier));
    ASSERT_TRUE(enLot.TermineLot(lot));
    EXPECT_EQ(Index().size(), 4);
    EXPECT_EQ(magasin.NomDeBase(listes[0].Dossier), enLot.NomDeBase(listes[0].Dossier));
    EXPECT_TRUE(magasin.NomDeBase(listes[1].Dossier).isEmpty());

    // Loaded and saved again unchanged: no file is replaced; changed: its files are.
    const QString base = signatures + u'/' + magasin.NomDeBase(listes[0].Dossier);
    const auto inode = [](const QString& fichier) {
        struct stat etat {};
        return ::stat(QFile::encodeName(fichier).constData(), &etat) == 0 ? etat.st_ino : ino_t{0};
    };
    const ino_t avant = inode(base + QStringLiteral(".txt")), indexAvant = inode(magasin.FichierIndex());
    TListeDoublons relue(listes[0].Dossier);
    QStringList doublons;
    magasin.Charge(relue.Dossier, relue, doublons);
    ASSERT_TRUE(magasin.Sauve(relue, doublons));
    EXPECT_EQ(inode(base + QStringLiteral(".txt")), avant);
    EXPECT_EQ(inode(magasin.FichierIndex()), indexAvant);
    relue.Intraitables << relue.Dossier + QStringLiteral("/y.jpg");
    ASSERT_TRUE(magasin.Sauve(relue, doublons));
    EXPECT_NE(inode(base + QStringLiteral(".txt")), avant);
}

namespace {

// Stores of tests/fixtures/magasin, one folder each named after the fault it reproduces, holding
// the store's files as they stood: the folders the index gives and the signatures each holds.
struct CasFixtureMagasin {
    const char* defaut;
    QStringList dossiers;
    size_t signatures;
    qsizetype intraitables = 0;
    qsizetype doublons = 0;
};

const QString Vacances = QStringLiteral("/photos/vacances");

const CasFixtureMagasin CasDeFixturesMagasin[] = {
    // Once the line before it is dropped, the folder's line comes first in the index written back.
    {"index-folder-beginning-with-bom-moved-first", {QStringLiteral("\uFEFF/photos/vacances")}, 1},
    // A save cut off between its two files: the names do not go with these records.
    {"txt-proof-of-other-records", {Vacances}, 0},
    {"proof-count-beyond-records", {Vacances}, 0},
    // Only the folder's untreatable paths, each once.
    {"intraitables-empty-lines-repeats-and-other-folder", {Vacances}, 0, 1},
    // No path is that long: the line is dropped, never cut into a path that names another file.
    {"doublon-line-longer-than-two-paths", {Vacances}, 0, 0, 1},
};

// What the lists read from a store hold in memory, counting each string's characters, header and
// place in its list, and each signature's record and path.
qsizetype TailleEnMemoire(const TListeDoublons& liste, const QStringList& doublons) {
    const auto texte = [](const QString& s) { return qsizetype(sizeof(QString)) + 16 + 2 * s.size(); };
    qsizetype taille = 0;
    for (const auto& miniature : liste.Miniatures)
        taille += qsizetype(sizeof(Tminiature)) + 32 + texte(miniature->Fichier);
    for (const QString& s : liste.Intraitables + doublons)
        taille += texte(s);
    return taille;
}

} // namespace

// Each stored folder is read, saved and read again with nothing lost.
TEST_F(MagasinTest, FixturesDeMagasinsEndommages) {
    for (const CasFixtureMagasin& cas : CasDeFixturesMagasin) {
        SCOPED_TRACE(cas.defaut);
        QDir(signatures).removeRecursively();
        QDir().mkpath(signatures);
        const QDir fixture(QStringLiteral(MIRASOLVE_FIXTURES_DIR "/magasin/") + QLatin1String(cas.defaut));
        ASSERT_TRUE(fixture.exists());
        for (const QString& nom : fixture.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(fixture.filePath(nom), signatures + u'/' + nom));
        for (int passe = 0; passe < 2; ++passe) {
            QStringList dossiers;
            for (const TDossierStocke& stocke : magasin.Inventaire())
                dossiers << stocke.Dossier;
            ASSERT_EQ(dossiers, cas.dossiers) << passe;
            for (const QString& dossier : dossiers) {
                const QString base = signatures + u'/' + magasin.NomDeBase(dossier);
                const qsizetype octets = QFileInfo(base + QStringLiteral(".txt")).size() +
                                         QFileInfo(base + QStringLiteral(".dat")).size();
                TListeDoublons liste(dossier);
                QStringList doublons;
                magasin.Charge(dossier, liste, doublons);
                EXPECT_EQ(liste.Miniatures.size(), cas.signatures) << passe;
                EXPECT_EQ(liste.Intraitables.size(), cas.intraitables) << passe;
                EXPECT_EQ(doublons.size(), cas.doublons) << passe;
                // A store takes no more memory than a few times the bytes of its files.
                EXPECT_LE(TailleEnMemoire(liste, doublons), 8 * octets + 1024) << passe;
                ASSERT_TRUE(magasin.Sauve(liste, doublons));
            }
        }
    }
}
