#pragma once

#include <QImage>
#include <QWidget>

// An image control: shows its picture scaled to its own rectangle in the screen's pixels and reports mouse
// presses and releases with the button, the modifiers held and the position. The picture may be held at a
// reduced scale; its natural size is what the program measures and shows.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    void FixeImage(const QImage& image);
    void FixeImage(const QImage& image, QSize naturelle);
    void VideImage() { FixeImage(QImage(), QSize()); }
    const QImage& Image() const { return image; }
    // Width and height of the picture; 0 x 0 when it is empty.
    QSize TailleNaturelle() const { return naturelle; }
    // The picture already scaled to a size in the screen's pixels, with that pixel ratio set,
    // scaled as the paint would scale it: painted as it is while the control has that size.
    void FixeCopieALEchelle(const QImage& copie);
    const QImage& CopieALEchelle() const { return copieALEchelle; }

signals:
    void SourisEnfoncee(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs, QPoint position);
    void SourisRelachee(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs, QPoint position);
    void SourisDeplacee(QPoint position);
    // The picture has just been painted.
    void Peinte();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image;
    QSize naturelle;
    // The picture scaled once to the control's size, so that a repaint only copies pixels.
    QImage copieALEchelle;
};
