#include "core/destinations/fichiers.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

QByteArray Contenu(const QByteArray& chemin) {
    QFile f(QFile::decodeName(chemin));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class FichiersTest : public testing::Test {
protected:
    QByteArray Dossier(const char* nom) { return QFile::encodeName(env.Dossier(QString::fromLatin1(nom))); }
    EnvironnementTest env;
};

TEST_F(FichiersTest, NomsLibresEnCasDeCollision) {
    const QByteArray d = Dossier("d"), s = Dossier("s");
    EcritFichier(d + "/a.jpg", "1");
    EcritFichier(d + "/a1.jpg", "2");
    EXPECT_EQ(Fichiers::CibleLibre(d, "a.jpg", s + "/a.jpg"), d + "/a2.jpg");
    EcritFichier(d + "/x.jpeg", "3");
    EXPECT_EQ(Fichiers::CibleLibre(d, "x.jpeg", s + "/x.jpeg"), d + "/x.1.jpeg");
    EXPECT_EQ(Fichiers::CibleLibre(d, "libre.gif", s + "/libre.gif"), d + "/libre.gif");
    // The file itself: no new name, and the caller does nothing.
    EXPECT_EQ(Fichiers::CibleLibre(d, "a.jpg", d + "/a.jpg"), d + "/a.jpg");
    EXPECT_EQ(Fichiers::CibleLibre("/", "a.jpg", "/x/a.jpg"), QByteArray("/a.jpg"));
}

// The collision number for every kind of extension: the historical ones keep the four-character
// cut, any other gets the number before its dot, whatever its length, letter case or digits.
TEST_F(FichiersTest, NumeroDeCollisionSelonLExtension) {
    const QByteArray d = Dossier("d"), s = Dossier("s");
    struct Cas {
        const char* nom;
        const char* premier;
        const char* second;
    };
    const Cas cas[] = {
        {"x.jpeg", "x.1.jpeg", "x.2.jpeg"},
        {"X.JPEG", "X.1.JPEG", "X.2.JPEG"},
        {"IMG.jpg", "IMG1.jpg", "IMG2.jpg"},
        {"p.JPE", "p1.JPE", "p2.JPE"},
        {"b.bmp", "b1.bmp", "b2.bmp"},
        {"g.gif", "g1.gif", "g2.gif"},
        {"IMG_1.heic", "IMG_11.heic", "IMG_12.heic"},
        {"a.tiff", "a1.tiff", "a2.tiff"},
        {"a.TIFF", "a1.TIFF", "a2.TIFF"},
        {"a.png", "a1.png", "a2.png"},
        {"w.webp", "w1.webp", "w2.webp"},
        {"v.avif", "v1.avif", "v2.avif"},
        {"h.heif", "h1.heif", "h2.heif"},
        {"j.jxl", "j1.jxl", "j2.jxl"},
        {"r.3fr", "r1.3fr", "r2.3fr"},
        {"c.cr2", "c1.cr2", "c2.cr2"},
        {"s.SR2", "s1.SR2", "s2.SR2"},
        {"p.rw2", "p1.rw2", "p2.rw2"},
        {"DSC.0001.nef", "DSC.00011.nef", "DSC.00012.nef"},
        {"t.tar.heic", "t.tar1.heic", "t.tar2.heic"},
        {"e.heic", "e1.heic", "e2.heic"},
        {"sansextension", "sansextension1", "sansextension2"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const QByteArray nom(c.nom);
        EcritFichier(d + '/' + nom, "pris");
        const QByteArray premier = Fichiers::CibleLibre(d, nom, s + '/' + nom);
        EXPECT_EQ(premier, d + '/' + c.premier);
        EcritFichier(premier, "pris aussi");
        EXPECT_EQ(Fichiers::CibleLibre(d, nom, s + '/' + nom), d + '/' + c.second);
    }
}

TEST_F(FichiersTest, DeplacementSansJamaisRemplacer) {
    const QByteArray s = Dossier("s"), d = Dossier("d");
    EcritFichier(s + "/a.jpg", "photo");
    ASSERT_TRUE(Fichiers::Deplace(s + "/a.jpg", d + "/a.jpg").Reussi);
    EXPECT_FALSE(Fichiers::Existe(s + "/a.jpg"));
    EXPECT_EQ(Contenu(d + "/a.jpg"), QByteArray("photo"));

    // A name taken since: refused, both files intact.
    EcritFichier(s + "/b.jpg", "nouvelle");
    EcritFichier(d + "/b.jpg", "ancienne");
    const Fichiers::Resultat pris = Fichiers::Deplace(s + "/b.jpg", d + "/b.jpg");
    EXPECT_FALSE(pris.Reussi);
    EXPECT_FALSE(pris.Raison.isEmpty());
    // The cause, for the caller to act on: a name taken is tried again under the next number.
    EXPECT_EQ(pris.Code, EEXIST);
    EXPECT_EQ(Contenu(s + "/b.jpg"), QByteArray("nouvelle"));
    EXPECT_EQ(Contenu(d + "/b.jpg"), QByteArray("ancienne"));
    EXPECT_FALSE(Fichiers::Copie(s + "/b.jpg", d + "/b.jpg").Reussi);
    EXPECT_EQ(Contenu(d + "/b.jpg"), QByteArray("ancienne"));

    // The source gone, the folder gone.
    const Fichiers::Resultat absent = Fichiers::Deplace(s + "/absent.jpg", d + "/absent.jpg");
    EXPECT_FALSE(absent.Reussi);
    EXPECT_EQ(absent.Code, ENOENT);
    const Fichiers::Resultat sansDossier = Fichiers::Deplace(s + "/b.jpg", d + "/perdu/b.jpg");
    EXPECT_FALSE(sansDossier.Reussi);
    EXPECT_EQ(sansDossier.Code, ENOENT);
    EXPECT_TRUE(Fichiers::Existe(s + "/b.jpg"));

    ASSERT_TRUE(Fichiers::Copie(s + "/b.jpg", d + "/c.jpg").Reussi);
    EXPECT_TRUE(Fichiers::Existe(s + "/b.jpg"));
    EXPECT_EQ(Contenu(d + "/c.jpg"), QByteArray("nouvelle"));
}

TEST_F(FichiersTest, DeplacementEntreSystemesDeFichiers) {
    if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable()) GTEST_SKIP() << "no /dev/shm here";
    QTemporaryDir memoire(QStringLiteral("/dev/shm/mirasolve-XXXXXX"));
    ASSERT_TRUE(memoire.isValid());
    const QByteArray source = QFile::encodeName(memoire.path()) + "/grande.jpg";
    QByteArray contenu(3 << 20, '\0');
    for (qsizetype i = 0; i < contenu.size(); ++i)
        contenu[i] = static_cast<char>(i * 7);
    EcritFichier(source, contenu);
    const QByteArray cible = Dossier("disque") + "/grande.jpg";
    const Fichiers::Resultat resultat = Fichiers::Deplace(source, cible);
    ASSERT_TRUE(resultat.Reussi) << resultat.Raison.toStdString();
    EXPECT_FALSE(Fichiers::Existe(source));
    EXPECT_EQ(Contenu(cible), contenu);
}

#include "core/app/attente.h"
#include "core/destinations/corbeille.h"

#include <sys/stat.h>

namespace {

class AttenteComptee : public IAttente {
public:
    void Prepare(const QString& t, int m) override {
        texte = t;
        maximum = m;
    }
    void Avance() override { ++pas; }
    void Cache() override { ++caches; }
    QString texte;
    int maximum = -1, pas = 0, caches = 0;
};

} // namespace

TEST_F(FichiersTest, ViderLaCorbeille) {
    const QByteArray corbeille = Dossier("Corbeille");
    for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", ".cachee.jpg"})
        EcritFichier(corbeille + '/' + nom, "x");
    for (const char* nom : {"b.jpg", "c.jpg"})
        ::chmod((corbeille + '/' + nom).constData(), 0444);
    env.Dossier(QStringLiteral("Corbeille/sous-dossier"));
    const QDir contenu(QFile::decodeName(corbeille));
    const auto reste = [&contenu] {
        return contenu.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    };

    // "Non" applies to one file only: each read-only file is asked about and kept.
    QStringList questions;
    AttenteComptee attente;
    VideCorbeille(contenu.path(), &attente, [&](const QString& question) {
        questions << question;
        return ReponseLectureSeule::Non;
    });
    EXPECT_EQ(attente.texte, QStringLiteral("Vider la corbeille"));
    EXPECT_EQ(attente.maximum, 5);
    EXPECT_EQ(attente.pas, 5);
    EXPECT_EQ(attente.caches, 1);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Le fichier '")));
    EXPECT_TRUE(questions[0].endsWith(QStringLiteral("' est en lecture seule, voulez-vous l'effacer ?")));
    EXPECT_EQ(reste(), (QStringList{"b.jpg", "c.jpg", "sous-dossier"}));

    // "Tout" at the first question deletes the others without asking; the sub-folder stays.
    questions.clear();
    VideCorbeille(contenu.path(), nullptr, [&](const QString& question) {
        questions << question;
        return ReponseLectureSeule::Tout;
    });
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(reste(), QStringList{"sous-dossier"});

    // An empty trash still shows the wait window with a maximum of 0.
    const QByteArray vide = Dossier("Vide");
    AttenteComptee rien;
    VideCorbeille(QFile::decodeName(vide), &rien, nullptr);
    EXPECT_EQ(rien.maximum, 0);
    EXPECT_EQ(rien.caches, 1);
}

TEST_F(FichiersTest, UneCopieDontLaTailleNeCorrespondPasEchoue) {
    // A file that reports one size and reads more bytes: the copy is refused and leaves nothing.
    const QByteArray d = Dossier("d");
    const Fichiers::Resultat copie = Fichiers::Copie("/proc/self/status", d + "/status.jpg");
    EXPECT_FALSE(copie.Reussi);
    EXPECT_FALSE(copie.Raison.isEmpty());
    EXPECT_FALSE(Fichiers::Existe(d + "/status.jpg"));
}
