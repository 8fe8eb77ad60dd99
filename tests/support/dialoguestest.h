#pragma once

#include "core/app/dialogues.h"

#include <QDialog>
#include <QFont>
#include <QString>

#include <gtest/gtest.h>

#include <functional>

// The dialogs as a test plays them: a dialog or a picker that the test did not script fails it
// instead of waiting for a user.
class TDialoguesTest : public IDialogues {
public:
    std::function<int(QDialog&)> Modal = [](QDialog& dialogue) {
        ADD_FAILURE() << "dialogue inattendu : " << dialogue.objectName().toStdString();
        return int(QDialog::Rejected);
    };
    std::function<QString(const QString& depart)> Dossier = [](const QString&) {
        ADD_FAILURE() << "choix de dossier inattendu";
        return QString();
    };
    std::function<bool(QFont& police)> Fonte = [](QFont&) {
        ADD_FAILURE() << "choix de fonte inattendu";
        return false;
    };

    std::function<std::optional<QString>(const QString& titre, const QString& invite, const QString& defaut)>
        Texte = [](const QString& titre, const QString&, const QString&) -> std::optional<QString> {
        ADD_FAILURE() << "saisie inattendue : " << titre.toStdString();
        return std::nullopt;
    };

    std::function<QString(const QString& titre, const QString& dossier, bool enregistrer)> Fichier =
        [](const QString& titre, const QString&, bool) {
            ADD_FAILURE() << "choix de fichier inattendu : " << titre.toStdString();
            return QString();
        };

    int MontreModal(QDialog& dialogue) override { return Modal(dialogue); }
    QString ChoisitFichier(QWidget*, const QString& titre, const QString& dossier, const QString&,
                           const QString&, bool enregistrer) override {
        return Fichier(titre, dossier, enregistrer);
    }
    std::optional<QString> DemandeTexte(QWidget*, const QString& titre, const QString& invite,
                                        const QString& defaut) override {
        return Texte(titre, invite, defaut);
    }
    QString ChoisitDossier(QWidget*, const QString& depart) override { return Dossier(depart); }
    bool ChoisitFonte(QWidget*, QFont& police) override { return Fonte(police); }
};
