#include "mainform.h"

#include "aide.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "curseur.h"
#include "fenetre.h"
#include "globaux.h"
#include "imagecontrole.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/source/pleinecran.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool EstSaisieDeTexte(const QObject* objet) {
    if (qobject_cast<const QLineEdit*>(objet) || qobject_cast<const QAbstractSpinBox*>(objet)) return true;
    if (const auto* texte = qobject_cast<const QTextEdit*>(objet)) return !texte->isReadOnly();
    if (const auto* texte = qobject_cast<const QPlainTextEdit*>(objet)) return !texte->isReadOnly();
    if (const auto* liste = qobject_cast<const QComboBox*>(objet)) return liste->isEditable();
    return false;
}

// The key that hides everything and minimises the program: "²" on French keyboards; the quote
// keys elsewhere, except while a text is being typed, where they stay characters.
bool EstToucheMasquage(const QObject* destinataire, const QKeyEvent* event) {
    if (event->key() == Qt::Key_twosuperior) return true;
    if (event->key() == Qt::Key_Apostrophe || event->key() == Qt::Key_QuoteDbl)
        return !EstSaisieDeTexte(destinataire);
    return false;
}

} // namespace

bool TMainForm::eventFilter(QObject* objet, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* touche = static_cast<QKeyEvent*>(event);
        if (AppMessage(objet, touche) || ToucheAide(objet, touche) || ToucheDeTuile(objet, touche) ||
            FormKeyDown(objet, touche))
            return true;
    }
    return FiltreNavigation(objet, event) || QMainWindow::eventFilter(objet, event);
}

bool TMainForm::AppMessage(QObject* destinataire, QKeyEvent* event) {
    if (!EstToucheMasquage(destinataire, event)) return false;
    if (FormPleinEcran) FormPleinEcran->hide();
    if (FormDedoublone) FormDedoublone->close();
    CurseurParDefaut();
    showMinimized();
    return true;
}

bool TMainForm::FormKeyDown(QObject* destinataire, QKeyEvent* event) {
    if (event->key() != Qt::Key_Delete) return false;
    const auto* controle = qobject_cast<const QWidget*>(destinataire);
    if (!controle || controle->window() != this) return false;
    // Delete is a click at the top of the tiles, where the trash always stands.
    const QPointF position(ImageDestination->width() / 2, 10);
    const QPointF globale = ImageDestination->mapToGlobal(position);
    QMouseEvent appui(QEvent::MouseButtonPress, position, globale, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(ImageDestination, &appui);
    QMouseEvent relache(QEvent::MouseButtonRelease, position, globale, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(ImageDestination, &relache);
    return true;
}

bool TMainForm::ToucheDeTuile(QObject* destinataire, QKeyEvent* event) {
    const int touche = event->key() - Qt::Key_0;
    if (touche < 1 || touche > 9 || !Configuration) return false;
    const Qt::KeyboardModifiers autres = event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    if (autres != Qt::NoModifier) return false;
    // Never while a dialog is open, nor while a text is being typed.
    const auto* controle = qobject_cast<const QWidget*>(destinataire);
    if (!controle || controle->window() != this || QApplication::activeModalWidget() ||
        EstSaisieDeTexte(destinataire) || EstSaisieDeTexte(QApplication::focusWidget()))
        return false;
    TDestination* d = Panneau->Raccourcis[static_cast<std::size_t>(touche - 1)];
    if (!d || !d->Active) return false;
    // As a click on the tile would: Ctrl copies.
    Classe(*d, event->modifiers().testFlag(Qt::ControlModifier));
    return true;
}

bool TMainForm::ToucheAide(QObject* destinataire, QKeyEvent* event) {
    if (event->key() != Qt::Key_F1) return false;
    int contexte = 0;
    if (const auto* menu = qobject_cast<const QMenu*>(destinataire))
        contexte =
            ContexteAide(menu->activeAction() ? static_cast<const QObject*>(menu->activeAction()) : menu);
    else
        contexte = ContexteAide(destinataire);
    if (!contexte) {
        const auto* controle = qobject_cast<const QWidget*>(destinataire);
        if (!controle || controle->window() != this) return false;
        contexte = 2100;
    }
    MontreAide(contexte);
    return true;
}

void TMainForm::Guide1Click() {
    MontreSommaire();
}
void TMainForm::Tutorial1Click() {
    MontreAide(2095);
}
void TMainForm::Rfrences1Click() {
    MontreAide(2100);
}
