#pragma once

#include "core/app/attente.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The borderless loading window shown while the destinations load.
class TFormSplash2 : public QDialog, public IChargement {
    Q_OBJECT
public:
    explicit TFormSplash2(const QIcon& icone, QWidget* parent = nullptr);

    void DebutLecture(int maximum) override;
    void DestinationEnCours(const QString& titre) override;
    void PasLecture() override;
    void DebutChargement(int maximum) override;
    void PasChargement() override;

private:
    QProgressBar* ProgressBar1;
    QLabel* Label8;
    QProgressBar* ProgressBar2;
};
