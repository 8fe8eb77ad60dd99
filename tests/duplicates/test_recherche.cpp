#include "core/destinations/destination.h"
#include "core/destinations/fermeture.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/dejaclasse.h"
#include "core/duplicates/ecart.h"
#include "core/duplicates/planification.h"
#include "core/duplicates/recherche.h"
#include "environnement.h"
#include "photo.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

void EcritJpeg(const QString& chemin, const QImage& image, int qualite = 90) {
    QImageWriter ecrivain(chemin, "jpeg");
    ecrivain.setQuality(qualite);
    ASSERT_TRUE(ecrivain.write(image)) << chemin.toStdString();
}

QImage Eclaircie(const QImage& source, int ajout) {
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ligne[x] = qRgb(std::min(255, qRed(ligne[x]) + ajout), std::min(255, qGreen(ligne[x]) + ajout),
                            std::min(255, qBlue(ligne[x]) + ajout));
    }
    return image;
}

// The destinations of a test, each searched by a task on demand, in a store of its own.
class RechercheTest : public testing::Test {
protected:
    RechercheTest() {
        contexte.DossierProgramme = env.Programme;
        contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        QDir().mkpath(contexte.DossierSignatures());
        // Entry 0 is the trash, never searched nor compared with.
        destinations.Ajoute(TitreCorbeille, std::make_shared<TDestination>());
    }
    std::shared_ptr<TDestination> Ouvre(const QString& dossier, const QStringList& file = {}) {
        auto d = std::make_shared<TDestination>(&contexte);
        d->Charge(dossier, QFileInfo(dossier).fileName());
        // The queue in the order the test gives, when it gives one.
        if (!file.isEmpty()) {
            d->ATraiter.clear();
            for (const QString& nom : file)
                d->ATraiter << dossier + u'/' + nom;
        }
        d->RechercheLocale = true;
        destinations.Ajoute(d->Titre, d);
        return d;
    }
    void Cherche(const std::shared_ptr<TDestination>& d, int aides = 0) {
        std::shared_ptr<TListeGenerale> generales;
        if (d->RechercheGenerale) {
            generales = std::make_shared<TListeGenerale>();
            generales->Remplace(SignaturesGenerales(destinations));
        }
        TTacheMini tache(d, generales, sensibilite, occupe, aides);
        EXPECT_EQ(occupe.load(), 1);
        tache.start(QThread::IdlePriority);
        ASSERT_TRUE(tache.wait(60000));
        EXPECT_EQ(occupe.load(), 0);
    }
    // The comparison the tick starts first, run as the main window runs it: the index of its
    // destination, or -1 when none is due.
    int CompareSiDue() {
        const TBilanRecherche bilan = BilanRecherche(destinations, true, 0);
        if (bilan.ADemarrer < 0 || !bilan.Comparaison) return -1;
        const std::shared_ptr<TDestination> d = destinations.Partage(bilan.ADemarrer);
        TTacheComparaison tache(d, PartenairesGeneraux(destinations, bilan.ADemarrer), d->RepriseComparaison,
                                d->GenerationComparaison, sensibilite, occupe);
        tache.start();
        EXPECT_TRUE(tache.wait(60000));
        EXPECT_TRUE(
            ConclutComparaison(*d, tache.Generation, tache.Reprise, tache.Terminee, tache.LignesAjoutees));
        return bilan.ADemarrer;
    }
    static QStringList Noms(const QStringList& lignes) {
        QStringList noms;
        for (const QString& ligne : lignes)
            noms << QFileInfo(ligne.section(u'*', 1, 1)).fileName() + u'>' +
                        QFileInfo(ligne.section(u'*', 2, 2)).fileName();
        return noms;
    }

    EnvironnementTest env;
    TContexteDestinations contexte;
    TListeDestinations destinations{};
    std::atomic<int32_t> occupe{0};
    std::atomic<int32_t> sensibilite{150000};
};

} // namespace

