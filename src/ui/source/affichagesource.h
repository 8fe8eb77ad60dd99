#pragma once

#include "core/source/cacheimages.h"
#include "core/source/tachesource.h"

#include <QObject>

#include <QThreadPool>
#include <QTimer>

#include <array>
#include <atomic>

class QFrame;
class QLabel;
class QListWidget;
class QScreen;
class QScrollBar;
class TImage;
class TSourceListe;

// The main window's controls that the display drives, named as the window names them: the three
// slots (the previous file is shown in the panel on the right, the next one on the left), the
// list box whose selection follows the position, the navigation timer, the empty-source label,
// the status panels (position, size, file) and the scroll bar.
struct TControlesAffichage {
    QFrame* PanelCourant2 = nullptr;
    TImage* ImageCourante = nullptr;
    QLabel* LabelCourantIllisible = nullptr;
    QFrame* PanelPrec2 = nullptr;
    TImage* ImagePrec = nullptr;
    QLabel* LabelPrecIllisible = nullptr;
    QFrame* PanelSuiv2 = nullptr;
    TImage* ImageSuiv = nullptr;
    QLabel* LabelSuivIllisible = nullptr;
    QListWidget* ListBox1 = nullptr;
    QTimer* TimerCourantAff = nullptr;
    QLabel* LabelSourceVide = nullptr;
    std::array<QLabel*, 4> PanneauxStatut{};
    QScrollBar* ScrollBar1 = nullptr;
};

// Shows the file at the source list's current position large, with the previous and the next file
// as previews: full displays, one-file shifts that reuse the decoded pictures, and the fit of each
// slot. Pictures come from a bounded cache that loader threads fill ahead of the position, in the
// direction of the last move; a preview missing from it waits hidden for its loader.
class TAffichageSource : public QObject {
    Q_OBJECT
public:
    explicit TAffichageSource(const TControlesAffichage& controles, QObject* parent = nullptr);
    ~TAffichageSource() override;

    // The source list shown, the session's; none while the program has none.
    TSourceListe* Liste = nullptr;

    // Whether the list box holds a selection of several files that filing acts on: noted when a
    // click leaves two or more selected, forgotten by the next full display, which selects the
    // current file alone.
    bool MultiSelection() const { return multiSelection; }
    void NoteMultiSelection() { multiSelection = true; }

    void AfficheTout();
    void Avance();
    void Recule();
    void AfficheCourante();

    // Fits the three slots again after a resize, without touching a preview that is loading.
    void Reajuste();

    // A slot is hidden while its new file loads, until a first picture of it comes.
    bool ApercuEnChargement() const;
    // A preview's picture is being scaled for the current slot, or will be once the step shown
    // is painted.
    bool PreparationEnCours() const { return preparationsEnCours > 0 || preparationApresPeinture; }

    // Shows no list any more: the loaders stop taking files and the kept pictures go.
    void Libere();

    // A file that has left the source: its picture is not kept.
    void Oublie(const QByteArray& chemin) { cache.Oublie(chemin); }

    // Files decoded ahead of the position in the direction of the last move, and behind it.
    static constexpr int AnticipationDevant = 16;
    static constexpr int AnticipationDerriere = 3;

    TCacheImages& Cache() { return cache; }

    // From how many pixels a picture that comes into the current slot with no copy scaled for it
    // is shown at once roughly scaled, then smoothly once the preparation thread has scaled it.
    // Tests lower it.
    static inline qint64 PixelsPourCopieRapide = 3'000'000;

    // The size in the screen's own pixels that pictures are decoded for: that of the screen the
    // main window stands on, at its pixel ratio.
    QSize EcranEnPixels() const;

