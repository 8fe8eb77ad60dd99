#pragma once

#include "core/destinations/classement.h"
#include "core/duplicates/dejaclasse.h"
#include "core/duplicates/listegenerale.h"
#include "core/duplicates/planification.h"
#include "core/duplicates/recherche.h"
#include "core/session/ouverture.h"
#include "core/session/source.h"
#include "core/tools/arborescence.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class IAttente;
class IChargement;
class IFenetrePrincipale;
class IQuestions;
class TDestination;
class TListeGroupe;
class TSourceListe;
class TTacheMini;
class Tconfiguration;
struct TPaire;

// One file that filing put into a destination.
struct TFichierClasse {
    int Ligne = -1;    // its line in the source list before the filing
    QByteArray Source; // the path it had in the source folder
    QByteArray Cible;  // the path it has in the destination
};

// What filing did: the files filed and where, those that failed and why, and what the source
// shows next.
struct TResultatClassement {
    bool Selection = false; // the lines of a selection were filed, rather than the current file
    bool Copie = false;
    QList<TFichierClasse> Classes; // in the order they were filed (a selection: from the highest line)
    QStringList Echecs;            // one line per file that stays in the source, saying why
    // The current file left the source list (a move of the current file): the display steps on to
    // what the source list's IndexDemande now names.
    bool CouranteRetiree = false;
    int IndexAffiche = 0; // the source position to show next
    int IndexDemande = 0;
};

// What undoing did: nothing when the record was empty; otherwise the files of the last command,
// each back, deleted (a copy) or not touched with why.
struct TResultatAnnulation {
    bool Annulee = false;
    TAnnulation Detail;
    int IndexMontre = -1; // the source line to show: the last file put back into the list; -1 none
};

// The program's data and the operations on them, below every window: the source list, the
// configuration (destinations, undo record, settings) and the busy counter that holds the
// duplicate search off. One per program, made before the windows and destroyed after them.
class TSession : public QObject {
    Q_OBJECT
public:
    TSession();
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // Makes the source list and the configuration (empty, with no destination); done once, at the
    // data start-up. Before it, both are null.
    void CreeDonnees();

    // At the program's close: the source list goes, so that a result still on its way finds no list
    // to reach. Nothing may read the source through the configuration after it.
    void LibereListeSource();

    TSourceListe* ListeSource() const { return listeSource.get(); }
    Tconfiguration* Configuration() const { return configuration.get(); }

    // Where the program keeps its data (settings, trash, signatures, journals), without a final
    // separator; no folder under it may be a destination.
    QString DossierProgramme;
    // Everything the operations ask or tell the user, and the wait window of long ones; both
    // outlive the session's operations (a test puts its own in place).
    IQuestions* Questions = nullptr;
    IAttente* Attente = nullptr;

    // While above 0 the duplicate search is not restarted; read by the search's threads.
    std::atomic<int32_t> Occupe{0};
    // The duplicate search task running, if any (it deletes itself once it has ended).
    QPointer<TTacheMini> TacheRecherche;
    // Asks the running search, if any, to stop; it starts again on its own schedule.
    void DemandeArretRecherche();
    // Asks the running search to stop and waits for it: for what renames or moves what it reads.
    void AttendFinRecherche();

    // Files into destination d, moved or copied, as one command for undo: the given lines of the
    // source list (a selection, filed from the highest down so that each removal leaves the lower
    // lines in place), or, with none, the current file (IndexAffiche). Every file operation is
    // checked: a file that cannot be filed stays listed, unrecorded, on the disk where it was.
    TResultatClassement Classe(TDestination& d, bool copie, const std::optional<QList<int>>& lignes);

    // Undoes the last command of the record: its files back where they were, the files put back
    // into the source list at their old lines (the last of them requested for display), and the
    // destinations that received them forget them. The search is held off meanwhile and asked to
    // stop, since undo takes files out of the destinations' queues.
    TResultatAnnulation Annule();

    // The data start-up.
    // What it did: what it has to tell once the main window stands, in the order it arose (true: a
    // file not read whole, false: a warning), and whether a configuration file was read, whose
    // window values then apply.
    struct TResultatDemarrage {
        QList<QPair<bool, QString>> Messages;
        bool ConfigurationLue = false;
        bool PremierDemarrage = false; // there was no configuration file yet
    };
    // Done once, before the data are used: the folders the program keeps its data in made, the
    // renaming cut off last time undone, the source list and the configuration made with the trash
    // as destination 0, then "Mirasolve.ini" of DossierProgramme read, which scans and sorts the
    // source folder. The source list hints through fenetre, the destinations' stores load under
    // chargement. Questions are asked at once through Questions, but what the start-up tells is kept
    // in the result. lie is called once the trash stands, before anything is read, for the window
    // to tie itself to the new data.
    TResultatDemarrage Demarre(IFenetrePrincipale* fenetre, IChargement* chargement,
                               const std::function<void(TDestination& corbeille)>& lie);

