#include "core/app/attente.h"
#include "core/destinations/destination.h"
#include "core/duplicates/recherche.h"
#include "core/duplicates/revue.h"
#include "environnement.h"
#include "photo.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace {

// A search task whose first decode of one file stays open until the test lets it go (the file is
// in the task's hands meanwhile); files named in illisibles are answered as not opened.
class TTacheRetenue : public TTacheMini {
public:
    TTacheRetenue(std::shared_ptr<TDestination> d, const std::atomic<int32_t>& seuil, std::atomic<int32_t>& n,
                  int aides, QString fichierRetenu, QSet<QString> fichiersIllisibles = {})
        : TTacheMini(std::move(d), nullptr, seuil, n, aides), retenu(std::move(fichierRetenu)),
          illisibles(std::move(fichiersIllisibles)) {
        start();
    }
    ~TTacheRetenue() override {
        Libere();
        DemandeArret();
        wait();
    }
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
        std::unique_lock<std::mutex> garde(verrou);
        if (fichier == retenu && !std::exchange(atteinte, true)) {
            change.notify_all();
            change.wait(garde, [this] { return libre; });
        }
        garde.unlock();
        return TTacheMini::Calcule(chemin, signature);
    }

private:
    const QString retenu;
    const QSet<QString> illisibles;
    std::mutex verrou;
    std::condition_variable change;
    bool atteinte = false, libre = false;
};

class EnCoursTest : public testing::Test {
protected:
    EnCoursTest() {
        contexte.DossierProgramme = env.Programme;
        contexte.ReponseMemorisee = ReponseConfirmation::NonPourTous;
        QDir().mkpath(contexte.DossierSignatures());
        ailleurs = env.Dossier(QStringLiteral("Ailleurs"));
    }
    QString Chemin(const QString& nom) const { return dossier + u'/' + nom; }
    // Eight photos, 0.jpg to 7.jpg, in a folder of their own, queued in that order.
    std::shared_ptr<TDestination> HuitPhotos(const QString& nom) {
        dossier = env.Dossier(nom);
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(PhotoSynthetique(i, 480, 320).save(Chemin(QStringLiteral("%1.jpg").arg(i)), "JPEG"));
        return Ouvre();
    }
    std::shared_ptr<TDestination> Ouvre() {
        auto d = std::make_shared<TDestination>(&contexte);
        d->Charge(dossier, QStringLiteral("Classees"));
        d->ATraiter.sort();
        return d;
    }
    void Cherche(const std::shared_ptr<TDestination>& d) {
        TTacheMini tache(d, nullptr, sensibilite, occupe, 2);
        tache.start();
        ASSERT_TRUE(tache.wait(60000));
    }
    static qsizetype SignaturesDe(const TDestination& d, const QString& fichier) {
        const auto copie = d.CopieSignatures();
        return std::count_if(copie.begin(), copie.end(),
                             [&](const auto& s) { return s->Fichier == fichier; });
    }
    static std::string Texte(const QStringList& liste) { return liste.join(u' ').toStdString(); }

    EnvironnementTest env;
    TContexteDestinations contexte;
    QString dossier, ailleurs;
    std::atomic<int32_t> occupe{0};
    std::atomic<int32_t> sensibilite{150000};
};

} // namespace