TEST_F(RechercheTest, LocaleTrouveLesCopiesMaisPasLeMiroir) {
    const QString dossier = env.Dossier(QStringLiteral("Photos"));
    const QImage photo = PhotoSynthetique(7, 1200, 800);
    EcritJpeg(dossier + QStringLiteral("/original.jpg"), photo);
    EcritJpeg(dossier + QStringLiteral("/reduite.jpg"),
              photo.scaled(600, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    EcritJpeg(dossier + QStringLiteral("/recompressee.jpg"), photo, 40);
    EcritJpeg(dossier + QStringLiteral("/eclaircie.jpg"), Eclaircie(photo, 30));
    EcritJpeg(dossier + QStringLiteral("/miroir.jpg"), photo.mirrored(true, false));
    EcritJpeg(dossier + QStringLiteral("/autre.jpg"), PhotoSynthetique(8, 1200, 800));
    EcritFichier(QFile::encodeName(dossier + QStringLiteral("/casse.jpg")), "pas une image");
    auto d = Ouvre(dossier, {"original.jpg", "reduite.jpg", "recompressee.jpg", "eclaircie.jpg", "miroir.jpg",
                             "autre.jpg", "casse.jpg"});
    Cherche(d);
    const QStringList noms = Noms(d->Doublons);
    for (const char* copie :
         {"reduite.jpg>original.jpg", "recompressee.jpg>original.jpg", "eclaircie.jpg>original.jpg"})
        EXPECT_TRUE(noms.contains(QString::fromLatin1(copie)))
            << copie << " " << noms.join(u' ').toStdString();
    EXPECT_FALSE(noms.join(u' ').contains(QStringLiteral("miroir"))) << noms.join(u' ').toStdString();
    EXPECT_FALSE(noms.join(u' ').contains(QStringLiteral("autre"))) << noms.join(u' ').toStdString();
    // Sorted: the closest pairs first.
    EXPECT_TRUE(std::is_sorted(d->Doublons.begin(), d->Doublons.end()));
    const TDestination::TComptes comptes = d->Comptes();
    EXPECT_EQ(comptes.Signatures, 6);
    EXPECT_EQ(comptes.Intraitables, 1);
    EXPECT_EQ(comptes.ATraiter, 0);

    // Saved and read again: the same signatures and pairs, nothing left to decode.
    ASSERT_TRUE(d->SauveSignatures());
    auto relue = std::make_shared<TDestination>(&contexte);
    relue->Charge(dossier, QStringLiteral("Photos"));
    EXPECT_EQ(relue->Comptes().Signatures, 6);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);
    EXPECT_EQ(relue->Doublons, d->Doublons);
}

// A name that is not valid text (Latin-1 bytes) is opened by its bytes, and once signed it is known
// again at the next load.
TEST_F(RechercheTest, NomQuiNEstPasDuTexte) {
    const QString dossier = env.Dossier(QStringLiteral("Octets"));
    QByteArray jpeg;
    QBuffer tampon(&jpeg);
    tampon.open(QIODevice::WriteOnly);
    ASSERT_TRUE(PhotoSynthetique(4, 300, 200).save(&tampon, "JPEG"));
    EcritFichier(QFile::encodeName(dossier) + "/caf\xe9.jpg", jpeg);
    auto d = Ouvre(dossier);
    ASSERT_EQ(d->Comptes().ATraiter, 1);
    Cherche(d);
    EXPECT_EQ(d->Comptes().Signatures, 1);
    EXPECT_EQ(d->Comptes().Intraitables, 0);
    ASSERT_TRUE(d->SauveSignatures());
    auto relue = std::make_shared<TDestination>(&contexte);
    relue->Charge(dossier, QStringLiteral("Octets"));
    EXPECT_EQ(relue->Comptes().Signatures, 1);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);
}

