#pragma once

#include <QString>

// The shared wait window as the core sees it: one line of text and one progress bar.
class IAttente {
public:
    virtual ~IAttente() = default;
    // Sets the text, the bar's maximum and position 0, then shows the window and repaints it at once.
    virtual void Prepare(const QString& texte, int maximum) = 0;
    virtual void Avance() = 0;
    virtual void Cache() = 0;
};
