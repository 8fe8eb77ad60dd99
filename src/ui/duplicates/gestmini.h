#pragma once

#include "core/destinations/listedestinations.h"
#include "core/duplicates/inventaire.h"

#include <QDateTime>
#include <QDialog>

class IQuestions;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct TBandeIcones;

// The window "Gestion des signatures des images": every folder of the signature store with the
// counts its files hold, and every open destination with the counts of its lists, rebuilt at each
// showing; a right click on a folder erases its signatures.
class TFormMiniatures : public QDialog {
    Q_OBJECT
public:
    explicit TFormMiniatures(QWidget* parent = nullptr);

    // Where the store is, the open destinations (their folders get image 27), the icons and where
    // the user is asked.
    void Prepare(QString signatures, const TListeDestinations* ouvertes, const TBandeIcones* icones,
                 IQuestions* utilisateur);
    // The tree rebuilt from the store's files and the open destinations.
    void FormShow();
    // A right click on a folder's line erases that folder's signatures, after the question. An
    // open destination stays in the tree, its images to be signed anew.
    void TreeView1MouseUp(Qt::MouseButton bouton, QTreeWidgetItem* ligne);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    QTreeWidget* TreeView1;
    QWidget* Panel1;
    QPushButton* BitBtn1;
    QWidget* Panel2;
    QPushButton* BitBtn2;

    // The four lines under a folder's, (re)made from its state.
    static void RemplitDossier(QTreeWidgetItem* ligne, const TDossierStocke& etat);

    QString dossierSignatures;
    const TListeDestinations* destinations = nullptr;
    // What each folder line shows, by the index its line holds.
    QList<TDossierInventaire> dossiers;
    const TBandeIcones* images = nullptr;
    IQuestions* questions = nullptr;
};

// A date as the tree shows it: the locale's short date and long time, or the date alone at
// midnight; nothing for no date.
QString DateDuMagasin(const QDateTime& date);
