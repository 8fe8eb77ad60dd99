#include "mainform.h"

#include "aide.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "curseur.h"
#include "fenetre.h"
#include "globaux.h"
#include "imagecontrole.h"
#include "ui/duplicates/dedoublonne.h"
#include "ui/source/pleinecran.h"

#include <QAbstractSpinBox>
#include <QAction>
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

void TMainForm::CreeRaccourcis() {
    // Shortcuts of this window: they act only while it is the active window, so never while a
    // dialog of its own or another window has the keyboard; a text being typed keeps the keys it
    // takes as characters (Delete, the digits).
    auto raccourci = [this](const QString& nom, const QKeySequence& touches, auto action) {
        auto* a = new QAction(this);
        a->setObjectName(nom);
        a->setShortcut(touches);
        connect(a, &QAction::triggered, this, action);
        addAction(a);
        return a;
    };
    raccourci(QStringLiteral("Corbeille1"), QKeySequence(Qt::Key_Delete), [this] { ToucheCorbeille(); });
    for (int n = 1; n <= 9; ++n) {
        const auto touche = static_cast<Qt::Key>(Qt::Key_0 + n);
        raccourci(QStringLiteral("ClasseTouche%1").arg(n), QKeySequence(touche),
                  [this, n] { ToucheDeTuile(n, false); });
        raccourci(QStringLiteral("CopieTouche%1").arg(n), QKeySequence(Qt::ControlModifier | touche),
                  [this, n] { ToucheDeTuile(n, true); });
    }
}

bool TMainForm::ToucheHorsSaisie() const {
    // A key that a control of a dialog or a text being typed does not take for itself may still
    // reach the window's shortcuts: a modal dialog shown before the window knows it is inactive,
    // Ctrl with a digit in a text.
    return session.Configuration() && !QApplication::activeModalWidget() &&
           !EstSaisieDeTexte(QApplication::focusWidget());
}

// Three kinds of keys stay in a filter over the whole application, because a shortcut of this
// window cannot express them: the hiding key, which acts over every window of the program (the
// modal review window included) and, for "²", even while a text is typed; F1, whose help is that
// of the control or the highlighted menu entry that receives the key, in whatever window; and the
// navigation keys and wheel, which belong to the controls they reach (FiltreNavigation).
bool TMainForm::eventFilter(QObject* objet, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* touche = static_cast<QKeyEvent*>(event);
        if (AppMessage(objet, touche) || ToucheAide(objet, touche)) return true;
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

void TMainForm::ToucheCorbeille() {
    if (!ToucheHorsSaisie()) return;
    // What a click on the trash tile does, without Ctrl: the current image, or the selected ones,
    // moved into the trash; nothing while the trash is the source folder.
    TDestination* corbeille = session.Configuration()->Destinations.Element(0);
    if (!corbeille || !corbeille->Active) return;
    // A tile pressed with the mouse meanwhile files nothing more at its release.
    Panneau->OublieAppui();
    ImageDestination->update();
    Classe(*corbeille, false);
}

void TMainForm::ToucheDeTuile(int touche, bool copie) {
    if (!ToucheHorsSaisie()) return;
    TDestination* d = Panneau->Raccourcis[static_cast<std::size_t>(touche - 1)];
    if (d && d->Active) Classe(*d, copie);
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
