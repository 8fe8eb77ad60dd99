#include "app/attente.h"
#include "destinations/destination.h"
#include "duplicates/recherche.h"
#include "duplicates/revue.h"
#include "environnement.h"
#include "photo.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace {

// A search task whose decode of one file stays open until the test lets it go, so that the file
// is in the task's hands for as long as the test needs; files named in Illisibles are answered as
// files that could not be opened.
class TTacheRetenue : public TTacheMini {
public:
    TTacheRetenue(std::shared_ptr<TDestination> d, const std::atomic<int32_t>& seuil,
                  std::atomic<int32_t>& compteur, int aides, QString fichierRetenu,
                  QSet<QString> fichiersIllisibles = {})
        : TTacheMini(std::move(d), nullptr, seuil, compteur, aides), retenu(std::move(fichierRetenu)),
          illisibles(std::move(fichiersIllisibles)) {}
    ~TTacheRetenue() override {
        Libere();
        DemandeArret();
        wait();
    }

    // True once the held decode has begun (a minute at most).
    bool AttendRetenue() {
        std::unique_lock<std::mutex> garde(verrou);
        return change.wait_for(garde, std::chrono::minutes(1), [this] { return atteinte; });
    }
    void Libere() {
        const std::lock_guard<std::mutex> garde(verrou);
        libre = true;
        change.notify_all();
    }

protected:
    ResultatCalcul Calcule(const QByteArray& chemin, Tminiature& signature) override {
        const QString fichier = QFile::decodeName(chemin);
        if (illisibles.contains(fichier)) return ResultatCalcul::Inaccessible;
        if (fichier == retenu) {
            std::unique_lock<std::mutex> garde(verrou);
            // Held the first time only: the same file taken again decodes at once.
            if (!atteinte) {
                atteinte = true;
                change.notify_all();
                change.wait(garde, [this] { return libre; });
            }
        }
        return TTacheMini::Calcule(chemin, signature);
    }

private:
    const QString retenu;
    const QSet<QString> illisibles;
    std::mutex verrou;
    std::condition_variable change;
    bool atteinte = false;
    bool libre = false;
};

class EnCoursTest : public testing::Test {
protected:
    EnCoursTest() {
        contexte.DossierProgramme = env.Programme;
        contexte.ReponseMemorisee = 9;
        QDir().mkpath(contexte.DossierSignatures());
        dossier = env.Dossier(QStringLiteral("Classees"));
        ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    }
    QString Chemin(const QString& nom) const { return dossier + u'/' + nom; }
    // Eight photos, 0.jpg to 7.jpg, queued in that order.
    std::shared_ptr<TDestination> HuitPhotos() {
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(PhotoSynthetique(i, 480, 320).save(Chemin(QStringLiteral("%1.jpg").arg(i)), "JPEG"));
        return Ouvre();
    }
    std::shared_ptr<TDestination> Ouvre() {
        auto d = std::make_shared<TDestination>(&contexte);
        d->Charge(dossier, QStringLiteral("Classees"));
        d->ATraiter.sort();
        d->RechercheLocale = true;
        return d;
    }
    void Cherche(const std::shared_ptr<TDestination>& d) {
        TTacheMini tache(d, nullptr, sensibilite, occupe, 2);
        tache.start();
        ASSERT_TRUE(tache.wait(60000));
    }
    static qsizetype SignaturesDe(const TDestination& d, const QString& fichier) {
        const auto copie = d.CopieSignatures();
        return std::count_if(copie.begin(), copie.end(), [&](const auto& s) { return s->Fichier == fichier; });
    }
    static QStringList PairesAvecSoiMeme(const TDestination& d) {
        QStringList lignes;
        for (const QString& ligne : d.CopieDoublons())
            if (LitPaire(ligne).Image1 == LitPaire(ligne).Image2) lignes << ligne;
        return lignes;
    }

    EnvironnementTest env;
    TContexteDestinations contexte;
    QString dossier, ailleurs;
    std::atomic<int32_t> occupe{0};
    std::atomic<int32_t> sensibilite{150000};
};

} // namespace

