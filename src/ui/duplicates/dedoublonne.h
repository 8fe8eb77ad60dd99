#pragma once

#include "core/duplicates/revue.h"

#include <QDialog>
#include <QList>

#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTableView;
class TModelePaires;
class TDestination;
class TFormPleinEcran;
class TImage;
class TLecteurImage;
class TSession;

// The window "Gestion des images en double": one destination's duplicate pairs in a grid, the two
// images of the selected pair side by side, and the buttons that send image 1, image 2 or both to
// the trash, or keep both. Every change is made at once in the destinations' lists and on disk.
class TFormDedoublone : public QDialog {
    Q_OBJECT
public:
    // session: where the images deleted go to the trash, the undo record and the destinations that
    // forget them, and where the user is asked and told; pleinEcran: where a click on a picture
    // shows its file (none: nowhere).
    TFormDedoublone(TSession& session, TFormPleinEcran* pleinEcran, QWidget* parent = nullptr);
    ~TFormDedoublone() override;

    // Sets the window on a destination's pairs. False when the destination has no pair left to show.
    bool Prepare(std::shared_ptr<TDestination> revue);

    // The grid refilled from the destination's pairs; the window closes when none is left.
    void MiseAjour();
    // Both images shown whole in their boxes, never enlarged, centred.
    void Dimensionnement();
    // The text of a grid cell (rows from 1, columns 0 to 2), as it is drawn.
    QString Cellule(int rangee, int colonne) const;
    // A path shortened to fit the first column: its first three characters, "..." and its end.
    QString AffichePath(const QString& path) const;
    // Shows the pair of a grid row (1 is the first pair).
    void StringGrid1SelectCell(int rangee);
    // True while a picture of the pair shown is still being read.
    bool ChargementEnCours() const;
    // The pictures of side k (1 or 2) being read or waiting to be.
    int LecturesEnCours(int k) const;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

signals:
    // The destinations' lists changed: images went to the trash, or pairs were kept.
    void ListesChangees();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    QGroupBox* GroupBoxList;
    QTableView* StringGrid1;
    QWidget* Panel2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QWidget* Panel1;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    TImage* Image1;
    TImage* Image2;
    QStatusBar* StatusBar1;
    QStatusBar* StatusBar2;
    QLabel* Panneaux1[2];
    QLabel* Panneaux2[2];

    struct TCote {
        TImage* image;
        QWidget* zone;
        QLabel** panneaux;
        TLecteurImage* lecteur;
        quint64 attendue; // the request whose picture this side waits for; 0 when none
        QString demande;  // the file of that request
        QString montre;   // the file whose picture this side shows
    };
    QGroupBox* CreeCote(const QString& nom, const QString& titre, TCote& cote, QStatusBar*& barre,
                        QLabel** panneaux);
    void FormResize();
    // The selected grid rows, top to bottom (1 is the first pair).
    QList<int> RangeesChoisies() const;
    void Selectionne(int rangee);
    // Image k (1 or 2) of each chosen row, after the question when there are several rows.
    void EffaceImage(int k);
    // Sends image 1, image 2 or both of each chosen row's pair to the trash.
    void Efface(const QList<int>& rangees, bool image1, bool image2);
    // After a command: the grid again, the row at the former top or the last one selected.
    void Reprend(int ancienneRangee);
    void Charge(TCote& cote, const QString& fichier);
    void ActualiseChemin(TCote& cote);

    TSession& session;
    TFormPleinEcran* pleinEcran;
    std::shared_ptr<TDestination> destination;
    QList<TPaire> paires; // the pair of each grid row, which the grid's model reads
    TCote cote1{}, cote2{};
    quint64 demandes = 0;  // pictures read for an earlier request are dropped
    int rangeeMontree = 0; // the row whose pair is shown
    TModelePaires* modele;
};
