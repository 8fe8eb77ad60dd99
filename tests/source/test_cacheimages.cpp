#include "core/source/cacheimages.h"
#include "core/source/tachesource.h"
#include "environnement.h"
#include "photo.h"
#include "photoheif.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QSize Ecran(800, 600);

// A decoded picture of known weight: 100 x 100 pixels of 4 bytes.
TImageDecodee Decodee100() {
    TImageDecodee image;
    image.Image = QImage(100, 100, QImage::Format_ARGB32);
    image.Image.fill(Qt::red);
    image.Naturelle = image.Image.size();
    image.Lisible = true;
    return image;
}
constexpr qint64 Poids = 100 * 100 * 4;

class CacheImagesTest : public testing::Test {
protected:
    EnvironnementTest env;

    QByteArray Fichier(const QString& nom, int largeur = 32) {
        const QString chemin = env.Source + u'/' + nom;
        EcritImage(chemin, largeur, 24);
        return QFile::encodeName(chemin);
    }
};

TEST_F(CacheImagesTest, LeVoisinageResteEtLeResteSortLePremier) {
    // Room for three pictures; the neighbourhood, most wanted first, is c, d, b.
    TCacheImages cache(3 * Poids);
    QList<QByteArray> fichiers;
    for (const char* nom : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        fichiers << Fichier(QString::fromLatin1(nom));
    cache.FixeVoisinage({fichiers[2], fichiers[3], fichiers[1]});
    for (const QByteArray& fichier : fichiers)
        cache.Range(fichier, Ecran, Decodee100(), EmpreinteDe(fichier));
    EXPECT_EQ(cache.Nombre(), 3);
    EXPECT_LE(cache.OctetsMax(), 3 * Poids);
    for (int i : {1, 2, 3})
        EXPECT_TRUE(cache.Cherche(fichiers[i], Ecran)) << i;
    EXPECT_FALSE(cache.Cherche(fichiers[0], Ecran));
    EXPECT_FALSE(cache.Cherche(fichiers[4], Ecran));
    // A file outside the neighbourhood is the first to go: it is not kept at all.
    EXPECT_EQ(cache.Range(fichiers[0], Ecran, Decodee100(), EmpreinteDe(fichiers[0])),
              TCacheImages::Rangement::SansPlace);
    // The last of the neighbourhood gives way to nothing but a file wanted more.
    cache.FixeVoisinage({fichiers[2], fichiers[3], fichiers[4], fichiers[1]});
    EXPECT_EQ(cache.Range(fichiers[4], Ecran, Decodee100(), EmpreinteDe(fichiers[4])),
              TCacheImages::Rangement::Gardee);
    EXPECT_FALSE(cache.Cherche(fichiers[1], Ecran));
    // A picture larger than the whole bound is never kept.
    TImageDecodee enorme = Decodee100();
    enorme.Image = QImage(200, 200, QImage::Format_ARGB32);
    cache.FixeVoisinage({fichiers[0]});
    EXPECT_EQ(cache.Range(fichiers[0], Ecran, enorme, EmpreinteDe(fichiers[0])),
              TCacheImages::Rangement::SansPlace);
    EXPECT_LE(cache.OctetsMax(), 3 * Poids);
}

TEST_F(CacheImagesTest, HorsDuVoisinageLeMoinsRecemmentUtiliseSortLePremier) {
    // Room for three pictures; v is the neighbourhood.
    TCacheImages cache(3 * Poids);
    const QByteArray v = Fichier("v.jpg"), x = Fichier("x.jpg"), y = Fichier("y.jpg"), z = Fichier("z.jpg");
    cache.FixeVoisinage({v});
    for (const QByteArray& fichier : {v, x, y, z}) {
        EXPECT_EQ(cache.Range(fichier, Ecran, Decodee100(), EmpreinteDe(fichier)),
                  TCacheImages::Rangement::Gardee);
        // x looked at again once y is kept: y becomes the least recently used.
        if (fichier == y) {
            ASSERT_TRUE(cache.Cherche(x, Ecran));
        }
    }
    EXPECT_FALSE(cache.Cherche(y, Ecran));
    EXPECT_TRUE(cache.Cherche(v, Ecran) && cache.Cherche(x, Ecran) && cache.Cherche(z, Ecran));
}

TEST_F(CacheImagesTest, UnFichierChangeOuPartiNEstPlusRendu) {
    TCacheImages cache;
    const QByteArray change = Fichier(QStringLiteral("change.jpg"));
    const QByteArray parti = Fichier(QStringLiteral("parti.jpg"));
    const QByteArray oublie = Fichier(QStringLiteral("oublie.jpg"));
    for (const QByteArray& fichier : {change, parti, oublie})
        ASSERT_EQ(cache.Range(fichier, Ecran, Decodee100(), EmpreinteDe(fichier)),
                  TCacheImages::Rangement::Gardee);
    EXPECT_FALSE(cache.Cherche(change, QSize(1024, 768))) << "decoded for another screen";
    EcritImage(QFile::decodeName(change), 64, 24);
    ASSERT_TRUE(QFile::remove(QFile::decodeName(parti)));
    EXPECT_FALSE(cache.Cherche(change, Ecran));
    EXPECT_FALSE(cache.Cherche(parti, Ecran));
    // A file moved away and put back unchanged: only Oublie tells the cache it left.
    EXPECT_TRUE(cache.Cherche(oublie, Ecran));
    cache.Oublie(oublie);
    EXPECT_FALSE(cache.Cherche(oublie, Ecran));
    EXPECT_EQ(cache.Octets(), 0);
    // A picture decoded from a file that changed during the decode is not kept.
    const TEmpreinteFichier avant = EmpreinteDe(change);
    EcritImage(QFile::decodeName(change), 96, 24);
    EXPECT_EQ(cache.Range(change, Ecran, Decodee100(), avant), TCacheImages::Rangement::Perimee);
    EXPECT_EQ(cache.Range(parti, Ecran, Decodee100(), EmpreinteDe(parti)), TCacheImages::Rangement::Perimee);
}

TEST_F(CacheImagesTest, LesChargeursServentLesUrgentsMemeSansPlace) {
    // A cache with room for one 32 x 24 picture: the two urgent files are always decoded and
    // handed over; the anticipated ones stop at the first that the cache cannot keep.
    QList<QByteArray> fichiers;
    for (int i = 0; i < 8; ++i)
        fichiers << Fichier(QStringLiteral("f%1.jpg").arg(i));
    TCacheImages cache(32 * 24 * 4);
    cache.FixeVoisinage(fichiers);
    QList<QByteArray> recues;
    {
        TChargeurImages chargeur(cache);
        // Handed over on this thread, as the window receives them.
        QObject temoin;
        QObject::connect(&chargeur, &TChargeurImages::Decodee, &temoin,
                         [&recues](const QByteArray& chemin, const TImageDecodee& image) {
                             EXPECT_EQ(image.Naturelle, QSize(32, 24));
                             recues << chemin;
                         });
        chargeur.Veut(fichiers.first(2), fichiers.sliced(2), Ecran);
        ASSERT_TRUE(
            AttendQue([&] { return recues.contains(fichiers[0]) && recues.contains(fichiers[1]); }, 10000));
        // Once the loaders rest, whatever they handed over is waiting here: nothing more can come.
        ASSERT_TRUE(AttendQue([&] { return chargeur.AuRepos(); }, 10000));
        QCoreApplication::sendPostedEvents(&temoin);
    }
    EXPECT_LT(recues.size(), fichiers.size());
    EXPECT_EQ(cache.Nombre(), 1);
    EXPECT_TRUE(cache.Cherche(fichiers[0], Ecran));
}

// HEIF pictures cannot be stopped once their decode has begun, so a loader begins one only once
// the wants have settled; a held key's steps get each file's thumbnail meanwhile. One thread, and
// wants that never settle: the first pictures come and no whole one is begun, but for a file with
// no thumbnail, whose slot has nothing else to show. Once the wants settle, the whole pictures come.
TEST_F(CacheImagesTest, UnDecodageQuiNeSArretePasAttendQueLesDemandesSeCalment) {
    struct Calme {
        Calme() { TChargeurImages::CalmeMs = 3600 * 1000; }
        ~Calme() { TChargeurImages::CalmeMs = 150; }
    } calme;
    TOptionsHeif avecVignette;
    avecVignette.Vignette = 64;
    QList<QByteArray> fichiers;
    for (int i = 0; i < 4; ++i) {
        const QString chemin = env.Source + QStringLiteral("/p%1.heic").arg(i);
        EcritFichier(QFile::encodeName(chemin),
                     OctetsHeif(PhotoSynthetique(i, 320, 240), i < 3 ? avecVignette : TOptionsHeif{}));
        fichiers << QFile::encodeName(chemin);
    }
    const QByteArray &a = fichiers[0], &b = fichiers[1], &c = fichiers[2], sansVignette = fichiers[3];
    TCacheImages cache(64 << 20);
    cache.FixeVoisinage(fichiers);
    QStringList recus;
    {
        TChargeurImages chargeur(cache, 1);
        QObject temoin;
        auto note = [&recus](const char* quoi) {
            return [&recus, quoi](const QByteArray& chemin, const TImageDecodee& image) {
                EXPECT_EQ(image.Naturelle, QSize(320, 240));
                recus << QLatin1String(quoi) + QFile::decodeName(chemin).section(u'/', -1);
            };
        };
        QObject::connect(&chargeur, &TChargeurImages::Ebauche, &temoin, note("ebauche "));
        QObject::connect(&chargeur, &TChargeurImages::Decodee, &temoin, note("entiere "));
        auto attend = [&recus](const QString& quoi) {
            return AttendQue([&] { return recus.contains(quoi); }, 10000);
        };

        // The one thread holds a's whole decode back and leaves it for b, which has nothing on screen.
        chargeur.Veut({a}, {c}, Ecran);
        ASSERT_TRUE(attend(QStringLiteral("ebauche p0.heic")));
        chargeur.Veut({b, a}, {c}, Ecran);
        ASSERT_TRUE(attend(QStringLiteral("ebauche p1.heic")));
        // A file with no thumbnail is decoded whole at once.
        chargeur.Veut({sansVignette, b, a}, {c}, Ecran);
        ASSERT_TRUE(attend(QStringLiteral("entiere p3.heic")));
        // The one thread hands over in the order it works: no whole picture of a before b's thumbnail.
        EXPECT_EQ(recus, QStringList({"ebauche p0.heic", "ebauche p1.heic", "entiere p3.heic"}));
        EXPECT_FALSE(chargeur.AuRepos());

        // Settled: the urgent files whole, the one with its first picture on screen first, then
        // the anticipated one. No first picture comes twice.
        TChargeurImages::CalmeMs = 0;
        chargeur.Veut({a, b}, {c}, Ecran);
        ASSERT_TRUE(AttendQue([&] { return chargeur.AuRepos(); }, 10000));
        QCoreApplication::sendPostedEvents(&temoin);
        EXPECT_EQ(recus.sliced(3), QStringList({"entiere p0.heic", "entiere p1.heic", "entiere p2.heic"}));
        EXPECT_TRUE(cache.Cherche(c, Ecran));

        // A thread waiting to begin a whole decode lets the loader go at once.
        TChargeurImages::CalmeMs = 3600 * 1000;
        cache.Oublie(a);
        chargeur.Veut({a}, {}, Ecran);
        ASSERT_TRUE(AttendQue([&] { return TTacheSource::Vivantes() == 1; }, 10000));
    }
    EXPECT_EQ(TTacheSource::Vivantes(), 0);
}

} // namespace

