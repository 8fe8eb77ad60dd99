#pragma once

#include "core/app/attente.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The shared wait window "Veillez patienter": one line of text and one progress bar.
class TFormProgress : public QDialog, public IAttente {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* parent = nullptr);

    void Prepare(const QString& texte, int maximum) override;
    void Avance() override;
    void Cache() override;

private:
    QLabel* Label2;
    QProgressBar* ProgressBar1;
};
