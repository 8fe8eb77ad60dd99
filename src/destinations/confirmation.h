#pragma once

#include <QDialog>

// The window "Confirmation".
class TFormConfirmation : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfirmation(QWidget* parent = nullptr);
};
