#pragma once

#include "core/destinations/classement.h"
#include "core/session/ouverture.h"
#include "core/tools/arborescence.h"

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
class IQuestions;
class TDestination;
class TListeGroupe;
class TSourceListe;
class TTacheMini;
class Tconfiguration;

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
    std::unique_ptr<TListeGroupe> listeGroupe; // refers to the configuration's destinations
};

// The session's source list and configuration as the rest of the program still reaches them while
// it moves to the session: set by TSession::CreeDonnees, cleared when the session goes. These are
// going: new code takes the session.
extern TSourceListe* ListeSource;
extern Tconfiguration* Configuration;