TEST_F(RechercheTest, UnePaireUneFoisChezLaDerniereTraitee) {
    const QString dossier = env.Dossier(QStringLiteral("Deux"));
    const QImage photo = PhotoSynthetique(3, 400, 300);
    EcritJpeg(dossier + QStringLiteral("/b.jpg"), photo);
    EcritJpeg(dossier + QStringLiteral("/a.jpg"), photo);
    auto d = Ouvre(dossier, {"b.jpg", "a.jpg"});
    Cherche(d);
    ASSERT_EQ(d->Doublons.size(), 1);
    EXPECT_EQ(Noms(d->Doublons).front(), QStringLiteral("a.jpg>b.jpg"));
    EXPECT_TRUE(d->Doublons.front().startsWith(QStringLiteral("0000000000*")));
    // Existing signatures are not compared again.
    Cherche(d);
    EXPECT_EQ(d->Doublons.size(), 1);
}

TEST_F(RechercheTest, GeneraleEntreDossiersActifsSeulement) {
    const QImage photo = PhotoSynthetique(5, 500, 400);
    const QString x = env.Dossier(QStringLiteral("X")), y = env.Dossier(QStringLiteral("Y"));
    EcritJpeg(x + QStringLiteral("/p.jpg"), photo);
    EcritJpeg(y + QStringLiteral("/copie.jpg"), photo, 60);
    auto dx = Ouvre(x), dy = Ouvre(y);
    Cherche(dx);
    // LOCAL: the folder's own signatures only.
    Cherche(dy);
    EXPECT_TRUE(dy->Doublons.isEmpty());

    // GENERAL, the other folder inactive (it is the source): left out.
    auto dy2 = Ouvre(env.Dossier(QStringLiteral("Y2")));
    EcritJpeg(dy2->Chemin + QStringLiteral("/copie.jpg"), photo, 60);
    dy2->AjouteATraiter(dy2->Chemin + QStringLiteral("/copie.jpg"));
    dy2->RechercheGenerale = true;
    dx->Active = false;
    dy->Active = false;
    Cherche(dy2);
    EXPECT_TRUE(dy2->Doublons.isEmpty());

    // Active again: the pair is listed in the searched destination only.
    dx->Active = true;
    auto dz = Ouvre(env.Dossier(QStringLiteral("Z")));
    EcritJpeg(dz->Chemin + QStringLiteral("/encore.jpg"), photo, 70);
    dz->AjouteATraiter(dz->Chemin + QStringLiteral("/encore.jpg"));
    dz->RechercheGenerale = true;
    Cherche(dz);
    QStringList noms = Noms(dz->Doublons);
    noms.sort();
    EXPECT_EQ(noms, (QStringList{"encore.jpg>copie.jpg", "encore.jpg>p.jpg"}));
    EXPECT_TRUE(dx->Doublons.isEmpty());
}

// Destinations searched LOCAL, then all switched to GENERAL: their signatures are compared once,
// without decoding (the files are no pictures any more), the pair recorded once whatever follows.
TEST_F(RechercheTest, EntreeEnGeneraleAppareilleSansDecoderEtUneFois) {
    const QImage photo = PhotoSynthetique(5, 500, 400);
    const QString x = env.Dossier(QStringLiteral("X")), y = env.Dossier(QStringLiteral("Y"));
    const QStringList fichiers{x + QStringLiteral("/p.jpg"), x + QStringLiteral("/seule.jpg"),
                               y + QStringLiteral("/copie.jpg")};
    EcritJpeg(fichiers[0], photo);
    EcritJpeg(fichiers[1], PhotoSynthetique(6, 500, 400));
    EcritJpeg(fichiers[2], photo, 60);
    auto dx = Ouvre(x), dy = Ouvre(y);
    Cherche(dx);
    Cherche(dy);
    ASSERT_TRUE(dx->Doublons.isEmpty() && dy->Doublons.isEmpty());
    for (const QString& fichier : fichiers)
        EcritFichier(QFile::encodeName(fichier), "plus une image");

    FixeModeRecherche(destinations, true, true);
    EXPECT_TRUE(QFile::exists(FichierComparaison(*dx)));
    // X first, while Y's own comparison is pending; Y's then pairs with X.
    EXPECT_EQ(CompareSiDue(), 1);
    EXPECT_EQ(CompareSiDue(), 2);
    EXPECT_EQ(CompareSiDue(), -1);
    EXPECT_TRUE(dx->Doublons.isEmpty());
    EXPECT_EQ(Noms(dy->Doublons), QStringList{QStringLiteral("copie.jpg>p.jpg")});
    EXPECT_FALSE(QFile::exists(FichierComparaison(*dx)) || QFile::exists(FichierComparaison(*dy)));

    // Again GENERAL, or out of it and back: no second line for the pair.
    FixeModeRecherche(destinations, true, true);
    EXPECT_EQ(CompareSiDue(), -1);
    FixeModeRecherche(destinations, true, false);
    EXPECT_FALSE(QFile::exists(FichierComparaison(*dx)));
    FixeModeRecherche(destinations, true, true);
    EXPECT_EQ(CompareSiDue(), 1);
    EXPECT_EQ(CompareSiDue(), 2);
    EXPECT_EQ(dx->Doublons.size() + dy->Doublons.size(), 1);

    // A signature forgotten after it was compared (a deletion, an undo) makes no pair.
    dy->EffaceDoublons();
    const auto signaturesX = dx->CopieSignatures(), signaturesY = dy->CopieSignatures();
    const auto p = signaturesX.front()->Fichier == fichiers[0] ? signaturesX.front() : signaturesX.back();
    dx->Oublie(fichiers[0]);
    EXPECT_EQ(dy->AjoutePairesCroisees(*signaturesY.front(), fichiers[2], *dx, {{p, fichiers[0], 1}}), 0);
}

