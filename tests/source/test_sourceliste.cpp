#include "config/fenetresimulee.h"
#include "core/app/attente.h"
#include "core/destinations/destination.h"
#include "core/source/balayage.h"
#include "core/source/sourceliste.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QStringList Noms(const TSourceListe& liste) {
    QStringList noms;
    for (int i = 0; i < liste.Fichiers.Count(); ++i)
        noms << QFile::decodeName(liste.Fichiers.Element(i)->Nom);
    return noms;
}

void AjouteEntree(TSourceListe& liste, const char* nom, int32_t taille = 0, int32_t date = 0) {
    auto fichier = std::make_unique<TFichierSource>();
    fichier->Nom = nom;
    fichier->Taille = taille;
    fichier->Date = date;
    liste.Fichiers.Ajoute(QByteArray("/s/") + nom, std::move(fichier));
}

class AttenteEspionne : public IAttente {
public:
    void Prepare(const QString& t, int maximum) override {
        texte = t;
        max = maximum;
        ++preparations;
    }
    void Avance() override { ++pas; }
    void Cache() override { ++caches; }
    QString texte;
    int max = -1, preparations = 0, pas = 0, caches = 0;
};

} // namespace

class ChargeDossierTest : public testing::Test {
protected:
    EnvironnementTest env;
    TSourceListe liste;
    TListeDestinations destinations;
};

TEST_F(ChargeDossierTest, MasquesFichiersCachesEtDossiers) {
    const QString d = env.Dossier(QStringLiteral("photos"));
    for (const char* nom : {"a.jpg", "B.JPG", "c.jpeg", "d.jpe", "e.bmp", "f.gif", "g.png", "sans extension",
                            ".cachee.jpg", "espace et accentué.jpg"})
        EcritImage(d + u'/' + QString::fromUtf8(nom));
    env.Dossier(QStringLiteral("photos/dossier.jpg"));

    ASSERT_TRUE(liste.ChargeDossier(d, destinations));
    EXPECT_EQ(liste.Chemin, d);
    EXPECT_EQ(liste.IndexAffiche, 0);
    EXPECT_EQ(liste.IndexDemande, 0);
    const QStringList noms = Noms(liste);
    ASSERT_EQ(noms.size(), 8) << noms.join(u',').toStdString();
    // One block per mask, in mask order, before any sort.
    EXPECT_EQ(QSet<QString>(noms.begin(), noms.begin() + 3),
              (QSet<QString>{"a.jpg", "B.JPG", QStringLiteral("espace et accentué.jpg")}));
    EXPECT_EQ(QSet<QString>(noms.begin() + 3, noms.begin() + 5), (QSet<QString>{"c.jpeg", "d.jpe"}));
    EXPECT_EQ(noms[5], "e.bmp");
    EXPECT_EQ(noms[6], "f.gif");
    EXPECT_EQ(noms[7], "g.png");
    // The strings are full paths; the record carries the size as found.
    for (int i = 0; i < liste.Fichiers.Count(); ++i) {
        EXPECT_EQ(liste.Fichiers.Texte(i), QFile::encodeName(d) + '/' + liste.Fichiers.Element(i)->Nom);
        EXPECT_EQ(liste.Fichiers.Element(i)->Taille,
                  QFileInfo(QFile::decodeName(liste.Fichiers.Texte(i))).size());
    }

    liste.Trie(TriNom);
    EXPECT_EQ(Noms(liste), (QStringList{"a.jpg", "B.JPG", "c.jpeg", "d.jpe", "e.bmp",
                                        QStringLiteral("espace et accentué.jpg"), "f.gif", "g.png"}));
}

TEST_F(ChargeDossierTest, DossierAbsentOuVideDonneUneListeVide) {
    AjouteEntree(liste, "ancien.jpg");
    liste.IndexAffiche = 5;
    EXPECT_FALSE(liste.ChargeDossier(env.Racine() + QStringLiteral("/absent"), destinations));
    EXPECT_EQ(liste.Fichiers.Count(), 0);
    EXPECT_EQ(liste.IndexAffiche, 0);

    const QString vide = env.Dossier(QStringLiteral("vide"));
    EcritFichier(QFile::encodeName(vide + QStringLiteral("/notes.txt")), "x");
    EXPECT_TRUE(liste.ChargeDossier(vide, destinations));
    EXPECT_EQ(liste.Fichiers.Count(), 0);
    EXPECT_EQ(liste.IndexDemande, 0);

    // A file given as a folder, and an empty path, are folders that cannot be read.
    EXPECT_FALSE(liste.ChargeDossier(vide + QStringLiteral("/notes.txt"), destinations));
    EXPECT_EQ(liste.Fichiers.Count(), 0);
    EXPECT_FALSE(liste.ChargeDossier(QString(), destinations));
    EXPECT_EQ(liste.Fichiers.Count(), 0);
}

