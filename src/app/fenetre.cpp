#include "fenetre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

static const char* const ProprieteContexte = "contexteAide";

void FixeContexteAide(QObject* objet, int contexte) { objet->setProperty(ProprieteContexte, contexte); }

int ContexteAide(const QObject* objet) {
    for (; objet; objet = objet->parent()) {
        const QVariant valeur = objet->property(ProprieteContexte);
        if (valeur.isValid() && valeur.toInt() != 0) return valeur.toInt();
    }
    return 0;
}

void PrepareFenetre(QWidget* fenetre, const QString& titre, int largeur, int hauteur, Bordure bordure,
                    int contexteAide) {
    fenetre->setWindowTitle(titre);
    switch (bordure) {
    case Bordure::Dialogue:
        fenetre->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        fenetre->setFixedSize(largeur, hauteur);
        break;
    case Bordure::Redimensionnable:
        fenetre->setWindowFlags(Qt::Window);
        fenetre->resize(largeur, hauteur);
        break;
    case Bordure::Aucune:
        fenetre->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        fenetre->setFixedSize(largeur, hauteur);
        break;
    }
    if (contexteAide) FixeContexteAide(fenetre, contexteAide);
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
        QRect cadre(QPoint(0, 0), QSize(largeur, hauteur));
        cadre.moveCenter(ecran->availableGeometry().center());
        fenetre->move(cadre.topLeft());
    }
}

void FixeIndice(QWidget* controle, const QString& indice, bool bullesVisibles) {
    controle->setProperty("indice", indice);
    // Line breaks of a hint are carriage returns alone; a tooltip breaks on line feeds.
    QString bulle = indice;
    bulle.replace(QChar(u'\r'), QChar(u'\n'));
    controle->setToolTip(bullesVisibles ? bulle : QString());
}

QString Indice(const QWidget* controle) { return controle->property("indice").toString(); }

namespace {

class Surveillant : public QObject {
public:
    Surveillant(QWidget* cible, QEvent::Type type, std::function<void()> action)
        : QObject(cible), typeSurveille(type), reaction(std::move(action)) {
        cible->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == typeSurveille) reaction();
        return false;
    }

private:
    QEvent::Type typeSurveille;
    std::function<void()> reaction;
};

} // namespace

void SurveilleEvenement(QWidget* cible, QEvent::Type type, std::function<void()> action) {
    new Surveillant(cible, type, std::move(action));
}