// The last photo filed is undone while the search decodes it, then filed again before the next
// tick: the decode under way counts for nothing, the photo is queued once, signed once, and never
// paired with itself.
TEST_F(EnCoursTest, AnnuleEtReclassePendantSonDecodage) {
    auto d = HuitPhotos();
    const QString p7 = Chemin(QStringLiteral("7.jpg")), sortie = ailleurs + QStringLiteral("/7.jpg");
    TTacheRetenue tache(d, sensibilite, occupe, 2, p7);
    tache.start();
    ASSERT_TRUE(tache.AttendRetenue());
    EXPECT_TRUE(d->FichiersConnus().contains(p7));
    ASSERT_TRUE(QFile::rename(p7, sortie));
    d->Oublie(p7);
    EXPECT_FALSE(d->FichiersConnus().contains(p7));
    ASSERT_TRUE(QFile::rename(sortie, p7));
    d->AjouteATraiter(p7);
    d->AjouteATraiter(QFile::encodeName(p7));
    // Queued or already taken again by the search, but once.
    EXPECT_EQ(d->FichiersConnus().count(p7), 1);
    tache.Libere();
    ASSERT_TRUE(tache.wait(60000));
    Cherche(d);
    EXPECT_EQ(SignaturesDe(*d, p7), 1);
    EXPECT_EQ(d->Comptes().Signatures, 8);
    EXPECT_TRUE(PairesAvecSoiMeme(*d).isEmpty()) << PairesAvecSoiMeme(*d).join(u' ').toStdString();
    EXPECT_TRUE(d->ListeSignatures->Intraitables.isEmpty());
    EXPECT_EQ(d->Comptes().ATraiter, 0);
}

// Undone while the search holds it, and decoded while it is away: not untreatable, not known at
// all; filed back later, it is signed like any other, and the store agrees.
TEST_F(EnCoursTest, AnnuleEtDecodePendantSonAbsence) {
    auto d = HuitPhotos();
    const QString p7 = Chemin(QStringLiteral("7.jpg")), sortie = ailleurs + QStringLiteral("/7.jpg");
    {
        TTacheRetenue tache(d, sensibilite, occupe, 2, p7);
        tache.start();
        ASSERT_TRUE(tache.AttendRetenue());
        ASSERT_TRUE(QFile::rename(p7, sortie));
        d->Oublie(p7);
        tache.Libere();
        ASSERT_TRUE(tache.wait(60000));
    }
    EXPECT_TRUE(d->ListeSignatures->Intraitables.isEmpty());
    EXPECT_FALSE(d->FichiersConnus().contains(p7));
    EXPECT_EQ(d->Comptes().Signatures, 7);

    ASSERT_TRUE(QFile::rename(sortie, p7));
    d->AjouteATraiter(p7);
    EXPECT_EQ(d->ATraiter, QStringList{p7});
    Cherche(d);
    EXPECT_EQ(SignaturesDe(*d, p7), 1);
    EXPECT_TRUE(d->ListeSignatures->Intraitables.isEmpty());
    ASSERT_TRUE(d->SauveSignatures());
    auto relue = Ouvre();
    EXPECT_EQ(relue->Comptes().Signatures, 8);
    EXPECT_EQ(relue->Comptes().Intraitables, 0);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);
}

// Trashed from the review while the search decodes it, or its destination closed: whatever the
// search finds for it afterwards is dropped.
TEST_F(EnCoursTest, OublieeParLaRevueOuDestinationFermee) {
    for (const bool fermee : {false, true}) {
        SCOPED_TRACE(fermee ? "fermee" : "revue");
        dossier = env.Dossier(fermee ? QStringLiteral("Fermee") : QStringLiteral("Revue"));
        auto d = HuitPhotos();
        const QString p7 = Chemin(QStringLiteral("7.jpg"));
        TTacheRetenue tache(d, sensibilite, occupe, 2, p7);
        tache.start();
        ASSERT_TRUE(tache.AttendRetenue());
        // Closed: nothing is signed any more, whatever was under way.
        qsizetype signees = 7;
        if (fermee) {
            d->Ferme();
            signees = d->Comptes().Signatures;
        } else {
            ASSERT_TRUE(QFile::rename(p7, ailleurs + QStringLiteral("/7.jpg")));
            d->OublieImages({p7});
        }
        tache.Libere();
        ASSERT_TRUE(tache.wait(60000));
        const TDestination::TComptes comptes = d->Comptes();
        EXPECT_EQ(comptes.Signatures, signees);
        EXPECT_EQ(comptes.Intraitables, 0);
        EXPECT_EQ(SignaturesDe(*d, p7), 0);
        if (!fermee) {
            EXPECT_EQ(comptes.ATraiter, 0);
            EXPECT_FALSE(d->FichiersConnus().contains(p7));
        }
    }
}

