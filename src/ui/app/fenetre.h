#pragma once

#include <QEvent>
#include <QLabel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>
#include <type_traits>

class QObject;
class QWidget;

// Help context numbers are kept on widgets and menu actions as the property "contexteAide".
void FixeContexteAide(QObject* objet, int contexte);
// The context of the object or of its nearest parent that has one; 0 when none has.
int ContexteAide(const QObject* objet);

enum class Bordure { Dialogue, Redimensionnable, Aucune };

// Caption, client size, border and help context of a window, centred on the primary screen.
void PrepareFenetre(QWidget* fenetre, const QString& titre, int largeur, int hauteur, Bordure bordure,
                    int contexteAide);

// A control of a window laid out by hand: its object name and text, placed at (gauche, haut) and
// sized to its text. Labels show their text as it is, never as markup.
template <typename Controle>
Controle* NouveauControle(QWidget* parent, const QString& nom, const QString& texte, int gauche, int haut) {
    auto* controle = new Controle(texte, parent);
    controle->setObjectName(nom);
    if constexpr (std::is_base_of_v<QLabel, Controle>) controle->setTextFormat(Qt::PlainText);
    controle->move(gauche, haut);
    controle->adjustSize();
    return controle;
}

// How many pixels the widest of these controls' texts overflows the window, keeping a margin on
// the right; 0 when all fit. Captions sized for one system's fonts may not fit another's.
int DepassementDesTextes(const QWidget* fenetre, const QList<const QWidget*>& controles, int marge);
// How a hand-laid window grows wider: the controls that stretch, those that keep to the right
// edge, and those that keep to the middle.
struct TElargissement {
    QList<QWidget*> Etires;
    QList<QWidget*> ADroite;
    QList<QWidget*> AuMilieu;
};
// Widens a fixed-size window by that many pixels, moving its controls as told, and centres it
// again; nothing when the surplus is not positive.
void ElargitFenetre(QWidget* fenetre, int surplus, const TElargissement& controles);

// Asks a question in a message box "Confirmation" whose buttons stand in the order given, whatever
// the platform's habit of ordering yes and no; the index of the button pressed. Escape, or closing
// the box, answers the button at index echap.
int Question(QWidget* parent, const QString& question, const QStringList& boutons, int echap);

// Sets a label's text, in the label's font (its property "PoliceDeBase" when set) made smaller if
// need be so that the whole text holds in the label's fixed width.
void FixeTexteAjuste(QLabel* etiquette, const QString& texte);

// The hint of a control: kept as the property "indice" and shown as a tooltip only when the
// control's hints are on.
void FixeIndice(QWidget* controle, const QString& indice, bool bullesVisibles);
QString Indice(const QWidget* controle);

// Runs an action on the widget's own thread (the main thread): at once when called there, queued
// otherwise, so that a worker thread may report progress.
void SurLeFilPrincipal(QObject* objet, std::function<void()> action);

// Runs an action each time the widget receives an event of that type (a resize, a paint); the
// event still reaches the widget.
void SurveilleEvenement(QWidget* cible, QEvent::Type type, std::function<void()> action);

// Rows of a list or tree of one fixed height, whatever the font.
class TDelegueHauteurFixe : public QStyledItemDelegate {
public:
    TDelegueHauteurFixe(int hauteur, QObject* parent) : QStyledItemDelegate(parent), hauteurLigne(hauteur) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), hauteurLigne);
    }

private:
    int hauteurLigne;
};
