#include "fenetre.h"

#include "core/app/policeajustee.h"

#include <QGuiApplication>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVariant>
#include <QWidget>

#include <algorithm>

static const char* const ProprieteContexte = "contexteAide";

void FixeContexteAide(QObject* objet, int contexte) {
    objet->setProperty(ProprieteContexte, contexte);
}

int ContexteAide(const QObject* objet) {
    for (; objet; objet = objet->parent()) {
        const QVariant valeur = objet->property(ProprieteContexte);
        if (valeur.isValid() && valeur.toInt() != 0) return valeur.toInt();
    }
    return 0;
}

namespace {

void Centre(QWidget* fenetre) {
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
        QRect cadre(QPoint(0, 0), fenetre->size());
        cadre.moveCenter(ecran->availableGeometry().center());
        fenetre->move(cadre.topLeft());
    }
}

} // namespace

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
    fenetre->resize(largeur, hauteur);
    Centre(fenetre);
}

int DepassementDesTextes(const QWidget* fenetre, const QList<const QWidget*>& controles, int marge) {
    int droite = 0;
    for (const QWidget* controle : controles)
        droite = std::max(droite, controle->mapTo(fenetre, QPoint(0, 0)).x() + controle->sizeHint().width());
    return std::max(0, droite - (fenetre->width() - marge));
}

void ElargitFenetre(QWidget* fenetre, int surplus, const TElargissement& controles) {
    if (surplus <= 0) return;
    for (QWidget* controle : controles.Etires)
        controle->resize(controle->width() + surplus, controle->height());
    for (QWidget* controle : controles.ADroite)
        controle->move(controle->x() + surplus, controle->y());
    for (QWidget* controle : controles.AuMilieu)
        controle->move(controle->x() + surplus / 2, controle->y());
    fenetre->setFixedSize(fenetre->width() + surplus, fenetre->height());
    Centre(fenetre);
}

int Question(QWidget* parent, const QString& question, const QStringList& boutons, int echap) {
    QMessageBox boite(QMessageBox::Question, QStringLiteral("Confirmation"), question, QMessageBox::NoButton,
                      parent);
    QList<QAbstractButton*> liste;
    // One role for all keeps them in the order they were added.
    for (const QString& texte : boutons)
        liste << boite.addButton(texte, QMessageBox::ActionRole);
    if (liste.isEmpty()) return echap;
    boite.setDefaultButton(qobject_cast<QPushButton*>(liste.first()));
    boite.setEscapeButton(liste.value(echap));
    boite.exec();
    const qsizetype reponse = liste.indexOf(boite.clickedButton());
    return reponse < 0 ? echap : static_cast<int>(reponse);
}

void SurLeFilPrincipal(QObject* objet, std::function<void()> action) {
    if (QThread::currentThread() == objet->thread())
        action();
    else
        QMetaObject::invokeMethod(objet, std::move(action), Qt::QueuedConnection);
}

void FixeIndice(QWidget* controle, const QString& indice, bool bullesVisibles) {
    controle->setProperty("indice", indice);
    // Line breaks of a hint are carriage returns alone; a tooltip breaks on line feeds.
    QString bulle = indice;
    bulle.replace(QChar(u'\r'), QChar(u'\n'));
    controle->setToolTip(bullesVisibles ? bulle : QString());
}

QString Indice(const QWidget* controle) {
    return controle->property("indice").toString();
}

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

void FixeTexteAjuste(QLabel* etiquette, const QString& texte) {
    const QVariant base = etiquette->property("PoliceDeBase");
    const QFont police = base.isValid() ? base.value<QFont>() : etiquette->font();
    // The room inside the frame and margins, less a pixel each side for the glyphs' overhang.
    const int largeur = etiquette->width() - 2 * etiquette->frameWidth() - 2 * etiquette->margin() - 2;
    etiquette->setFont(PoliceAjustee(police, texte, largeur, etiquette));
    etiquette->setText(texte);
}