// A photo trashed from the review while the search decodes a copy of it, after the task compared
// with its signature: the pair is not made. The next task pairs new images as before.
TEST_F(EnCoursTest, PasDePaireAvecUneImageOublieePendantLaTache) {
    const QImage photo = PhotoSynthetique(4, 480, 320);
    const QString p0 = Chemin(QStringLiteral("0.jpg")), p1 = Chemin(QStringLiteral("1.jpg")),
                  p2 = Chemin(QStringLiteral("2.jpg"));
    ASSERT_TRUE(photo.save(p0, "JPEG"));
    ASSERT_TRUE(photo.save(p1, "JPEG"));
    auto d = Ouvre();
    {
        // No helper: 0.jpg is signed, then 1.jpg held.
        TTacheRetenue tache(d, sensibilite, occupe, 0, p1);
        tache.start();
        ASSERT_TRUE(tache.AttendRetenue());
        ASSERT_TRUE(QFile::rename(p0, ailleurs + QStringLiteral("/0.jpg")));
        d->OublieImages({p0});
        tache.Libere();
        ASSERT_TRUE(tache.wait(60000));
    }
    EXPECT_EQ(SignaturesDe(*d, p1), 1);
    EXPECT_TRUE(d->CopieDoublons().isEmpty()) << d->CopieDoublons().join(u' ').toStdString();
    ASSERT_TRUE(photo.save(p2, "JPEG"));
    d->AjouteATraiter(p2);
    Cherche(d);
    ASSERT_EQ(d->CopieDoublons().size(), 1);
    EXPECT_EQ(LitPaire(d->CopieDoublons().front()).Image2, p1);
}

// Stopped while the first picture is decoded and helpers read ahead (whichever thread decodes it,
// the task waits for it first): the queue comes back whole in its order, the interrupted picture
// first, none untreatable, none signed.
TEST_F(EnCoursTest, ArretPendantUnDecodageAvecLectureEnAvance) {
    auto d = HuitPhotos();
    const QStringList file = d->ATraiter;
    ASSERT_EQ(file.size(), 8);
    TTacheRetenue tache(d, sensibilite, occupe, 2, file[0]);
    tache.start();
    ASSERT_TRUE(tache.AttendRetenue());
    tache.DemandeArret();
    tache.Libere();
    ASSERT_TRUE(tache.wait(60000));
    EXPECT_EQ(d->ATraiter.join(u' ').toStdString(), file.join(u' ').toStdString());
    EXPECT_EQ(d->Comptes().Signatures, 0);
    EXPECT_EQ(d->Comptes().Intraitables, 0);
}

// A file gone since it was queued is dropped; one that cannot be opened waits for the next task;
// neither is untreatable.
TEST_F(EnCoursTest, UnFichierQuiNePeutEtreOuvertNEstPasIntraitable) {
    auto d = HuitPhotos();
    const QString parti = Chemin(QStringLiteral("parti.jpg")), ferme = Chemin(QStringLiteral("3.jpg"));
    d->AjouteATraiter(parti);
    {
        TTacheRetenue tache(d, sensibilite, occupe, 1, QString(), {ferme});
        tache.start();
        ASSERT_TRUE(tache.wait(60000));
    }
    EXPECT_EQ(d->Comptes().Intraitables, 0);
    EXPECT_EQ(d->Comptes().Signatures, 7);
    EXPECT_FALSE(d->FichiersConnus().contains(parti));
    EXPECT_TRUE(d->FichiersConnus().contains(ferme));
    // Nothing due meanwhile: the search does not come back for it at every tick.
    EXPECT_EQ(d->Comptes().ATraiter, 0);
    // The next task tries it again.
    d->AjouteATraiter(parti);
    EXPECT_TRUE(d->ATraiter.contains(parti));
    Cherche(d);
    EXPECT_EQ(SignaturesDe(*d, ferme), 1);
    EXPECT_EQ(d->Comptes().Intraitables, 0);
    EXPECT_FALSE(d->FichiersConnus().contains(parti));
}

