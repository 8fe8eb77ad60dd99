#pragma once

#include "core/app/bandeicones.h"
#include "core/app/dialogues.h"
#include "core/app/questions.h"
#include "core/config/fenetreprincipale.h"
#include "core/duplicates/dejaclasse.h"
#include "core/duplicates/listegenerale.h"
#include "core/duplicates/miniature.h"
#include "core/duplicates/recherche.h"
#include "core/tools/arborescence.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QScrollBar;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class TAffichageSource;
class QDialog;
class TDestination;
class TPanneauDestinations;
class TSession;
class TFormSplash2;
class TImage;
struct TPositionSource;
struct TBilanRecherche;

// The main window: the source list and its previews, the destinations panel, menus, tool bars,
// timers, keys and the orderly shutdown.
class TMainForm : public QMainWindow, public IFenetrePrincipale {
    Q_OBJECT
public:
    // session: the program's data and operations, which outlives the window; dossierProgramme:
    // where the data lives; dossierRessources: where the icon strip and the help file are read
    // (the executable's folder).
    TMainForm(TSession& session, const QString& dossierProgramme, const QString& dossierRessources);
    ~TMainForm() override;

    TSession& Session() const { return session; }

    // Fields shared with the rest of the program.
    std::unique_ptr<TPanneauDestinations> Panneau; // the tiles: ImagePanneau, HauteurTuile, Tuiles
    TFormSplash2* FenetreChargement = nullptr;
    // What the start-up has to tell (true: a file not read, false: a warning), told once the
    // window stands.
    QList<QPair<bool, QString>> MessagesDemarrage;
    TBandeIcones ImageList4;
    int32_t DernierDoublonMontre = 0;

private:
    // Controls, outermost first; each bears its member's name as object name.
    QToolBar* ToolBarSource;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolBar* ToolBarDestination;
    QToolButton* ToolButton14;
    QToolButton* ToolButton3;
    QToolButton* ToolButton12;
    QToolButton* ToolButton15;
    QToolButton* ToolButton16;
    QToolButton* ToolButton17;
    QToolButton* ToolButton18;
    QToolBar* ToolBar2;
    QToolButton* ToolButton4;
    QFrame* Panel3;
    TImage* ImageProgress;
    QToolBar* ToolBar1;
    QToolButton* ToolButton5;
    QLabel* StaticDoublons;

    QSplitter* SplitterMain;
    QGroupBox* GroupBoxDestinations;
    QWidget* ScrollBox1;
    TImage* ImageDestination;
    QScrollBar* ScrollBarDest;

    QGroupBox* GroupBoxSource;
    QSplitter* Splitter1;
    QWidget* Panel2;
    QListWidget* ListBox1;
    QWidget* Panel1;
    QSplitter* SplitterH;
    QWidget* PanelPrecSuiv;
    QGroupBox* GroupBoxPrec;
    QFrame* PanelSuiv2;
    TImage* ImageSuiv;
    QLabel* LabelSuivIllisible;
    QGroupBox* GroupBoxSuiv;
    QFrame* PanelPrec2;
    TImage* ImagePrec;
    QLabel* LabelPrecIllisible;
    QWidget* PanelCourant;
    QGroupBox* GroupBoxCourant;
    QScrollBar* ScrollBar1;
    QFrame* PanelCourant2;
    TImage* ImageCourante;
    QLabel* LabelCourantIllisible;
    // Says how to choose a source, in place of the current image, while the source has no file.
    QLabel* LabelSourceVide;
    QStatusBar* StatusBarCourant;
    QLabel* PanneauxStatut[4];

    QMenu* PopupMenuTri;
    QMenu* PopupMenu2;

    QTimer* Timer1;
    QTimer* TimerFermeture;
    QTimer* TimerCourantAff;
    QTimer* Timer2;

    // Menu entries, by their component names.
    QAction* GestiondeSignatures1;
    QAction* Gestionnairedeconfiguration1;
    QAction* Prfrences1;
    QAction* Viderlacorbeille1;
    QAction* Quit1;
    QAction* Parcourir1;
    QAction* Rafraichir1;
    QAction* Annulation1;
    QAction* Ajouter1;
    QAction* Ajouteravecsousdossiers1;
    QAction* Fermertouteslesdestinations1;
    QAction* Dsactiverlarecherchepourtouteslesdestinations1;
    QAction* ActiverlarechercheLOCALEpourtouteslesdestinations1;
    QAction* ActiverlarechercheGENERALEpourtouteslesdestinations1;
    QAction* Montrerladestinationencoursdeddoublonnage1;
    QAction* Montrerlesdestinationsquiontdesdoublons1;
    QAction* Guide1;
    QAction* Tutorial1;
    QAction* Rfrences1;
    QAction* TrierparNom1;
    QAction* TrierparDate1;
    QAction* TrierparTaille1;
    QAction* TrierparExtension1;
    QAction* Fermerladestination1;
    QAction* Modifierlescaractristiques1;
    QAction* Effacer1;
    QAction* Renommerlesfichiers1;
    QAction* Slectionnercettedestinationcommesource1;
    // The level icon drawn on the tiles of a level that holds others.
    QImage IconeSousGroupe;

public:
    // The three image slots of the source.
    TAffichageSource* Affichage;
    // Whether the list box holds a selection of several files that a filing acts on.
    bool MultiSelection() const;