// A pending comparison that cannot be kept on disk is said, with its folder; it still runs now.
TEST_F(RechercheTest, MarqueDeComparaisonNonEcrite) {
    const QString x = env.Dossier(QStringLiteral("X"));
    EcritJpeg(x + QStringLiteral("/a.jpg"), PhotoSynthetique(31, 500, 400));
    auto dx = Ouvre(x);
    Cherche(dx);
    // A folder where the file should go: it cannot be written.
    ASSERT_TRUE(QDir().mkpath(FichierComparaison(*dx)));
    EXPECT_EQ(FixeModeRecherche(destinations, true, true), QStringList{x});
    EXPECT_TRUE(dx->ComparaisonEnAttente);
    EXPECT_TRUE(MessageMarqueComparaison({x}).contains(x));
    ASSERT_TRUE(QDir(FichierComparaison(*dx)).removeRecursively());
    EXPECT_TRUE(FixeModeRecherche(destinations, true, false).isEmpty());
}

// A comparison stopped is kept beside the store and resumes where it stopped once the folder is
// open in GENERAL mode again: after a restart, or another configuration opened (closing every
// destination asking nothing) and then this one again, even one naming the folder in LOCAL mode.
TEST_F(RechercheTest, ComparaisonArreteeReprendApresFermeture) {
    const QString x = env.Dossier(QStringLiteral("X")), y = env.Dossier(QStringLiteral("Y"));
    for (int i = 0; i < 3; ++i) {
        const QImage photo = PhotoSynthetique(21 + i, 500, 400);
        EcritJpeg(x + QStringLiteral("/%1.jpg").arg(QChar(u'a' + i)), photo);
        if (i != 1) EcritJpeg(y + QStringLiteral("/%1-copie.jpg").arg(QChar(u'a' + i)), photo, 60);
    }
    auto dx = Ouvre(x), dy = Ouvre(y);
    Cherche(dx);
    Cherche(dy);
    dy->RechercheGenerale = dx->RechercheGenerale = true;
    SuitChangementDeMode(*dx, false);
    TTacheComparaison arretee(dx, PartenairesGeneraux(destinations, 1), QString(), dx->GenerationComparaison,
                              sensibilite, occupe);
    arretee.DemandeArret();
    arretee.start();
    ASSERT_TRUE(arretee.wait(60000));
    EXPECT_FALSE(arretee.Terminee);
    // As it stands after a run stopped once a.jpg was compared.
    EXPECT_TRUE(ConclutComparaison(*dx, arretee.Generation, x + QStringLiteral("/a.jpg"), false, 0));
    TListeGroupe groupes;
    groupes.Destinations = &destinations;
    for (int i = 0; i < destinations.Count(); ++i)
        groupes.Ajoute(*destinations.Element(i));
    EXPECT_TRUE(TFermeture(destinations, groupes, contexte).FermeTout(ReponseConfirmation::NonPourTous));

    auto relue = [&](const QString& dossier, bool generale) {
        auto d = std::make_shared<TDestination>(&contexte);
        d->Charge(dossier, QFileInfo(dossier).fileName());
        d->RechercheLocale = true;
        d->RechercheGenerale = generale;
        RetrouveComparaison(*d);
        destinations.Ajoute(d->Titre, d);
        return d;
    };
    EXPECT_FALSE(relue(x, false)->ComparaisonEnAttente);
    destinations.DetruitDepuis(1);
    auto rx = relue(x, true), ry = relue(y, true);
    EXPECT_EQ(rx->RepriseComparaison, x + QStringLiteral("/a.jpg"));
    EXPECT_EQ(CompareSiDue(), 1);
    // Resumed after a.jpg: c.jpg's pair only.
    EXPECT_EQ(Noms(rx->Doublons), QStringList{QStringLiteral("c.jpg>c-copie.jpg")});
    EXPECT_FALSE(rx->ComparaisonEnAttente || QFile::exists(FichierComparaison(*rx)));
}