TEST_F(ChargeDossierTest, NomsQuiNeSontPasDeL_UTF8) {
    const QString d = env.Dossier(QStringLiteral("octets"));
    const QByteArray nom("caf\xe9-\xff.jpg");
    EcritFichier(QFile::encodeName(d) + '/' + nom, "contenu");
    EcritFichier(QFile::encodeName(d) + "/Abc.jpg", "c");
    ASSERT_TRUE(liste.ChargeDossier(d, destinations));
    liste.Trie(TriNom);
    ASSERT_EQ(liste.Fichiers.Count(), 2);
    EXPECT_EQ(liste.Fichiers.Element(0)->Nom, QByteArray("Abc.jpg"));
    EXPECT_EQ(liste.Fichiers.Element(1)->Nom, nom);
    // The stored path reaches the very file.
    const int descripteur = ::open(liste.Fichiers.Texte(1).constData(), O_RDONLY);
    EXPECT_GE(descripteur, 0);
    if (descripteur >= 0) ::close(descripteur);
    EXPECT_EQ(liste.Fichiers.Element(1)->Taille, 7);
}

TEST_F(ChargeDossierTest, TailleSur32BitsEtDate) {
    const QString d = env.Dossier(QStringLiteral("grands"));
    const QByteArray grand = QFile::encodeName(d) + "/grand.jpg";
    const QByteArray negatif = QFile::encodeName(d) + "/negatif.jpg";
    EcritFichier(grand, "");
    EcritFichier(negatif, "");
    // Sparse files: the size is recorded as its low 32 bits, read as a signed integer.
    ASSERT_EQ(::truncate(grand.constData(), (int64_t{5} << 30) + 123), 0);
    ASSERT_EQ(::truncate(negatif.constData(), int64_t{3} << 30), 0);
    std::tm local{};
    local.tm_year = 2003 - 1900;
    local.tm_mon = 6;
    local.tm_mday = 9;
    local.tm_hour = 8;
    local.tm_min = 7;
    local.tm_sec = 6;
    local.tm_isdst = -1;
    const std::time_t instant = std::mktime(&local);
    FixeDateModification(grand, instant);

    ASSERT_TRUE(liste.ChargeDossier(d, destinations));
    liste.Trie(TriNom);
    ASSERT_EQ(liste.Fichiers.Count(), 2);
    EXPECT_EQ(liste.Fichiers.Element(0)->Taille, (1 << 30) + 123);
    EXPECT_EQ(liste.Fichiers.Element(1)->Taille, static_cast<int32_t>(0xC0000000u));
    EXPECT_EQ(liste.Fichiers.Element(0)->Date, DateDOS(instant));
    EXPECT_EQ(static_cast<uint32_t>(liste.Fichiers.Element(0)->Date) >> 25, 23u);
}

TEST_F(ChargeDossierTest, AttenteIndiceEtDestinations) {
    const QString d = env.Dossier(QStringLiteral("src"));
    EcritImage(d + QStringLiteral("/garde.jpg"));
    EcritImage(d + QStringLiteral("/parti.jpg"));

    // A destination that is the new source, one whose path differs only by case or a trailing
    // separator (exact comparison: both active), and an inactive one whose filed-away images
    // lose their signatures before it becomes active again.
    auto ajoute = [this](const QString& chemin, bool active) {
        auto destination = std::make_unique<TDestination>();
        destination->Chemin = chemin;
        destination->Active = active;
        destinations.Ajoute(chemin, std::move(destination));
        return destinations.Element(destinations.Count() - 1);
    };
    TDestination* source = ajoute(d, true);
    TDestination* casse = ajoute(d.toUpper(), true);
    TDestination* barre = ajoute(d + u'/', true);
    const QString ancienne = env.Dossier(QStringLiteral("ancienne"));
    TDestination* inactive = ajoute(ancienne, false);
    EcritImage(ancienne + QStringLiteral("/reste.jpg"));
    for (const QString& nom : {QStringLiteral("reste.jpg"), QStringLiteral("classee.jpg")}) {
        auto miniature = std::make_shared<Tminiature>();
        miniature->Fichier = ancienne + u'/' + nom;
        inactive->ListeSignatures->Miniatures.push_back(miniature);
    }

    AttenteEspionne attente;
    FenetreSimulee fenetre;
    const QString& indice = fenetre.indice;
    liste.Attente = &attente;
    liste.Fenetre = &fenetre;
    ASSERT_TRUE(liste.ChargeDossier(d, destinations));

    EXPECT_EQ(attente.texte, QStringLiteral("Chargement et tri de la source"));
    EXPECT_EQ(attente.max, 4 + 1 + NombreMasques);
    EXPECT_EQ(attente.pas, NombreMasques + 1);
    EXPECT_EQ(attente.caches, 1);
    EXPECT_EQ(indice,
              d + QStringLiteral("\rClic gauche pour sélectionner une image\rClic droit pour le menu"));

    EXPECT_FALSE(source->Active);
    EXPECT_TRUE(casse->Active);
    EXPECT_TRUE(barre->Active);
    EXPECT_TRUE(inactive->Active);
    ASSERT_EQ(inactive->ListeSignatures->Miniatures.size(), 1u);
    EXPECT_EQ(inactive->ListeSignatures->Miniatures[0]->Fichier, ancienne + QStringLiteral("/reste.jpg"));

    // An active destination keeps its signatures even when their files are gone.
    auto orpheline = std::make_shared<Tminiature>();
    orpheline->Fichier = ancienne + QStringLiteral("/disparue.jpg");
    casse->ListeSignatures->Miniatures.push_back(orpheline);
    ASSERT_TRUE(liste.ChargeDossier(ancienne, destinations));
    EXPECT_EQ(casse->ListeSignatures->Miniatures.size(), 1u);
    EXPECT_TRUE(source->Active);
    EXPECT_FALSE(inactive->Active);
}

