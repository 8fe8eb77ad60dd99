#pragma once

#include <QDialog>

// The window "Création d'une nouvelle destination".
class TFormNouvDest : public QDialog {
    Q_OBJECT
public:
    explicit TFormNouvDest(QWidget* parent = nullptr);
};