TEST_F(RechercheTest, UnFilOuPlusieursMemesResultatsEtArretEnCours) {
    const QString dossier = env.Dossier(QStringLiteral("Lot"));
    QStringList file;
    for (int i = 0; i < 40; ++i) {
        const QString nom = QStringLiteral("%1.jpg").arg(i, 2, 10, QChar(u'0'));
        // Every fifth picture a copy of the one before.
        EcritJpeg(dossier + u'/' + nom, PhotoSynthetique(i % 5 == 4 ? i - 1 : i, 320, 240), 50 + i);
        file << nom;
    }
    EcritFichier(QFile::encodeName(dossier + QStringLiteral("/zz.jpg")), "illisible");
    file << QStringLiteral("zz.jpg");
    auto seul = Ouvre(dossier, file);
    Cherche(seul, 0);
    auto pool = std::make_shared<TDestination>(&contexte);
    pool->Charge(dossier, QStringLiteral("Lot"));
    pool->ATraiter.clear();
    for (const QString& nom : file)
        pool->ATraiter << dossier + u'/' + nom;
    Cherche(pool, 3);
    EXPECT_EQ(pool->Doublons, seul->Doublons);
    EXPECT_EQ(pool->ListeSignatures->Intraitables, seul->ListeSignatures->Intraitables);
    ASSERT_EQ(pool->Comptes().Signatures, seul->Comptes().Signatures);
    for (size_t i = 0; i < seul->ListeSignatures->Miniatures.size(); ++i) {
        EXPECT_EQ(pool->ListeSignatures->Miniatures[i]->Fichier,
                  seul->ListeSignatures->Miniatures[i]->Fichier);
        EXPECT_EQ(pool->ListeSignatures->Miniatures[i]->Grille, seul->ListeSignatures->Miniatures[i]->Grille);
    }
    EXPECT_GE(seul->Doublons.size(), 8);

    // Stopped at the first progress report: the rest stays queued, in order, nothing untreatable.
    auto arretee = std::make_shared<TDestination>(&contexte);
    arretee->Charge(dossier, QStringLiteral("Lot"));
    arretee->ATraiter.clear();
    for (const QString& nom : file)
        arretee->ATraiter << dossier + u'/' + nom;
    TTacheMini tache(arretee, nullptr, sensibilite, occupe, 2);
    QObject::connect(
        &tache, &TTacheMini::Progression, &tache, [&tache] { tache.DemandeArret(); }, Qt::DirectConnection);
    tache.start();
    ASSERT_TRUE(tache.wait(60000));
    const TDestination::TComptes comptes = arretee->Comptes();
    EXPECT_EQ(comptes.Signatures, 10);
    EXPECT_EQ(comptes.ATraiter, file.size() - 10);
    EXPECT_EQ(comptes.Intraitables, 0);
    EXPECT_EQ(arretee->ATraiter.front(), dossier + QStringLiteral("/10.jpg"));
    EXPECT_EQ(arretee->ATraiter.back(), dossier + QStringLiteral("/zz.jpg"));
}

