#pragma once

#include <QDialog>

// The window "Gestion des signatures des images".
class TFormMiniatures : public QDialog {
    Q_OBJECT
public:
    explicit TFormMiniatures(QWidget* parent = nullptr);
};
