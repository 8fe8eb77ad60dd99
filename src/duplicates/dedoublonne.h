#pragma once

#include <QDialog>

// The window "Gestion des images en double".
class TFormDedoublone : public QDialog {
    Q_OBJECT
public:
    explicit TFormDedoublone(QWidget* parent = nullptr);
};