    // The source, the renaming of a destination's files, the trash, the review's deletions and
    // the configuration files.

    // Scans the folder as the new source (the wait window shown meanwhile), sorted by name, its
    // first file current, or the file garde names when the folder still holds it. The search is
    // asked to stop: it starts again on its own schedule.
    TResultatSource ChangeSource(const QString& dossier,
                                 const std::optional<TPositionSource>& garde = std::nullopt);
    // The source folder scanned again, its current file kept when the folder still holds it.
    TResultatSource Rafraichit();
    // The folder of the destination at that index as the source; it cannot receive files while it
    // is. Nothing but the search asked to stop when there is no destination there.
    TResultatSource DestinationCommeSource(int index);
    // The folder the source chooser opens on: the source folder, which becomes the default folder
    // when it no longer exists.
    QString SourceAProposer();

    // Gives the files of the destination at that index the base and a number each, once the
    // search has ended (it reads them). confirme is asked first with the names to come (empty when
    // the destination knows no file); false renames nothing. The undo steps follow the files.
    TRenommageDestination RenommeDestination(int index, const QString& base,
                                             const std::function<bool(const QString& question)>& confirme);

    // Deletes what the trash folder holds, a read-only file only when the user says so; the undo
    // steps of the deleted files go with them.
    TResultatCorbeille VideCorbeille();

    // Sends image 1, image 2 or both of each pair to the trash, as one command of the undo record,
    // and makes every destination forget them (signatures, duplicate lines). A pair that lost an
    // image earlier in the same call is passed over; an image that cannot be moved stays, with its
    // pairs and its signature.
    TResultatEffacement EffaceDeLaRevue(const QList<TPaire>& paires, bool image1, bool image2);

    // Another configuration file in place of the open one: every destination but the trash closes
    // asking nothing (each keeping its signatures), the tree levels start afresh, the
    // file is read with the window's bounds (fenetre), and the source is scanned again. The default
    // file is refused, and a file that cannot be read to its end changes nothing.
    TResultatConfiguration OuvreConfiguration(const QString& fichier, IFenetrePrincipale& fenetre);
    // Writes the configuration, with the window's bounds, to a file other than the default one.
    TResultatConfiguration SauveConfiguration(const QString& fichier, IFenetrePrincipale& fenetre);

    // Opening, closing and modifying destinations, adding a folder tree, and the tree levels.

    // The levels of the destination tree and the level the panel shows; made with the data, wired
    // to the configuration (which counts the destinations it reads into them). Null before.
    TListeGroupe* ListeGroupe() const { return listeGroupe.get(); }
    // Starts the levels afresh, with the top level alone, for a tree made again from the list.
    TListeGroupe& NouveauxNiveaux();
    // Why a folder cannot be a destination, in one sentence; empty when it can. The destination
    // deplacee, which is to be given that folder, does not count among those open under another
    // spelling.
    QString RefusDossier(const QString& chemin, const TDestination* deplacee = nullptr) const;
    // Opens the folder of these properties as a destination at the end of the list, in that level;
    // none, with the refusal, when it is open already (under any spelling) or the program's own.
    TResultatOuverture OuvreDestination(const TProprietesDestination& proprietes, int32_t niveau);
    // Closes the destination at that index and every destination of the levels below it, each
    // asking its question; the search held off and asked to stop, the store written once.
    TResultatFermeture FermeDestination(int index);
    // Closes every destination but the trash, each asking its question, unless the user cancels all.
    TResultatFermeture FermeTout();
    // Gives the destination at that index these properties. Another folder (its own reached another
    // way is not another) is refused as opening it would be; otherwise the destination becomes that
    // folder's, its store kept under the old one, the search held off and asked to stop meanwhile.
    // Nothing for the trash.
    TResultatModification ModifieDestination(int index, TProprietesDestination proprietes);
    // Adds a folder and all the folders below it, as levels or as a flat list; valide gives the
    // properties of each folder (as proposed, or through a dialog), or none to leave it out.
    using TValidation =
        std::function<std::optional<TProprietesDestination>(const QString& dossier, int mode)>;
    TResultatArborescence AjouteArborescence(const QString& dossier, const TOptionsArborescence& options,
                                             const TValidation& valide);

private:
    // Declared in this order so that the configuration, which refers to the source list, goes first.
    std::unique_ptr<TSourceListe> listeSource;
    std::unique_ptr<Tconfiguration> configuration;

