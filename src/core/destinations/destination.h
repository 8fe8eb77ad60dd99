#pragma once

#include "core/app/questions.h"
#include "core/duplicates/listedoublons.h"
#include "core/duplicates/magasin.h"
#include "listedestinations.h"

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class IChargement;

// A pair found between a signature of a destination and one of another destination (Autre, whose
// file was NomAutre when it was compared).
struct TPaireCroisee {
    std::shared_ptr<Tminiature> Autre;
    QString NomAutre;
    int32_t Dissemblance = 0;
};

// What every destination shares with the program: where the store is, the remembered answer of
// the confirmation dialog, the source folder, where the user is asked (IQuestions) and the
// loading window (IChargement).
struct TContexteDestinations {
    QString DossierProgramme;
    ReponseConfirmation ReponseMemorisee = ReponseConfirmation::Aucune;
    const QString* SourcePath = nullptr; // the configuration's, never a copy
    IQuestions* Questions = nullptr;     // where the question of erasing a store is asked
    IChargement* Chargement = nullptr;   // the loading window, while a configuration is read
    // While a batch is open (TLotMagasin), the store's index held in memory.
    TIndexPartage* Lot = nullptr;
    // The store files not read whole whose originals were kept aside, until the user is told.
    QStringList CopiesGardees;

    QString DossierSignatures() const;
};

// While it lives, the destinations of the context read the store's index once and write it once,
// when it ends, however many of them open, close or save meanwhile. A batch opened inside another
// does nothing.
class TLotMagasin {
public:
    explicit TLotMagasin(TContexteDestinations* contexte);
    ~TLotMagasin();
    TLotMagasin(const TLotMagasin&) = delete;
    TLotMagasin& operator=(const TLotMagasin&) = delete;

private:
    TContexteDestinations* contexte;
    TIndexPartage index;
    bool proprietaire = false;
};

// One open target folder. Destinations are shared (TListeDestinations): closing one is Ferme,
// which saves or erases its store at once; the object itself lives on, closed, for as long as
// something still holds it.
class TDestination : public std::enable_shared_from_this<TDestination> {
public:
    explicit TDestination(TContexteDestinations* contexte = nullptr);
    // Closes it if nothing did before.
    ~TDestination();
    TDestination(const TDestination&) = delete;
    TDestination& operator=(const TDestination&) = delete;

    // Fills the destination from its folder and its store: the images without a signature are
    // queued in ATraiter, signatures of images gone are dropped. The folder's bytes on disk are
    // given when its path as text does not encode back to them (a name that is not UTF-8).
    void Charge(const QString& chemin, const QString& titre, const QByteArray& octets = {});
    // The folder as the file system's bytes.
    QByteArray OctetsDuDossier() const;
    // Writes the store; false when a file could not be written (the previous store stays).
    bool SauveSignatures();
    // Closes the destination: saves its store, or erases it when the remembered answer is yes or
    // yes to all; once only. A closed destination is no longer filed into, undone into or saved.
    void Ferme();
    bool EstFermee() const { return fermee.load(); }
    // Asks whether the signatures are to be erased as the destination closes; false when the
    // user cancelled. The caller then takes the destination out of the list and closes it.
    bool DemandeEffacement();
    // Drops every signature whose image file no longer exists, walking from the last to the first.
    void RetireSignaturesDisparues();

    static QString NomAleatoire();

    // The three lists the duplicate search shares with the windows: ATraiter, Doublons and
    // ListeSignatures. Outside this class they are read and changed only through the methods
    // below, each under Verrou, the one lock of this destination, which the search's thread takes
    // too. Charge, the save and Ferme take it as well.
    struct TComptes {
        qsizetype ATraiter = 0, Signatures = 0, Intraitables = 0, Doublons = 0;
    };
    TComptes Comptes() const;
    // Queues an image for its signature by its path as text: a file already known here (queued,
    // in the search's hands, signed or untreatable) is not queued again; one forgotten while the
    // search held it is, its pending answer being void.
    void AjouteATraiter(const QString& fichier);
    // Queues a file just filed under that path (the file system's bytes): whatever was known under
    // the path described an earlier file and is forgotten first, so the new one is queued once.
    void AjouteATraiter(const QByteArray& chemin);
    // The bytes to open a queued image with: its path encoded, or the bytes it was found under when
    // its name is not valid text (such a path as text no longer names the file).
    QByteArray OctetsDe(const QString& fichier) const;
    // Drops every trace of a file: its signature, its place in the queue, its untreatable mark and
    // the duplicate lines that name it (second or third field, exactly). A file the search holds
    // is cancelled: whatever the search answers for it is dropped.
    void Oublie(const QString& fichier);
    // What the search takes and gives. It takes the first queued image (false when none is left,
    // or once closed); the image is then in its hands until it answers for it, by one of:
    // - handing it back to the front of the queue (images in their order);
    // - a new signature with the duplicate lines it makes, sorted with letter case ignored; a line
    //   already there, pairing a file with itself, or pairing it with a file forgotten since the
    //   task began is not added;
    // - an untreatable image, with its file's state when it was read;
    // - an image whose file could not be read: dropped when gone, otherwise set aside until the
    //   next task.
    // An answer for a cancelled image is dropped (false then), under the lock that cancels it. The
    // answers for one file come in the order it was taken.
    bool PrendSuivant(QString& fichier);
    void RemetEnTete(const QStringList& fichiers);
    bool AjouteSignature(std::shared_ptr<Tminiature> signature, const QStringList& lignes);
    bool AjouteIntraitable(const QString& fichier, const TEtatFichier& etat = {});
    bool AjouteInaccessible(const QString& fichier, bool disparu);
    // As a task begins: the images set aside because they could not be read are queued again, at
    // the end, and the files forgotten from now on are noted, so that no pair the task finds with
    // one of them (from the signatures it took as it began) is made.
    void CommenceTache();
    // Every image the destination knows: signed, waiting for a signature (queued, in the search's
    // hands, set aside), unreadable.
    QStringList FichiersConnus() const;
    // A copy of the signature pointers, each kept alive by the copy; room for n more signatures.
    std::vector<std::shared_ptr<Tminiature>> CopieSignatures() const;
    void ReserveSignatures(qsizetype enPlus);
    // Empties the duplicate lines; the images and the signatures stay.
    void EffaceDoublons();
    // Erases the folder's store, then forgets its signatures, untreatable marks and duplicate
    // lines and queues every image it knew, so that they are signed anew: what is in memory never
    // writes back what was erased. False, with nothing changed in memory, when the store could not
    // be erased.
    bool EffaceSignatures();
    // The duplicate lines as they stand.
    QStringList CopieDoublons() const;
    // Keeps only the duplicate lines whose two files exist.
    void ElagueDoublons();
    // Drops these exact duplicate lines.
    void RetireDoublons(const QStringList& lignes);
    // Forgets these files as Oublie does each.
    void OublieImages(const QSet<QString>& fichiers);
    // The nearest of this destination's signatures to an image's (dissimilarity below sensibilite,
    // its own file aside): false when none is that near.
    bool CopieLaPlusProche(const Tminiature& signature, int32_t sensibilite, QString& fichier,
                           int32_t& dissemblance) const;
    // Records pairs of one of its signatures (whose file was nom when compared) with signatures
    // of destination autre, as this destination's lines, new image first; both locks are held. A
    // pair is left out when either signature is no longer in its destination or its file has been
    // renamed since, or when either destination already has a line for the two files. The number
    // of lines added.
    int AjoutePairesCroisees(const Tminiature& signee, const QString& nom, TDestination& autre,
                             const std::vector<TPaireCroisee>& paires);
    // Files renamed (old path to new): every list that names one follows, the duplicate lines
    // sorted again. True when something here changed.
    bool RenommeFichiers(const QHash<QString, QString>& nouveaux);
    mutable std::mutex Verrou;