    // The current picture as decoded for the screen, with its file, once it is shown whole:
    // false while it loads or when there is none.
    bool ImageCourante(TImageDecodee& image, QByteArray& chemin) const;

signals:
    // The current slot shows another picture (or the same one whole).
    void CouranteChangee();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    struct Case {
        QFrame* Panneau;
        TImage* Image;
        QLabel* Libelle;
        QByteArray Attendu;    // the file whose picture the slot waits for; empty when none
        QByteArray Fichier;    // the file of the picture shown
        int Orientation = 1;   // how that picture was turned from its stored pixels
        bool Ebauchee = false; // while it waits, the slot shows the awaited file's first picture
        // The key of the picture that the control shows roughly scaled until its smooth copy
        // comes; 0 when none.
        qint64 CleRapide = 0;
    };

    void Remplit(Case& cible, const TImageDecodee& image, const QByteArray& chemin);
    void Vide(Case& cible);
    void CopieImage(const Case& source, Case& cible);
    // The size in the screen's pixels that the slot's control takes for a picture of that
    // natural size.
    static QSize PixelsDans(const Case& place, QSize naturelle);
    // Gives the slot's control the copy of its picture scaled for it, when one was made. A large
    // picture with none in the current slot is shown at once roughly scaled, and smoothly once the
    // preparation thread has scaled it: a smooth scale of it on the main thread would take longer
    // than a frame. A preview is scaled at its paint: its smaller copy costs the main thread less,
    // and a rough and then a smooth scale of it would take more from the loaders than it saves.
    void DonneCopie(Case& cible);
    // Scales, off the main thread and as a paint would, the current picture when it is shown
    // roughly scaled first, then those for the slots a step would take them to: the previews' for
    // the current slot, the current one's for both previews, and the next file's in the direction
    // of the last move for its preview. A step then paints its pictures without scaling them; the
    // copies no step can use any more go.
    void Prepare();
    // Prepares once a slot has been painted and the window's paint is over, so that the scaling
    // threads never take the processors from the paint of a step; after PreparationSansPeintureMs
    // when nothing is painted meanwhile.
    void PrepareApresPeinture();
    static constexpr int PreparationSansPeintureMs = 50;
    // A one-file shift: the target takes the source's picture, and its wait for the whole picture
    // when the source shows a first one.
    void Deplace(Case& source, Case& cible);
    void AjusteApercu(Case& apercu);
    void Place(Case& apercu);
    // Fills a slot with file index from the cache, or hides it until a loader brings it.
    void Charge(Case& cible, int index);
    // Fits a filled slot and shows it.
    void Montre(Case& cible);
    void FinAttente(Case& apercu);
    void ImageDecodee(const QByteArray& chemin, const TImageDecodee& image, QSize ecran);
    void RelanceEtapeRetenue();
    // Shows a first picture in the slots that wait for the file; they go on waiting for the whole.
    void ImageEbauchee(const QByteArray& chemin, const TImageDecodee& image, QSize ecran);
    // Follows the screen the window stands on, whose size or pixel ratio may change.
    void SuitEcran();
    // The screen's size in pixels has changed: the pictures shown are decoded again for it and
    // stay on screen meanwhile, as a first picture does.
    void EcranChange();
    // Asks the loaders for the files around the position, in the direction sens (+1 or -1).
    void Anticipe(int sens);
    void SelectionneCourant();

    TControlesAffichage controles;
    bool multiSelection = false;
    Case suivant;
    Case precedent;
    Case courant;
    TCacheImages cache;
    TChargeurImages chargeur;
    // A picture (by its key) scaled to the pixels of a slot.
    struct Copie {
        qint64 Cle;
        QImage Image;
    };
    QList<Copie> copies;
    // One thread; a scale asked for before the last Prepare is skipped, the next one asks again.
    QThreadPool preparations;
    std::atomic<quint64> generation{0};
    int preparationsEnCours = 0;
    bool preparationApresPeinture = false;
    QTimer preparationDifferee;
    int sensDuMouvement = 1;
    QSize ecranDemande; // the size the loaders were last asked for
    QScreen* ecranSuivi = nullptr;
    QMetaObject::Connection suiviGeometrie;
};
