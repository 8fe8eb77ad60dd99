#pragma once

#include "core/destinations/classement.h"
#include "core/session/source.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class IAttente;
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
    // asking nothing (each keeping its signatures), nouveauxNiveaux gives the tree levels anew, the
    // file is read with the window's bounds (fenetre), and the source is scanned again. The default
    // file is refused, and a file that cannot be read to its end changes nothing.
    TResultatConfiguration OuvreConfiguration(const QString& fichier, IFenetrePrincipale& fenetre,
                                              const std::function<TListeGroupe&()>& nouveauxNiveaux);
    // Writes the configuration, with the window's bounds, to a file other than the default one.
    TResultatConfiguration SauveConfiguration(const QString& fichier, IFenetrePrincipale& fenetre);

private:
    // Declared in this order so that the configuration, which refers to the source list, goes first.
    std::unique_ptr<TSourceListe> listeSource;
    std::unique_ptr<Tconfiguration> configuration;
};

// The session's source list and configuration as the rest of the program still reaches them while
// it moves to the session: set by TSession::CreeDonnees, cleared when the session goes. These are
// going: new code takes the session.
extern TSourceListe* ListeSource;
extern Tconfiguration* Configuration;