    QStringList ATraiter;
    QStringList Doublons;
    int32_t SousGroupe = -1;
    int32_t Groupe = 0;
    int32_t Rang = 0;
    std::unique_ptr<TListeDoublons> ListeSignatures;
    QString Chemin;
    // The folder's bytes when Chemin does not encode back to them; empty otherwise.
    QByteArray CheminOctets;
    QString Titre;
    bool RechercheLocale = false;
    bool RechercheGenerale = false;
    bool Active = true;
    bool EnTraitement = false;
    QFont Fonte;
    int32_t FonteCharset = 1; // kept and written back as read
    int32_t FonteCouleur = 0; // a Windows colour value ($00BBGGRR; negative: a system colour)
    bool Visible = false;
    int32_t TuileX = 0, TuileY = 0, TuileHauteur = 0, TuileLargeur = 0;
    int32_t NbSauvees = 0;
    // The signatures it had when it entered GENERAL mode still to be compared once with those of
    // the other GENERAL destinations, from the file after RepriseComparaison in name order; each
    // entry counts one more in GenerationComparaison. Used by the main thread only.
    bool ComparaisonEnAttente = false;
    QString RepriseComparaison;
    int GenerationComparaison = 0;

    TContexteDestinations* Contexte;

private:
    // Drops every trace of these files and cancels those the search holds; under the lock.
    void OublieSousVerrou(const QSet<QString>& fichiers);
    // A path found as bytes, as text; the bytes are kept when the text does not give them back.
    static QString EnTexte(const QByteArray& chemin, QHash<QString, QByteArray>& octets);
    // Known in any list, or in the search's hands and not cancelled; under the lock.
    bool Connu(const QString& fichier) const;
    // Settles one answer of the search for a file: false when it is to be dropped (the file was
    // cancelled since it was taken); under the lock.
    bool Solde(const QString& fichier);
    // Every file in the search's hands is cancelled; under the lock.
    void AnnuleEnVol();
    // FichiersConnus, under the lock.
    QStringList FichiersConnusSousVerrou() const;
    // Inserts a duplicate line in order unless the very same line is there; under the lock.
    bool InsereDoublon(const QString& ligne);
    // Whether a line pairs these two files, in either order; under the lock.
    bool ApparieDeja(const QString& a, const QString& b) const;
    bool DetientSignature(const Tminiature& signature) const;

    std::atomic<bool> fermee{false};
    QHash<QString, QByteArray> octetsDesNoms;
    // The files taken by the search and not answered for, each with how many times it was taken,
    // and how many of those were cancelled. A file queued again after its cancellation may be
    // taken again before its first answer comes; answers coming in the order of taking, the
    // cancelled ones are the first.
    QHash<QString, int> enVol;
    QHash<QString, int> annules;
    // Images that could not be read, out of the queue until the next task.
    QStringList misDeCote;
    // Files forgotten since the present task began, unless signed again since.
    QSet<QString> oubliesPendantLaTache;
};

// The title that marks the trash destination.
inline const QString TitreCorbeille = QStringLiteral("Corbeille");

// The trash as it stands at start-up: the folder "Corbeille" of the program's folder, in no tree
// level, titled in Arial 16; inactive only when it is the source folder.
std::unique_ptr<TDestination> CreeCorbeille(TContexteDestinations* contexte);

// The open destination (the trash left aside) whose folder holds this path, as the file system's
// bytes; null when none.
std::shared_ptr<TDestination> DestinationDuFichier(const TListeDestinations& destinations,
                                                   const QByteArray& chemin);