TEST_F(CacheImagesTest, UnAutreEcranFaitDecoderDeNouveauPourLui) {
    // Moved to another screen while decoding: the file comes for the new size, nothing for the old.
    const QString nom = env.Source + QStringLiteral("/grande.jpg");
    PhotoSynthetique(3, 4000, 3000, 40).save(nom, "JPEG", 90);
    const QByteArray fichier = QFile::encodeName(nom);
    // Whole for the old screen, which takes long enough to be under way when the new one comes.
    const QSize ancien(4000, 3000), nouveau(2000, 1500);
    TCacheImages cache;
    QList<QSize> recues;
    {
        TChargeurImages chargeur(cache);
        QObject temoin;
        QObject::connect(&chargeur, &TChargeurImages::Decodee, &temoin,
                         [&](const QByteArray&, const TImageDecodee& image, QSize ecran) {
                             EXPECT_TRUE(image.Lisible);
                             recues << ecran;
                         });
        chargeur.Veut({fichier}, {}, ancien);
        ASSERT_TRUE(AttendQue([] { return TTacheSource::Vivantes() > 0; }, 10000));
        chargeur.Veut({fichier}, {}, nouveau);
        ASSERT_TRUE(AttendQue([&] { return recues.contains(nouveau); }, 20000));
        ASSERT_TRUE(AttendQue([&] { return chargeur.AuRepos(); }, 10000));
        QCoreApplication::sendPostedEvents(&temoin);
    }
    EXPECT_EQ(recues.back(), nouveau);
    EXPECT_TRUE(cache.Cherche(fichier, nouveau));
    EXPECT_FALSE(cache.Cherche(fichier, ancien));
}
