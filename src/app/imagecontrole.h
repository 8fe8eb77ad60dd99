#pragma once

#include <QImage>
#include <QWidget>

// An image control: shows its picture stretched to its own rectangle and reports mouse presses
// and releases with the button, the modifiers held and the position.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    void FixeImage(const QImage& image);
    const QImage& Image() const { return image; }

signals:
    void SourisEnfoncee(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs, QPoint position);
    void SourisRelachee(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image;
};