// A destination closed and let go by everyone else while its task runs: the task stops, and the
// destination is freed only with the task (the sanitizers watch).
TEST_F(RechercheTest, DestinationFermeePendantLaTache) {
    const QString dossier = env.Dossier(QStringLiteral("Fermee"));
    QStringList file;
    for (int i = 0; i < 30; ++i) {
        file << QStringLiteral("%1.jpg").arg(i);
        EcritJpeg(dossier + u'/' + file.back(), PhotoSynthetique(i, 640, 480));
    }
    auto d = Ouvre(dossier, file);
    std::weak_ptr<TDestination> suivie = d;
    auto tache = std::make_unique<TTacheMini>(d, nullptr, sensibilite, occupe, 1);
    tache->start();
    destinations.Efface();
    d->Ferme();
    d.reset();
    EXPECT_FALSE(suivie.expired());
    ASSERT_TRUE(tache->wait(60000));
    EXPECT_EQ(occupe.load(), 0);
    tache.reset();
    EXPECT_TRUE(suivie.expired());
}

TEST(Ecart, VectorielEtPortableDonnentLesMemesEcarts) {
    QRandomGenerator hasard(42);
    std::vector<uint8_t> grilles(100 * 500);
    for (auto& octet : grilles)
        octet = static_cast<uint8_t>(hasard.bounded(256));
    // Extremes: all 0 against all 255 gives the largest distance.
    std::fill(grilles.begin(), grilles.begin() + 100, uint8_t{0});
    std::fill(grilles.begin() + 100, grilles.begin() + 200, uint8_t{255});
    EXPECT_EQ(EcartGrilles(grilles.data(), grilles.data() + 100), 6502500);
    std::vector<int32_t> attendus;
    for (size_t i = 0; i < 500; ++i) {
        int32_t total = 0;
        for (size_t k = 0; k < 100; ++k) {
            const int diff = grilles[k + 300] - grilles[100 * i + k];
            total += diff * diff;
        }
        attendus.push_back(total);
    }
    const int32_t seuil = attendus[7] + 1;
    for (const bool portable : {false, true}) {
        ForceEcartPortable(portable);
        std::vector<uint32_t> proches;
        EcartsSousLeSeuil(grilles.data() + 300, grilles.data(), 500, seuil, proches);
        std::vector<uint32_t> attendusProches;
        for (uint32_t i = 0; i < 500; ++i) {
            if (attendus[i] < seuil) attendusProches.push_back(i);
            EXPECT_EQ(EcartGrilles(grilles.data() + 300, grilles.data() + 100 * i), attendus[i])
                << FormeEcart();
        }
        EXPECT_EQ(proches, attendusProches) << FormeEcart();
    }
    ForceEcartPortable(false);
}

