#pragma once

#include <QDialog>

// The window "Gestionnaire de configuration".
class TFormGestConf : public QDialog {
    Q_OBJECT
public:
    explicit TFormGestConf(QWidget* parent = nullptr);
};