    // Refills the list box from the source list.
    void RemplitListe();
    // Sets the hint of the source list box.
    void FixeIndiceListe(const QString& indice) override;

    // IFenetrePrincipale
    bool EstMaximisee() const override;
    QRect BornesNormales() const override;
    void RetablitEtatNormal() override;
    void FixeBornes(const QRect& bornes) override;
    void FixeMaximisee(bool maximisee) override;
    QSize TailleMinimale() const override;
    int LargeurDestinations() const override;
    int LargeurListe() const override;
    int HauteurApercus() const override;
    void FixeSeparateurs(int largeurDestinations, int largeurListe, int hauteurApercus) override;

    // Shutdown: true when the window may close now.
    bool FormCloseQuery();
    void FormClose();
    void Quit1Click();

    void Timer1Timer();
    void TimerFermetureTimer();

    // Navigation: each request writes the wanted position and arms TimerCourantAff.
    void ListBox1Click();
    void ScrollBar1Scroll(int action);
    void FormMouseWheelUp();
    void FormMouseWheelDown();
    void TimerCourantAffTimer();
    void ArmeTimerCourantAff();
    void Trie(int mode);
    void TrierparNom1Click();
    void TrierparDate1Click();
    void TrierparTaille1Click();
    void TrierparExtension1Click();
    void ImageCouranteMouseUp();

    // The destinations panel.
    void RafraichisListeDestinations();
    void PanelListeResize();
    void ScrollBarDestScroll(int position);
    void ImageDestinationMouseDown(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs,
                                   QPoint position);
    void ImageDestinationMouseUp(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs,
                                 QPoint position);
    void ImageDestinationMouseMove(QPoint position);
    void Redessine(TDestination& d);
    // The destinations-list index of the tile the tile menu was opened on; -1 when none is.
    int IndexDuMenuDeTuile() const;

    // Everything asked or told the user: message boxes and the confirmation dialog, or what a
    // test puts in their place. The configuration and the destinations ask through the same.
    IQuestions* Questions = nullptr;
    // Puts other questions in place everywhere at once: the window, the configuration, the
    // destinations.
    void FixeQuestions(IQuestions* questions);
    void Viderlacorbeille1Click();

    // Undoes the last filing.
    void Annulation1Click();

    // Files the current image, or the selected ones, into a destination: moved, or copied.
    void Classe(TDestination& d, bool copie);

    // The dialogs the user fills in, shown for real or played by a test. FixeDialogues puts
    // others in place for this window and the properties dialog at once.
    IDialogues* Dialogues = nullptr;
    void FixeDialogues(IDialogues* dialogues);

    // Opening and closing destinations. AjouteDestination opens a folder in a level with the
    // search mode 1 (LOCAL), 2 (none) or 3 (GENERAL), through the properties dialog unless
    // sansValidation; none when the dialog is cancelled or the folder is already open.
    void Ajouter1Click();
    TDestination* AjouteDestination(const QString& chemin, bool sansValidation, int32_t niveau, int mode);
    // The properties of a new destination for a folder (its name as title, the search mode):
    // taken as proposed when sansValidation, otherwise through the properties dialog; none when
    // the dialog was cancelled.
    std::optional<TProprietesDestination> ValideDestination(const QString& chemin, bool sansValidation,
                                                            int mode);
    void Fermerladestination1Click();
    void Fermertouteslesdestinations1Click();

    // The duplicate search: the one-second tick, which asks the session's decision (a task
    // started when one is due) and otherwise shows the totals; the commands of the "Images en
    // double" menu.
    void Timer2Timer();
    void FinTache();
    void Dsactiverlededoublonagepourtous1Click();
    void Activerleddoublonnage1Click();
    void ActiverleddoublonnageGENERALpourtouteslesdestinations1Click();
    void Montrerladestinationencoursdeddoublonnage1Click();
    void Montrerlesdestinationsquiontdesdoublons1Click();
    void Effacer1Click();
    void GestiondeSignatures1Click();
    // Renames the files of the destination whose tile menu is open: a base asked, then numbers.
    void Renommerlesfichiers1Click();
    // Reviews a destination's duplicate pairs in the review window, the search held off meanwhile.
    void RevoitDoublons(TDestination& d);
    // Shows the level of destination index, scrolled so that its tile is in view.
    void MontreDestination(int index);

