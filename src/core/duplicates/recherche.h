#pragma once

#include "listegenerale.h"
#include "miniature.h"

#include <QStringList>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class TDestination;

// The signatures a new one is compared with, laid out for speed: the grids end to end, beside the
// shared signatures they were copied from (which keep their file names and proportions alive).
class TListeComparaison {
public:
    void Reserve(std::size_t n);
    void Ajoute(std::shared_ptr<Tminiature> signature);
    std::size_t Taille() const { return signatures.size(); }
    // The duplicate lines of a new signature against every signature of the list, in list order;
    // never one with a signature of the same file.
    QStringList Compare(const Tminiature& nouvelle, int32_t sensibilite) const;
    // The same pairs as (index in the list, dissimilarity).
    std::vector<std::pair<uint32_t, int32_t>> Paires(const Tminiature& nouvelle, int32_t sensibilite) const;
    const std::shared_ptr<Tminiature>& Signature(std::size_t i) const { return signatures[i]; }

private:
    std::vector<uint8_t> grilles;
    std::vector<std::shared_ptr<Tminiature>> signatures;
};

// One duplicate search over one destination (a task), on its own thread at idle priority: the
// signatures of the destination's queued images, each compared with the signatures of its folder
// (LOCAL) or of every active destination (GENERAL, the shared list given), and the pairs below the
// sensitivity recorded as the destination's duplicate lines.
//
// The queue is taken in order. Decoding, nearly all of the time, runs ahead on helper threads
// (decodeursEnPlus of them, each at idle priority, a few images ahead at most); results are taken
// in queue order, so signatures, lines and counts are those of a run on one thread.
//
// Everything shared goes through the destination's methods, under its lock, and the shared general
// list's; the task holds the destination and every signature it compares with, so nothing it uses
// is freed under it. It counts one in occupe from its construction to the end of its run.
class TTacheMini : public QThread {
    Q_OBJECT
public:
    TTacheMini(std::shared_ptr<TDestination> destination, std::shared_ptr<TListeGenerale> generales,
               const std::atomic<int32_t>& sensibilite, std::atomic<int32_t>& occupe, int decodeursEnPlus);
    ~TTacheMini() override;

    // Asks the task to stop after the image in hand; returns at once. A decode under way gives up,
    // and the images not yet compared go back to the front of the queue.
    void DemandeArret();

    const std::shared_ptr<TDestination> DestinationTraitee;

    // How many helper threads suit this machine: one per core beyond the first.
    static int DecodeursEnPlusParDefaut();

signals:
    // Every tenth signature, from the task's thread: the destination's tile shows the progress.
    void Progression();

protected:
    void run() override;
    // The task's work, between taking its count and giving it back.
    virtual void Travaille();
    // Decodes one image into its signature, on the task's thread or a helper's; gives up when
    // the task is asked to stop.
    virtual ResultatCalcul Calcule(const QByteArray& chemin, Tminiature& signature);
    bool Arrete() const;

private:
    std::shared_ptr<TListeGenerale> generales;
    const std::atomic<int32_t>& sensibilite;
    std::atomic<int32_t>& occupe;
    const int decodeursEnPlus;
    std::atomic<bool> arret{false};
    std::atomic<bool> compteRendu{false};
};

// The comparison, once, of the signatures a destination already had when it entered GENERAL mode
// with the signatures of the other GENERAL destinations (partenaires), on its own thread at idle
// priority and without decoding anything. Each pair below the sensitivity becomes a line of the
// destination, as a GENERAL task signing its image now would write it, unless one of the two
// destinations already has a line for the pair (see TDestination::AjoutePairesCroisees).
//
// Its signatures are taken in the order of their file names, from the first one after reprise;
// Reprise then follows the last one compared, so that a comparison stopped (every command that
// stops the search stops it) resumes where it was. It counts one in occupe as any task does.
class TTacheComparaison : public TTacheMini {
    Q_OBJECT
public:
    TTacheComparaison(std::shared_ptr<TDestination> destination,
                      std::vector<std::shared_ptr<TDestination>> partenaires, QString reprise, int generation,
                      const std::atomic<int32_t>& sensibilite, std::atomic<int32_t>& occupe);
    // Waits for the thread itself: the partners and the resume point it uses are its own members,
    // gone before the base class would wait.
    ~TTacheComparaison() override;

    // Read once the thread has ended: where to resume, whether everything was compared, and how
    // many lines were added.
    QString Reprise;
    bool Terminee = false;
    int LignesAjoutees = 0;
    // The entry into GENERAL mode the comparison was started for.
    const int Generation;

protected:
    void Travaille() override;

private:
    const std::vector<std::shared_ptr<TDestination>> partenaires;
    const std::atomic<int32_t>& sensibiliteComparaison;
};
