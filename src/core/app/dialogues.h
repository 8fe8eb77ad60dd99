#pragma once

#include <QString>

#include <optional>

class QDialog;
class QFont;
class QWidget;

// The modal dialogs the user fills in: the program's own dialogs, the folder picker and the font
// dialog. The windows implement it once by showing them; tests replace it once and play the user
// inside the dialog instead. Called on the main thread only.
class IDialogues {
public:
    virtual ~IDialogues() = default;
    // Shows one of the program's dialogs modally; QDialog::Accepted or QDialog::Rejected.
    virtual int MontreModal(QDialog& dialogue) = 0;
    // The folder picked, starting at depart; an empty text when the user cancelled.
    virtual QString ChoisitDossier(QWidget* parent, const QString& depart) = 0;
    // True, with police changed, when the user confirmed a font.
    virtual bool ChoisitFonte(QWidget* parent, QFont& police) = 0;
    // A file to save to (enregistrer) or to open, in the platform's file dialog with that title,
    // starting folder, filter ("Description (*.ext)") and default extension; empty when cancelled.
    virtual QString ChoisitFichier(QWidget* parent, const QString& titre, const QString& dossier,
                                   const QString& filtre, const QString& suffixe, bool enregistrer) = 0;
    // The one-line input box: the text typed, or none when the user cancelled.
    virtual std::optional<QString> DemandeTexte(QWidget* parent, const QString& titre, const QString& invite,
                                                const QString& defaut) = 0;
};