// Untreatable entries stay so while their file is as it was when it failed; a file that changed
// is tried again, and so, once, is an entry of a store that kept no state; one whose file is gone
// leaves the store.
TEST_F(EnCoursTest, IntraitablesReessayesOuOubliesAuChargement) {
    const QString casse = Chemin(QStringLiteral("casse.jpg")), ancien = Chemin(QStringLiteral("ancien.jpg")),
                  parti = Chemin(QStringLiteral("parti.jpg"));
    EcritFichier(QFile::encodeName(casse), "pas une image");
    EcritFichier(QFile::encodeName(ancien), "pas une image non plus");
    auto d = Ouvre();
    ASSERT_EQ(d->Comptes().ATraiter, 2);
    Cherche(d);
    ASSERT_EQ(d->Comptes().Intraitables, 2);
    // Entries as a store written without states holds them: a file still there, one gone.
    d->ListeSignatures->EtatsIntraitables.remove(ancien);
    d->ListeSignatures->Intraitables << parti;
    ASSERT_TRUE(d->SauveSignatures());

    auto relue = Ouvre();
    EXPECT_EQ(relue->ListeSignatures->Intraitables.join(u' ').toStdString(), casse.toStdString());
    EXPECT_EQ(relue->ATraiter.join(u' ').toStdString(), ancien.toStdString());
    Cherche(relue);
    ASSERT_TRUE(relue->SauveSignatures());
    QFile texte(contexte.DossierSignatures() + u'/' +
                TMagasinSignatures(contexte.DossierSignatures()).NomDeBase(dossier) + QStringLiteral(".txt"));
    ASSERT_TRUE(texte.open(QIODevice::ReadOnly));
    EXPECT_FALSE(texte.readAll().contains("parti.jpg"));

    // Unchanged: neither queued nor tried; changed: queued and signed.
    relue = Ouvre();
    EXPECT_EQ(relue->Comptes().Intraitables, 2);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);
    ASSERT_TRUE(PhotoSynthetique(9, 200, 150).save(casse, "JPEG"));
    relue = Ouvre();
    EXPECT_EQ(relue->ListeSignatures->Intraitables.join(u' ').toStdString(), ancien.toStdString());
    EXPECT_EQ(relue->ATraiter.join(u' ').toStdString(), casse.toStdString());
    Cherche(relue);
    EXPECT_EQ(SignaturesDe(*relue, casse), 1);
}

// A file already queued, in the search's hands, signed or untreatable is not queued again, and no
// pair of a file with itself is made, neither by the comparison nor by the destination.
TEST_F(EnCoursTest, JamaisDeuxFoisNiPaireAvecSoiMeme) {
    TDestination d;
    const QString a = QStringLiteral("/d/a.jpg"), b = QStringLiteral("/d/b.jpg");
    d.AjouteATraiter(a);
    d.AjouteATraiter(a);
    d.AjouteATraiter(QFile::encodeName(a));
    EXPECT_EQ(d.ATraiter, QStringList{a});
    QString pris;
    ASSERT_TRUE(d.PrendSuivant(pris));
    d.AjouteATraiter(a);
    EXPECT_TRUE(d.ATraiter.isEmpty());
    auto signature = std::make_shared<Tminiature>();
    signature->Fichier = a;
    signature->Proportion = 1.5;
    TListeComparaison comparaison;
    comparaison.Ajoute(signature);
    EXPECT_TRUE(comparaison.Compare(*signature, 1000).isEmpty());
    EXPECT_TRUE(d.AjouteSignature(signature, {QStringLiteral("0000000000*/d/a.jpg*/d/a.jpg*"),
                                              QStringLiteral("0000000000*/d/a.jpg*/d/b.jpg*")}));
    EXPECT_EQ(d.Doublons, QStringList{QStringLiteral("0000000000*/d/a.jpg*/d/b.jpg*")});
    d.AjouteATraiter(a);
    EXPECT_TRUE(d.ATraiter.isEmpty());
    ASSERT_TRUE(d.AjouteIntraitable(b));
    d.AjouteATraiter(b);
    EXPECT_TRUE(d.ATraiter.isEmpty());
}

namespace {

// A loading window that looks, each time it is told of progress, whether the destination's lock
// is free: taken from another thread, as the search would.
class TChargementVerifie : public IChargement {
public:
    std::shared_ptr<TDestination> Destination;
    int Appels = 0, SousVerrou = 0;
    void DebutLecture(int) override {}
    void DestinationEnCours(const QString&) override {}
    void PasLecture() override {}
    void DebutChargement(int) override { Verifie(); }
    void PasChargement() override { Verifie(); }

private:
    void Verifie() {
        ++Appels;
        bool libre = false;
        std::thread([&] {
            libre = Destination->Verrou.try_lock();
            if (libre) Destination->Verrou.unlock();
        }).join();
        if (!libre) ++SousVerrou;
    }
};

} // namespace

TEST_F(EnCoursTest, LaFenetreDeChargementNEstPasAppeleeSousLeVerrou) {
    auto d = HuitPhotos();
    Cherche(d);
    ASSERT_TRUE(d->SauveSignatures());
    TChargementVerifie chargement;
    chargement.Destination = std::make_shared<TDestination>(&contexte);
    contexte.Chargement = &chargement;
    chargement.Destination->Charge(dossier, QStringLiteral("Classees"));
    contexte.Chargement = nullptr;
    EXPECT_EQ(chargement.Appels, 9);
    EXPECT_EQ(chargement.SousVerrou, 0);
    EXPECT_EQ(chargement.Destination->Comptes().Signatures, 8);
}
