#pragma once

// What every benchmark program shares: its set-up before the application object, and starting
// the whole program without waiting for its start-up timer.

#include "controles.h"
#include "core/app/dialogues.h"
#include "core/app/questions.h"
#include "core/app/textefichier.h"
#include "core/config/configuration.h"
#include "core/duplicates/magasin.h"
#include "core/session/session.h"
#include "programmecourant.h"
#include "ui/app/demarrage.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// The main window's control of type T with that object name; the program stops when there is
// none or several, rather than measure the wrong control.
template <class T> T* Controle(const QString& nom) {
    const QList<T*> trouves = MainForm ? ControlesDeLaFenetre<T>(*MainForm, nom) : QList<T*>();
    if (trouves.size() != 1)
        qFatal("%d controls named \"%s\" in the main window, one expected", int(trouves.size()),
               qPrintable(nom));
    return trouves.front();
}

// The user of a benchmark: warnings printed, every destination closed with "Non pour Tous", any
// other question answered no.
class TQuestionsBanc : public IQuestions {
public:
    void Avertit(const QString& message) override { std::printf("warning: %s\n", qPrintable(message)); }
    void SignaleErreur(const QString& message) override { std::printf("error: %s\n", qPrintable(message)); }
    bool ConfirmeOkAnnuler(const QString&) override { return false; }
    bool DemandeOuiNon(const QString&) override { return false; }
    ReponseOuiNonTout DemandeOuiNonTout(const QString&) override { return ReponseOuiNonTout::Non; }
    ReponseConfirmation Confirme(const QString&) override { return ReponseConfirmation::NonPourTous; }
    void AutoriseAnnulation(bool) override {}
};

// Every dialog of a benchmark is accepted as it stands; no picker is expected.
class TDialoguesBanc : public IDialogues {
public:
    int MontreModal(QDialog&) override { return QDialog::Accepted; }
    QString ChoisitDossier(QWidget*, const QString&) override { return {}; }
    bool ChoisitFonte(QWidget*, QFont&) override { return false; }
    QString ChoisitFichier(QWidget*, const QString&, const QString&, const QString&, const QString&,
                           bool) override {
        return {};
    }
    std::optional<QString> DemandeTexte(QWidget*, const QString&, const QString&,
                                        const QString& defaut) override {
        return defaut;
    }
};

// Figures printed line by line; headless unless a platform is asked for.
inline void PrepareBanc() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Creates the windows on a program folder and runs the start-up step at once: the main window
// is on its way to the screen when this returns.
inline void DemarreProgramme(const QString& programme) {
    CreeFenetres({programme, programme});
    Controle<QTimer>("Timer1")->stop();
    MainForm->showMinimized();
    MainForm->Timer1Timer();
}

// A scratch root for a benchmark: the program's folder "programme" in it, with its "Signatures",
// and the home folder pointed at the root, so that nothing of the user's is read or written.
struct TRacineBanc {
    QTemporaryDir Racine;
    QString Programme = Racine.path() + QStringLiteral("/programme");
    TRacineBanc() {
        QDir().mkpath(Programme + QStringLiteral("/Signatures"));
        qputenv("HOME", QFile::encodeName(Racine.path()));
    }
    QString Chemin() const { return Racine.path(); }
};

// Milliseconds since the timer started.
inline double Ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// A folder of empty image files "IMG_<n>.jpg" and the store that signs them all.
inline void PrepareDossierSigne(const QString& dossier, int nombre, const TMagasinSignatures& magasin) {
    QDir().mkpath(dossier);
    TListeDoublons liste(dossier);
    const QByteArray base = QFile::encodeName(dossier) + "/IMG_";
    for (int i = 0; i < nombre; ++i) {
        const QByteArray nom = base + QByteArray::number(i) + ".jpg";
        ::close(::open(nom.constData(), O_WRONLY | O_CREAT, 0644));
        auto s = std::make_shared<Tminiature>();
        s->Fichier = QFile::decodeName(nom);
        s->Grille.fill(static_cast<uint8_t>(i));
        s->Proportion = 1.5;
        liste.Miniatures.push_back(std::move(s));
    }
    magasin.Sauve(liste, {});
}
