#pragma once

#include <QDialog>

class QTextBrowser;

// The help window: the program's help file, shown at the page of a context number.
class TFormAide : public QDialog {
    Q_OBJECT
public:
    explicit TFormAide(const QString& fichierAide, QWidget* parent = nullptr);

    // Shows the page of a context number, or the contents page for 0.
    void Montre(int contexte);
    QString AncreCourante() const { return ancre; }

private:
    void ChargeFichier();

    QString fichier;
    QTextBrowser* texte;
    bool charge = false;
    QString ancre;
};

// The help of the running program, owned by the given window (set once at start-up); the
// functions below do nothing before that.
void InitialiseAide(const QString& fichierAide, QWidget* proprietaire);
TFormAide* FenetreAide();
void MontreAide(int contexte);
void MontreSommaire();