TEST(Planification, BilanProgressionEtDestinationsMontrees) {
    TListeDestinations destinations;
    for (int i = 0; i < 4; ++i) {
        auto d = std::make_shared<TDestination>();
        d->Chemin = QStringLiteral("/d%1").arg(i);
        destinations.Ajoute(d->Chemin, d);
    }
    // Every destination off, nothing signed or queued: the totals are zero, the bar full.
    TBilanRecherche bilan = BilanRecherche(destinations, true, 0);
    EXPECT_EQ(bilan.ADemarrer, -1);
    EXPECT_EQ(bilan.Doublons, 0);
    TProgression progression = ProgressionDe(bilan);
    EXPECT_EQ(progression.Pourcentage(), 100);
    EXPECT_EQ(progression.Largeur(120), 120);

    destinations.Element(1)->AjouteATraiter(QStringLiteral("/d1/a.jpg"));
    destinations.Element(2)->AjouteATraiter(QStringLiteral("/d2/a.jpg"));
    destinations.Element(3)->AjouteATraiter(QStringLiteral("/d3/a.jpg"));
    destinations.Element(3)->AjouteSignature(std::make_shared<Tminiature>(),
                                             {QStringLiteral("0000000001*/d3/b*/d3/c*")});
    destinations.Element(2)->RechercheLocale = true;
    destinations.Element(3)->RechercheLocale = true;
    // Entry 1 is not searched; entry 2 is inactive; entry 3 is due, and the totals stop there.
    // Only what is searched counts in the progress.
    destinations.Element(2)->Active = false;
    bilan = BilanRecherche(destinations, true, 0);
    EXPECT_EQ(bilan.ADemarrer, 3);
    EXPECT_EQ(bilan.AFaire, 1);
    EXPECT_EQ(bilan.Signatures, 1);
    EXPECT_EQ(BilanRecherche(destinations, true, 1).ADemarrer, -1);
    // Searched but with nothing queued: no task.
    QString pris;
    ASSERT_TRUE(destinations.Element(3)->PrendSuivant(pris));
    EXPECT_EQ(BilanRecherche(destinations, true, 0).ADemarrer, -1);
    destinations.Element(3)->RemetEnTete({pris});
    EXPECT_EQ(BilanRecherche(destinations, false, 0).ADemarrer, -1);
    bilan = BilanRecherche(destinations, true, 1);
    EXPECT_EQ(bilan.Doublons, 1);
    progression = ProgressionDe(bilan);
    EXPECT_EQ(progression.Total, 2);
    EXPECT_EQ(progression.Largeur(120), 60);
    EXPECT_EQ(progression.Pourcentage(), 50);
    // The searched destination done, the others still holding queued images: the end is reached.
    ASSERT_TRUE(destinations.Element(3)->PrendSuivant(pris));
    auto signee = std::make_shared<Tminiature>();
    signee->Fichier = pris;
    ASSERT_TRUE(destinations.Element(3)->AjouteSignature(signee, {}));
    bilan = BilanRecherche(destinations, true, 0);
    EXPECT_EQ(bilan.ADemarrer, -1);
    progression = ProgressionDe(bilan);
    EXPECT_EQ(progression.Pourcentage(), 100);
    EXPECT_EQ(progression.Largeur(120), 120);

    // Destinations with duplicates, one after the other, wrapping round.
    EXPECT_EQ(SuivanteAvecDoublons(destinations, 0), 3);
    EXPECT_EQ(SuivanteAvecDoublons(destinations, 3), 3);
    destinations.Element(1)->AjouteSignature(std::make_shared<Tminiature>(),
                                             {QStringLiteral("0000000001*/d1/b*/d1/c*")});
    EXPECT_EQ(SuivanteAvecDoublons(destinations, 3), 1);
    destinations.Element(3)->EffaceDoublons();
    EXPECT_EQ(SuivanteAvecDoublons(destinations, 1), 1);

    // The scroll position: the tile first, or the end of the level filling the view.
    EXPECT_EQ(PositionPourMontrer(20, 3, 8), 3);
    EXPECT_EQ(PositionPourMontrer(20, 15, 8), 14);
    EXPECT_EQ(DestinationEnTraitement(destinations), -1);
    destinations.Element(2)->EnTraitement = true;
    EXPECT_EQ(DestinationEnTraitement(destinations), 2);
}

