#pragma once

#include <QDialog>
#include <QPointer>

class TImage;
struct TImageDecodee;
class TLecteurImage;

// The full-screen viewer: a borderless black window over the whole primary screen, without
// pointer, showing the current picture fitted and centred; any click or Escape hides it.
class TFormPleinEcran : public QDialog {
    Q_OBJECT
public:
    explicit TFormPleinEcran(QWidget* parent = nullptr);
    ~TFormPleinEcran() override;

    // Shows a copy of the picture of an image control.
    void Montre(const TImage& source);
    // Shows a picture of that natural size.
    void MontreImage(const QImage& image, QSize naturelle);
    // Shows a file read for the screen, off the main thread; the picture of the control given,
    // read smaller, stands for it until then.
    void MontreFichier(const QString& fichier, const TImage& enAttendant);
    // True while the file asked for is still being read.
    bool LectureEnCours() const { return attendue != 0; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TImage* Image1;

    void Ajuste();
    void FichierLu(quint64 numero, const TImageDecodee& lue);

    TLecteurImage* lecteur = nullptr; // made at the first file asked for
    quint64 demandes = 0;
    quint64 attendue = 0; // the read whose picture is awaited; 0 when none
    // The modal window the viewer was opened over, which gets the input back when it hides.
    QPointer<QWidget> dessous;
};
