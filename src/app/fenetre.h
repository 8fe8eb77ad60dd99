#pragma once

#include <QEvent>
#include <QString>

#include <functional>

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

// The hint of a control: kept as the property "indice" and shown as a tooltip only when the
// control's hints are on.
void FixeIndice(QWidget* controle, const QString& indice, bool bullesVisibles);
QString Indice(const QWidget* controle);

// Runs an action each time the widget receives an event of that type (a resize, a paint); the
// event still reaches the widget.
void SurveilleEvenement(QWidget* cible, QEvent::Type type, std::function<void()> action);