// The last photo filed is undone while the search decodes it, and filed again either before the
// decode ends (queued twice before) or after it (made untreatable for good before): the decode
// under way counts for nothing; the photo is queued once, signed once, never paired with itself.
TEST_F(EnCoursTest, AnnuleEtReclassePendantSonDecodage) {
    for (const bool reclasseAvant : {true, false}) {
        SCOPED_TRACE(reclasseAvant ? "reclassee avant la fin" : "reclassee apres");
        auto d = HuitPhotos(reclasseAvant ? QStringLiteral("Avant") : QStringLiteral("Apres"));
        const QString p7 = Chemin(QStringLiteral("7.jpg")), sortie = ailleurs + QStringLiteral("/7.jpg");
        auto reclasse = [&] {
            ASSERT_TRUE(QFile::rename(sortie, p7));
            d->AjouteATraiter(p7);
            d->AjouteATraiter(QFile::encodeName(p7));
            // Queued, or already taken again by the search, but once.
            EXPECT_EQ(d->FichiersConnus().count(p7), 1);
        };
        {
            TTacheRetenue tache(d, sensibilite, occupe, 2, p7);
            ASSERT_TRUE(tache.AttendRetenue());
            ASSERT_TRUE(QFile::rename(p7, sortie));
            d->Oublie(p7);
            EXPECT_FALSE(d->FichiersConnus().contains(p7));
            if (reclasseAvant) reclasse();
            tache.Libere();
            ASSERT_TRUE(tache.wait(60000));
        }
        EXPECT_EQ(d->Comptes().Intraitables, 0);
        if (!reclasseAvant) {
            EXPECT_FALSE(d->FichiersConnus().contains(p7));
            reclasse();
        }
        Cherche(d);
        EXPECT_EQ(SignaturesDe(*d, p7), 1);
        const TDestination::TComptes comptes = d->Comptes();
        EXPECT_EQ(comptes.Signatures, 8);
        EXPECT_EQ(comptes.Intraitables, 0);
        EXPECT_EQ(comptes.ATraiter, 0);
        for (const QString& ligne : d->CopieDoublons())
            EXPECT_NE(LitPaire(ligne).Image1, LitPaire(ligne).Image2);
        ASSERT_TRUE(d->SauveSignatures());
        EXPECT_EQ(Ouvre()->Comptes().ATraiter, 0);
    }
}

// Trashed from the review while the search decodes it, or its destination closed: whatever the
// search finds for it afterwards is dropped.
TEST_F(EnCoursTest, OublieeParLaRevueOuDestinationFermee) {
    for (const bool fermee : {false, true}) {
        SCOPED_TRACE(fermee ? "fermee" : "revue");
        auto d = HuitPhotos(fermee ? QStringLiteral("Fermee") : QStringLiteral("Revue"));
        const QString p7 = Chemin(QStringLiteral("7.jpg"));
        TTacheRetenue tache(d, sensibilite, occupe, 2, p7);
        ASSERT_TRUE(tache.AttendRetenue());
        // Closed: nothing is signed any more, whatever was under way; otherwise the other seven are.
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
        EXPECT_EQ(d->Comptes().Signatures, signees);
        EXPECT_EQ(d->Comptes().Intraitables, 0);
        EXPECT_EQ(SignaturesDe(*d, p7), 0);
        EXPECT_FALSE(d->FichiersConnus().contains(p7));
    }
}

// A photo trashed from the review while the search decodes a copy of it, after the task compared
// with its signature: the pair is not made. The next task pairs new images as before.
TEST_F(EnCoursTest, PasDePaireAvecUneImageOublieePendantLaTache) {
    dossier = env.Dossier(QStringLiteral("Copies"));
    const QImage photo = PhotoSynthetique(4, 480, 320);
    const QString p0 = Chemin(QStringLiteral("0.jpg")), p1 = Chemin(QStringLiteral("1.jpg")),
                  p2 = Chemin(QStringLiteral("2.jpg"));
    ASSERT_TRUE(photo.save(p0, "JPEG") && photo.save(p1, "JPEG"));
    auto d = Ouvre();
    {
        // No helper: 0.jpg is signed, then 1.jpg held.
        TTacheRetenue tache(d, sensibilite, occupe, 0, p1);
        ASSERT_TRUE(tache.AttendRetenue());
        ASSERT_TRUE(QFile::rename(p0, ailleurs + QStringLiteral("/0.jpg")));
        d->OublieImages({p0});
        tache.Libere();
        ASSERT_TRUE(tache.wait(60000));
    }
    EXPECT_EQ(SignaturesDe(*d, p1), 1);
    EXPECT_TRUE(d->CopieDoublons().isEmpty()) << Texte(d->CopieDoublons());
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
    auto d = HuitPhotos(QStringLiteral("Arret"));
    const QStringList file = d->ATraiter;
    TTacheRetenue tache(d, sensibilite, occupe, 2, file.value(0));
    ASSERT_TRUE(tache.AttendRetenue());
    tache.DemandeArret();
    tache.Libere();
    ASSERT_TRUE(tache.wait(60000));
    EXPECT_EQ(Texte(d->ATraiter), Texte(file));
    EXPECT_EQ(d->Comptes().Signatures + d->Comptes().Intraitables, 0);
}

