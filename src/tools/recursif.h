#pragma once

#include <QDialog>

// The window "Ajouter une destination avec ses sous-dossiers".
class TFormRecurs : public QDialog {
    Q_OBJECT
public:
    explicit TFormRecurs(QWidget* parent = nullptr);
};
