#pragma once

#include <QDialog>

class TImage;

// The full-screen viewer: a borderless black window over the whole primary screen.
class TFormPleinEcran : public QDialog {
    Q_OBJECT
public:
    explicit TFormPleinEcran(QWidget* parent = nullptr);

    TImage* Image1;
};
