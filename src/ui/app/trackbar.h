#pragma once

#include <QSlider>

// A horizontal track bar: a tick at every position, below the channel, and a selection range
// marked on the bar, as the platform's track bar shows one.
class TTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TTrackBar(QWidget* parent = nullptr);

    void FixeSelection(int debut, int fin);
    int SelStart() const { return selStart; }
    int SelEnd() const { return selEnd; }

    // The x of the middle of the thumb when it stands at that position.
    int CentreDe(int position) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selStart = 0;
    int selEnd = 0;
};