// Before filing: the signature worked out from the display's decode finds the photo a destination
// holds in its half-size, recompressed and brightened copies, the nearest destination first, and
// nothing for an unrelated photo or under a threshold too low.
TEST_F(RechercheTest, UneCopieDejaClasseeEstTrouveeDepuisLeDecodageDAffichage) {
    const QString vacances = env.Dossier(QStringLiteral("Vacances"));
    const QString archives = env.Dossier(QStringLiteral("Archives"));
    const QString source = env.Dossier(QStringLiteral("source"));
    const QImage photo = PhotoSynthetique(21, 1600, 1200);
    EcritJpeg(vacances + QStringLiteral("/photo.jpg"), photo);
    EcritJpeg(vacances + QStringLiteral("/autre.jpg"), PhotoSynthetique(22, 1600, 1200));
    EcritJpeg(archives + QStringLiteral("/vieille.jpg"), photo, 40);
    auto dVacances = Ouvre(vacances);
    auto dArchives = Ouvre(archives);
    Cherche(dVacances);
    Cherche(dArchives);
    const std::vector<std::shared_ptr<TDestination>> ouvertes{dVacances, dArchives};

    auto copies = [&](const QString& nom, const QImage& image, int qualite, int32_t seuil) {
        const QString chemin = source + u'/' + nom;
        EcritJpeg(chemin, image, qualite);
        const TImageDecodee affichee = DecodeImage(QFile::encodeName(chemin), {1920, 1080});
        const std::shared_ptr<Tminiature> signature = SignatureDAffichage(affichee, chemin);
        EXPECT_NE(signature, nullptr) << nom.toStdString();
        return signature ? CopiesConnues(*signature, ouvertes, seuil) : std::vector<TCopieConnue>();
    };
    for (const auto& [nom, image, qualite] :
         {std::tuple{QStringLiteral("moitie.jpg"), photo.scaled(800, 600), 90},
          std::tuple{QStringLiteral("recompressee.jpg"), photo, 55},
          std::tuple{QStringLiteral("eclaircie.jpg"), Eclaircie(photo, 30), 90}}) {
        const std::vector<TCopieConnue> trouvees = copies(nom, image, qualite, sensibilite);
        ASSERT_EQ(trouvees.size(), 2u) << nom.toStdString();
        EXPECT_LE(trouvees[0].Dissemblance, trouvees[1].Dissemblance);
        const QString titre = TitreImageCourante(trouvees);
        EXPECT_TRUE(titre == QStringLiteral("Image courante — déjà dans « Vacances » (+1)") ||
                    titre == QStringLiteral("Image courante — déjà dans « Archives » (+1)"))
            << titre.toStdString();
        for (const TCopieConnue& copie : trouvees)
            EXPECT_TRUE(copie.Fichier.endsWith(QStringLiteral("/photo.jpg")) ||
                        copie.Fichier.endsWith(QStringLiteral("/vieille.jpg")));
    }
    EXPECT_TRUE(
        copies(QStringLiteral("etrangere.jpg"), PhotoSynthetique(23, 1600, 1200), 90, sensibilite).empty());
    EXPECT_EQ(TitreImageCourante({}), QStringLiteral("Image courante"));
    EXPECT_TRUE(copies(QStringLiteral("seuil.jpg"), photo.scaled(800, 600), 90, 1).empty());
    // One destination only: no count of others.
    const std::vector<TCopieConnue> seule = CopiesConnues(
        *SignatureDAffichage(
            DecodeImage(QFile::encodeName(source + QStringLiteral("/moitie.jpg")), {1920, 1080}),
            source + QStringLiteral("/moitie.jpg")),
        {dVacances}, sensibilite);
    ASSERT_EQ(seule.size(), 1u);
    EXPECT_EQ(TitreImageCourante(seule), QStringLiteral("Image courante — déjà dans « Vacances »"));
    EXPECT_EQ(seule[0].Fichier, vacances + QStringLiteral("/photo.jpg"));

    // The same stored pixels tagged to be shown turned a quarter: shown upright, and still found.
    QFile fichier(vacances + QStringLiteral("/photo.jpg"));
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    QByteArray tournee = fichier.readAll();
    const QByteArray exif("\xFF\xE1\x00\x22"
                          "Exif\x00\x00MM\x00\x2A\x00\x00\x00\x08"
                          "\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                          "\x00\x00\x00\x00",
                          36);
    tournee.insert(2, exif);
    const QString cheminTournee = source + QStringLiteral("/tournee.jpg");
    EcritFichier(QFile::encodeName(cheminTournee), tournee);
    const TImageDecodee debout = DecodeImage(QFile::encodeName(cheminTournee), {1920, 1080});
    ASSERT_EQ(debout.Naturelle, QSize(1200, 1600));
    const std::shared_ptr<Tminiature> signatureTournee = SignatureDAffichage(debout, cheminTournee);
    ASSERT_NE(signatureTournee, nullptr);
    EXPECT_EQ(CopiesConnues(*signatureTournee, {dVacances}, sensibilite).size(), 1u);
}