    // The duplicate search's scheduling, the near copies of the current image, and the commands of
    // the "Images en double" menu.
public:
    // New tasks start only while this holds: true from the start, false once the program closes.
    bool RechercheAutorisee = true;
    // Rebuilt for each GENERAL task, which holds it too and adds its new signatures to it.
    std::shared_ptr<TListeGenerale> ListeGenerale = std::make_shared<TListeGenerale>();
    // The helper threads that decode ahead for a task: one per core beyond the first.
    int DecodeursEnPlus = TTacheMini::DecodeursEnPlusParDefaut();

    // The search's decision, made on each tick and at the end of each task: the comparison of a
    // destination that entered GENERAL mode, or else the first destination with images queued, is
    // started when the search is allowed and nothing holds it (ADemarrer, the totals then stopping
    // there); otherwise the totals over every destination, for the tool bars.
    TBilanRecherche FinTache();

    // The search modes of every destination but the trash (off, LOCAL, or GENERAL with both), the
    // running task asked to stop first; the folders whose pending GENERAL comparison could not be
    // kept on disk (MessageMarqueComparaison).
    QStringList ChangeModeRecherche(bool locale, bool generale);

    // Empties the duplicate lines of destination index, once the user has confirmed; the images
    // and their signatures stay. False when nothing was erased (cancelled, or no such destination).
    bool EffaceDoublons(int index);

    // Reviews the duplicate pairs of d: the search held off and asked to stop, the pairs whose
    // files are gone dropped, then revue (the review window) run on the rest while the search is
    // still held, d kept alive by what it is given. False, with nothing done, when d has no pair.
    bool RevoitDoublons(TDestination& d,
                        const std::function<void(const std::shared_ptr<TDestination>&)>& revue);

    // Runs gestionnaire (the signature manager) with the search held off: the running task is
    // waited for, so that its images are back in their lists, then the store of every open
    // destination is written, so that the stores hold what the lists hold; the folders whose store
    // could not be written are told once, before gestionnaire, and returned.
    QStringList GereSignatures(const std::function<void()>& gestionnaire);

    // Looks for the near copies of the image shown (its picture as decoded for the display, and
    // its file) among the open destinations, the trash and the source folder aside, on a thread of
    // its own; a picture that is not readable means no image is shown. The same picture of the same
    // file is not looked for twice unless meme. CopiesTrouvees tells when CopiesDeLaCourante holds
    // the answer: later, or at once when there is nothing to look for.
    void ChercheCopiesDeLaCourante(TImageDecodee image, QByteArray chemin, bool meme = false);
    // Looks again when what the answer depends on changed since: the destinations searched, their
    // signatures, the sensitivity.
    void VerifieCopiesDeLaCourante();
    // Where the current image's near copies are, the nearest first.
    std::vector<TCopieConnue> CopiesDeLaCourante;

signals:
    // The counts of d changed under a task (its progress, its end): its tile shows them again.
    void DestinationAvancee(TDestination* d);
    // A task ended and the decision after it was made: the next task started, or the totals.
    void TacheTerminee(const TBilanRecherche& bilan);
    // CopiesDeLaCourante holds the answer for the image last asked about.
    void CopiesTrouvees();

private:
    void DemarreTache(int index);
    // The comparison of a destination that entered GENERAL mode with the other GENERAL ones.
    void DemarreComparaison(int index);
    // The end of a task, on the main thread: the tile redrawn, the store written when more than
    // ten signatures came since it last was, then the next decision.
    void VraiFinTache(TTacheMini& tache);
    void CopiesRecues(quint64 numero, const std::vector<TCopieConnue>& copies);
    // Before the data go: the finder stopped and the copies it found let go, while the
    // configuration their destinations refer to still stands.
    void LibereCopies();

    TChercheurCopies* chercheurCopies = nullptr;
    uint64_t numeroCopies = 0;
    // The picture and the file last looked for (the picture's cache key; 0 when none).
    TImageDecodee imageCherchee;
    qint64 cleCherchee = 0;
    QByteArray fichierCherche;
    quint64 etatDesCopies = 0; // what the destinations were when the copies were last looked for
    std::unique_ptr<TListeGroupe> listeGroupe; // refers to the configuration's destinations
};
