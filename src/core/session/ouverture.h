#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TDestination;

// What opening one destination did: the destination opened, or, with none, why its folder was
// refused (one sentence to show; empty when the folder was refused without a word).
struct TResultatOuverture {
    TDestination* Ouverte = nullptr;
    QString Refus;
};

// What closing did: the folders of the destinations that left the list, in list order, and
// whether the user cancelled all on the way (those not yet asked stay open).
struct TResultatFermeture {
    QStringList Fermees;
    bool ToutAnnule = false;
};

// What modifying a destination did. Refused: nothing changed, Refus says why. The folder could
// not change: nothing changed, Echec says why. Otherwise the destination at that index took the
// properties (Destination, a new object when DossierChange); Avertissement, when not empty, says
// that the comparison mark of its new mode could not be kept.
struct TResultatModification {
    bool Modifiee = false;
    bool DossierChange = false;
    TDestination* Destination = nullptr;
    QString Refus;
    QString Echec;
    QString Avertissement;
};

// What adding a folder tree did: the destinations opened, in the order they were opened (a folder
// before its sub-folders).
struct TResultatArborescence {
    QList<TDestination*> Ouvertes;
};
