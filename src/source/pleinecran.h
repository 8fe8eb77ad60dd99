#pragma once

#include <QDialog>

class TImage;

// The full-screen viewer: a borderless black window over the whole primary screen, without
// pointer, showing the current picture fitted and centred; any click hides it.
class TFormPleinEcran : public QDialog {
    Q_OBJECT
public:
    explicit TFormPleinEcran(QWidget* parent = nullptr);

    // Shows a copy of the picture of an image control.
    void Montre(const TImage& source);
    // Shows a picture of that natural size.
    void MontreImage(const QImage& image, QSize naturelle);

    TImage* Image1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