TEST(Trie, ParNom) {
    TSourceListe liste;
    for (const char* nom : {"b.jpg", "B2.jpg", "a.JPG", "ZOO.jpg",
                            "Z\xc3\xa8"
                            "bre.jpg",
                            "_x.jpg", "zz.gif"})
        AjouteEntree(liste, nom);
    liste.Trie(TriNom);
    // Lower-case a-z compare as upper case; "_" (95) stands after the letters; the accented
    // letter compares by its byte value.
    EXPECT_EQ(Noms(liste), (QStringList{"a.JPG", "b.jpg", "B2.jpg", "ZOO.jpg", "zz.gif",
                                        QStringLiteral("Zèbre.jpg"), "_x.jpg"}));
    // Strings and records move together.
    for (int i = 0; i < liste.Fichiers.Count(); ++i)
        EXPECT_EQ(liste.Fichiers.Texte(i), QByteArray("/s/") + liste.Fichiers.Element(i)->Nom);
}

TEST(Trie, ParExtensionTailleEtDate) {
    TSourceListe liste;
    AjouteEntree(liste, "x.jpg", 30, 5);
    AjouteEntree(liste, "y.bmp", -4, -7);
    AjouteEntree(liste, "sans", 10, 0);
    AjouteEntree(liste, "z.JPG", 20, 100);
    liste.Trie(TriExtension);
    EXPECT_EQ(Noms(liste), (QStringList{"sans", "z.JPG", "y.bmp", "x.jpg"}));
    liste.Trie(TriTaille);
    EXPECT_EQ(Noms(liste), (QStringList{"y.bmp", "sans", "z.JPG", "x.jpg"}));
    liste.Trie(TriDate);
    EXPECT_EQ(Noms(liste), (QStringList{"y.bmp", "sans", "x.jpg", "z.JPG"}));
    // Other modes leave the order alone.
    liste.Trie(0);
    liste.Trie(5);
    EXPECT_EQ(Noms(liste), (QStringList{"y.bmp", "sans", "x.jpg", "z.JPG"}));
    TSourceListe vide;
    vide.Trie(TriNom);
    EXPECT_EQ(vide.Fichiers.Count(), 0);
    // The extension is what follows the last dot.
    TSourceListe points;
    AjouteEntree(points, "b.jpg", 1, 1);
    AjouteEntree(points, "a.z.bmp", 1, 1);
    points.Trie(TriExtension);
    EXPECT_EQ(Noms(points), (QStringList{"a.z.bmp", "b.jpg"}));
}

TEST(Trie, EgalitesSelonLesEtapesDuTri) {
    // Three equal keys: the first pass exchanges the outer two and leaves the middle one.
    TSourceListe liste;
    AjouteEntree(liste, "un.jpg", 7);
    AjouteEntree(liste, "deux.jpg", 7);
    AjouteEntree(liste, "trois.jpg", 7);
    liste.Trie(TriTaille);
    EXPECT_EQ(Noms(liste), (QStringList{"trois.jpg", "deux.jpg", "un.jpg"}));
}

namespace {

// The partition sort written out step by step, recursion in its own order: L..J, then I..R.
void TriReference(std::vector<std::pair<int32_t, int>>& v, int l, int r) {
    int i = l, j = r;
    const int32_t p = v[static_cast<size_t>((l + r) / 2)].first;
    do {
        while (v[static_cast<size_t>(i)].first < p)
            ++i;
        while (v[static_cast<size_t>(j)].first > p)
            --j;
        if (i <= j) {
            std::swap(v[static_cast<size_t>(i)], v[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (j > l) TriReference(v, l, j);
    if (i < r) TriReference(v, i, r);
}

} // namespace

TEST(Trie, MemePermutationQueLesEtapesSurDesMilliersDEgalites) {
    QRandomGenerator hasard(1234);
    for (const int nombre : {2, 3, 17, 1000, 5000}) {
        for (const int valeurs : {1, 3, 50}) {
            TSourceListe liste;
            std::vector<std::pair<int32_t, int>> reference;
            for (int k = 0; k < nombre; ++k) {
                const auto taille = static_cast<int32_t>(hasard.bounded(valeurs)) - valeurs / 2;
                AjouteEntree(liste, QByteArray::number(k).constData(), taille);
                reference.emplace_back(taille, k);
            }
            liste.Trie(TriTaille);
            TriReference(reference, 0, nombre - 1);
            for (int k = 0; k < nombre; ++k)
                ASSERT_EQ(liste.Fichiers.Element(k)->Nom.toInt(), reference[static_cast<size_t>(k)].second)
                    << "nombre " << nombre << " valeurs " << valeurs << " rang " << k;
        }
    }
}