// A file gone since it was queued is dropped; one that cannot be opened waits for the next task,
// which signs it; neither is untreatable.
TEST_F(EnCoursTest, UnFichierQuiNePeutEtreOuvertNEstPasIntraitable) {
    auto d = HuitPhotos(QStringLiteral("Fermes"));
    const QString parti = Chemin(QStringLiteral("parti.jpg")), ferme = Chemin(QStringLiteral("3.jpg"));
    d->AjouteATraiter(parti);
    {
        TTacheRetenue tache(d, sensibilite, occupe, 1, QString(), {ferme});
        ASSERT_TRUE(tache.wait(60000));
    }
    EXPECT_EQ(d->Comptes().Intraitables, 0);
    EXPECT_EQ(d->Comptes().Signatures, 7);
    EXPECT_FALSE(d->FichiersConnus().contains(parti));
    EXPECT_TRUE(d->FichiersConnus().contains(ferme));
    // Nothing is due meanwhile: no task is started for it at every tick.
    EXPECT_EQ(d->Comptes().ATraiter, 0);
    d->AjouteATraiter(Chemin(QStringLiteral("0.jpg")));
    EXPECT_EQ(d->Comptes().ATraiter, 0);
    d->AjouteATraiter(parti);
    Cherche(d);
    EXPECT_EQ(SignaturesDe(*d, ferme), 1);
    EXPECT_EQ(d->Comptes().Intraitables, 0);
}

// Untreatable entries stay so while their file is as it was when it failed; a file that changed
// is tried again, and so, once, is an entry of a store that kept no state; one whose file is gone
// leaves the store.
TEST_F(EnCoursTest, IntraitablesReessayesOuOubliesAuChargement) {
    dossier = env.Dossier(QStringLiteral("Intraitables"));
    const QString casse = Chemin(QStringLiteral("casse.jpg")), ancien = Chemin(QStringLiteral("ancien.jpg")),
                  parti = Chemin(QStringLiteral("parti.jpg"));
    EcritFichier(QFile::encodeName(casse), "pas une image");
    EcritFichier(QFile::encodeName(ancien), "pas une image non plus");
    auto d = Ouvre();
    Cherche(d);
    ASSERT_EQ(d->Comptes().Intraitables, 2);
    // As a store written without states holds them: a file still there, one gone.
    d->ListeSignatures->EtatsIntraitables.remove(ancien);
    d->ListeSignatures->Intraitables << parti;
    ASSERT_TRUE(d->SauveSignatures());

    auto relue = Ouvre();
    EXPECT_EQ(Texte(relue->ListeSignatures->Intraitables), casse.toStdString());
    EXPECT_EQ(Texte(relue->ATraiter), ancien.toStdString());
    Cherche(relue);
    ASSERT_TRUE(relue->SauveSignatures());
    QFile texte(contexte.DossierSignatures() + u'/' +
                TMagasinSignatures(contexte.DossierSignatures()).NomDeBase(dossier) + QStringLiteral(".txt"));
    ASSERT_TRUE(texte.open(QIODevice::ReadOnly));
    EXPECT_FALSE(texte.readAll().contains("parti.jpg"));
    relue = Ouvre();
    EXPECT_EQ(relue->Comptes().Intraitables, 2);
    EXPECT_EQ(relue->Comptes().ATraiter, 0);

    ASSERT_TRUE(PhotoSynthetique(9, 200, 150).save(casse, "JPEG"));
    relue = Ouvre();
    EXPECT_EQ(Texte(relue->ListeSignatures->Intraitables), ancien.toStdString());
    EXPECT_EQ(Texte(relue->ATraiter), casse.toStdString());
}

