#pragma once

#include "source/tachesource.h"

#include <QObject>

#include <cstdint>

class QFrame;
class QLabel;
class TImage;
class TMainForm;
class TSourceListe;

// Shows the file at the source list's current position large, with the previous and the next file
// as previews: full displays, one-file shifts that reuse the decoded pictures and load the one new
// preview in a loader thread, and the fit of each slot.
class TAffichageSource : public QObject {
    Q_OBJECT
public:
    TAffichageSource(TMainForm& fenetre, QObject* parent = nullptr);

    // The source list shown; none while the program has none.
    TSourceListe* Liste = nullptr;

    void AfficheTout();
    void Avance();
    void Recule();
    void AfficheCourante();
    void PlaceSuivante();
    void PlacePrecedente();

    // Fits the three slots again after a resize, without touching a preview that is loading.
    void Reajuste();

    // A preview is hidden while its new file loads.
    bool ApercuEnChargement() const;

private:
    struct Case {
        QFrame* Panneau;
        TImage* Image;
        QLabel* Libelle;
        uint64_t Numero = 0; // the request whose result the slot waits for
    };

    static void Charge(Case& cible, const TImageDecodee& image);
    static void Vide(Case& cible);
    static void CopieImage(const Case& source, Case& cible);
    void AjusteApercu(Case& apercu);
    void Place(Case& apercu);
    void LanceChargement(Emplacement emplacement, int index);
    void ChargementTermine(Emplacement emplacement, quint64 numero, const TImageDecodee& resultat);
    void FinDePlacement();
    void SelectionneCourant();

    TMainForm& fenetre;
    Case suivant;
    Case precedent;
    Case courant;
};