    // Edits the properties of the destination whose tile menu is open.
    void Modifierlescaractristiques1Click();

    // Adds a folder and all the folders below it, as a tree of levels or as a flat list.
    void Ajouteravecsousdossiers1Click();

    // The source: a folder chosen in the source chooser, the same folder scanned again, or the
    // folder of the destination whose tile menu is open. Each asks the search to stop first.
    void Parcourir1Click();
    void Rafraichir1Click();
    void Slectionnercettedestinationcommesource1Click();
    // Scans the folder as the new source, sorts it by name, fills the list and shows its first file,
    // or the file garde names when the folder still holds it.
    void ChargeSource(const QString& dossier, const TPositionSource* garde = nullptr);
    // Shows the source list as the session holds it now: the list box refilled and the current
    // file shown; a step asked for in the former list is dropped.
    void MontreSource();

    // The configuration manager: the tree of destinations rearranged, configurations saved and opened.
    void Gestionnairedeconfiguration1Click();

    // The sensitivity of the duplicate search and the tile hints, edited in "Préférences".
    void Prfrences1Click();

    // Where near copies of the current image already are, among the open destinations (the trash
    // and the source folder aside): asked of the session when the current picture changes, and
    // again when the destinations, their signatures or the sensitivity change; shown in the
    // current image's caption and on the tiles.
    void ChercheCopiesDeLaCourante(bool meme = false);
    void VerifieCopiesDeLaCourante();
    // Shows the nearest copy in the full-screen viewer; false when there is none.
    bool MontreCopieLaPlusProche();

    void Guide1Click();
    void Tutorial1Click();
    void Rfrences1Click();

signals:
    // Emitted once, after FormClose has run.
    void Fermee();
    // The caption and the tiles show where the current image's near copies are.
    void CopiesMontrees();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    TSession& session;
    // The bounds given before the window was first shown, until it is first brought up.
    QRect bornesAvantAffichage;
    // Gives the window these bounds, or only their size where the platform places the windows.
    void PrendBornes(const QRect& bornes);

    void CreeBarresOutils();
    void CreeMenus();
    void CreeZoneDestinations();
    void CreeZoneSource();
    void CreeApercus(QWidget* parent);
    void CreeImageCourante(QWidget* parent);
    void CreeMinuteries();
    QAction* NouvelleAction(QMenu* menu, const QString& nom, const QString& titre, int image, int contexte,
                            const QString& indice = QString());
    QToolButton* NouveauBouton(QToolBar* barre, const QString& nom, QAction* action, int image,
                               const QString& indice);

    // The window's command keys as shortcuts: Delete files into the trash, 1 to 9 into the tiles
    // that show them (Ctrl copies).
    void CreeRaccourcis();
    void ToucheCorbeille();
    void ToucheDeTuile(int touche, bool copie);
    // Whether a command key may act: no dialog open, no text being typed.
    bool ToucheHorsSaisie() const;
    // Keys seen before any control of the application.
    bool AppMessage(QObject* destinataire, QKeyEvent* event);
    bool ToucheAide(QObject* destinataire, QKeyEvent* event);

    void ConnecteNavigation();
    // Shows the session's answer on the near copies of the current image.
    void CopiesTrouvees();
    // The session's search drawn by the window: the tiles it moves on, the totals after a task.
    void ConnecteRecherche();
    void MontreBilan(const TBilanRecherche& bilan);
    void ConnecteDestinations();
    // The session's: asks the running duplicate search, if any, to stop; it starts again on its own
    // schedule.
    void DemandeArretRecherche();
    // The session's: asks the running task to stop and waits for it, for commands that rename or
    // move what it reads.
    void AttendFinRecherche();
    void ChangeModeRecherche(bool locale, bool generale);
    void DessineProgression(qint64 fait, qint64 total);

    bool FiltreNavigation(QObject* objet, QEvent* event);

    void SplitterMainPaint();
    void Panel2Resize();
    void PanelPrecSuivResize();

    std::unique_ptr<IQuestions> questionsFenetre;
    bool fermetureFaite = false;
    int rouletteCumulee = 0; // wheel turns of less than one notch, kept for the next event
};
