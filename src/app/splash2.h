#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The borderless loading window shown while the destinations load.
class TFormSplash2 : public QDialog {
    Q_OBJECT
public:
    explicit TFormSplash2(const QIcon& icone, QWidget* parent = nullptr);

    QProgressBar* ProgressBar1;
    QLabel* Label8;
    QProgressBar* ProgressBar2;
};
