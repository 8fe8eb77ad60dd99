#pragma once

#include <QString>

// The progress of long work as the core reports it. Both may be called from any thread: the
// windows that show them carry the call over to the main thread when it comes from another.

// The shared wait window as the core sees it: one line of text and one progress bar.
class IAttente {
public:
    virtual ~IAttente() = default;
    // Sets the text, the bar's maximum and position 0, then shows the window and repaints it at once.
    virtual void Prepare(const QString& texte, int maximum) = 0;
    virtual void Avance() = 0;
    virtual void Cache() = 0;
};

// The loading window as the core sees it: the destinations read from a configuration (the first
// bar, the title of the one being read) and the signatures of that one (the second bar).
class IChargement {
public:
    virtual ~IChargement() = default;
    virtual void DebutLecture(int maximum) = 0;
    virtual void DestinationEnCours(const QString& titre) = 0;
    virtual void PasLecture() = 0;
    virtual void DebutChargement(int maximum) = 0;
    virtual void PasChargement() = 0;
};
