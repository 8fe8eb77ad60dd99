#pragma once

#include <QRect>
#include <QString>

// What the core reads from and gives to the main window's displays: its normal bounds, its state,
// the three dividers and the source list's hint.
class IFenetrePrincipale {
public:
    virtual ~IFenetrePrincipale() = default;
    virtual bool EstMaximisee() const = 0;
    // Bounds of the window in its normal state, also while it is maximised.
    virtual QRect BornesNormales() const = 0;
    virtual void RetablitEtatNormal() = 0;
    virtual void FixeBornes(const QRect& bornes) = 0;
    virtual void FixeMaximisee(bool maximisee) = 0;
    virtual QSize TailleMinimale() const = 0;

    virtual int LargeurDestinations() const = 0; // GroupBoxDestinations
    virtual int LargeurListe() const = 0;        // Panel2
    virtual int HauteurApercus() const = 0;      // PanelPrecSuiv
    virtual void FixeSeparateurs(int largeurDestinations, int largeurListe, int hauteurApercus) = 0;

    // The hint of the source list, which names the folder scanned.
    virtual void FixeIndiceListe(const QString& indice) = 0;
};
