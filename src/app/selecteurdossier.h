#pragma once

#include <QFileDialog>

#include <functional>

// The folder picker: an existing folder is chosen, or a new folder's name is typed and the folder
// is created after the user agrees.
class TSelecteurDossier : public QFileDialog {
    Q_OBJECT
public:
    TSelecteurDossier(QWidget* parent, const QString& depart);

    // The question before a folder is created (yes / no; a message box unless replaced), and the
    // message when it cannot be.
    std::function<bool(const QString& question)> ConfirmeCreation;
    std::function<void(const QString& message)> Avertit;

    // The folder chosen, or an empty text when the user cancelled.
    static QString Choisit(QWidget* parent, const QString& depart);

    // The folder typed is created first when it does not exist and the user agrees.
    void accept() override;
};