// A file already queued, in the search's hands, signed or untreatable is not queued again, and no
// pair of a file with itself is made, neither by the comparison nor by the destination.
TEST_F(EnCoursTest, JamaisDeuxFoisNiPaireAvecSoiMeme) {
    TDestination d;
    const QString a = QStringLiteral("/d/a.jpg"), b = QStringLiteral("/d/b.jpg");
    d.AjouteATraiter(a);
    d.AjouteATraiter(QFile::encodeName(a));
    EXPECT_EQ(d.ATraiter, QStringList{a});
    QString pris;
    ASSERT_TRUE(d.PrendSuivant(pris));
    d.AjouteATraiter(a);
    EXPECT_TRUE(d.ATraiter.isEmpty());
    auto signature = std::make_shared<Tminiature>();
    signature->Fichier = a;
    TListeComparaison comparaison;
    comparaison.Ajoute(signature);
    EXPECT_TRUE(comparaison.Compare(*signature, 1000).isEmpty());
    const QString avecB = QStringLiteral("0000000000*/d/a.jpg*/d/b.jpg*");
    EXPECT_TRUE(d.AjouteSignature(signature, {QStringLiteral("0000000000*/d/a.jpg*/d/a.jpg*"), avecB}));
    EXPECT_EQ(d.Doublons, QStringList{avecB});
    ASSERT_TRUE(d.AjouteIntraitable(b));
    d.AjouteATraiter(a);
    d.AjouteATraiter(b);
    EXPECT_TRUE(d.ATraiter.isEmpty());
}

// A photo filed under the name of one the destination knew (gone since, outside the program or
// filed away from a folder that is also the source): the old signature and its pairs describe
// another picture; they go, and the new photo is queued to be signed.
TEST_F(EnCoursTest, UnNouveauFichierSousUnNomConnuEstSigneANouveau) {
    TDestination d;
    const QString a = QStringLiteral("/d/a.jpg");
    d.AjouteATraiter(a);
    QString pris;
    ASSERT_TRUE(d.PrendSuivant(pris));
    auto ancienne = std::make_shared<Tminiature>();
    ancienne->Fichier = a;
    ASSERT_TRUE(d.AjouteSignature(ancienne, {QStringLiteral("0000000000*/d/a.jpg*/d/b.jpg*")}));
    d.AjouteATraiter(QFile::encodeName(a));
    EXPECT_EQ(d.ATraiter, QStringList{a});
    EXPECT_EQ(SignaturesDe(d, a), 0);
    EXPECT_TRUE(d.Doublons.isEmpty());
}

namespace {

// A loading window that counts the times it is told of progress while the destination's lock is
// held (tried from another thread, as the search would take it).
struct TChargementVerifie : IChargement {
    std::shared_ptr<TDestination> Destination;
    int Appels = 0, SousVerrou = 0;
    void DebutLecture(int) override {}
    void DestinationEnCours(const QString&) override {}
    void PasLecture() override {}
    void DebutChargement(int) override { PasChargement(); }
    void PasChargement() override {
        ++Appels;
        std::thread([this] {
            if (Destination->Verrou.try_lock())
                Destination->Verrou.unlock();
            else
                ++SousVerrou;
        }).join();
    }
};

} // namespace

TEST_F(EnCoursTest, LaFenetreDeChargementNEstPasAppeleeSousLeVerrou) {
    auto d = HuitPhotos(QStringLiteral("Chargement"));
    Cherche(d);
    ASSERT_TRUE(d->SauveSignatures());
    TChargementVerifie chargement;
    chargement.Destination = std::make_shared<TDestination>(&contexte);
    contexte.Chargement = &chargement;
    chargement.Destination->Charge(dossier, QStringLiteral("Classees"));
    contexte.Chargement = nullptr;
    EXPECT_EQ(chargement.Appels, 9);
    EXPECT_EQ(chargement.SousVerrou, 0);
}
