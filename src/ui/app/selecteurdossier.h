#pragma once

#include <QFileDialog>

#include <memory>

class IQuestions;

// The folder picker: an existing folder is chosen, or a new folder's name is typed and the folder
// is created after the user agrees.
class TSelecteurDossier : public QFileDialog {
    Q_OBJECT
public:
    TSelecteurDossier(QWidget* parent, const QString& depart);

    ~TSelecteurDossier() override;

    // The question before a folder is created, and the message when it cannot be: message boxes
    // over this dialog unless a test plays them.
    IQuestions* Questions;

    // The folder chosen, or an empty text when the user cancelled.
    static QString Choisit(QWidget* parent, const QString& depart);

    // The folder typed is created first when it does not exist and the user agrees.
    void accept() override;

private:
    std::unique_ptr<IQuestions> questionsPropres;
};
