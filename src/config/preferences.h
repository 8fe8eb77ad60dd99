#pragma once

#include <QDialog>

// The window "Préférences".
class TFormPreference : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreference(QWidget* parent = nullptr);
};
