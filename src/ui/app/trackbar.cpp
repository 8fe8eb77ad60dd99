#include "trackbar.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace {

// The thumb is 20 pixels long across the channel.
class StyleTrackBar : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric mesure, const QStyleOption* option, const QWidget* controle) const override {
        if (mesure == PM_SliderThickness) return 20;
        return QProxyStyle::pixelMetric(mesure, option, controle);
    }
};

} // namespace

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    auto* style = new StyleTrackBar(QStringLiteral("Fusion"));
    style->setParent(this);
    setStyle(style);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setPageStep(5);
}

void TTrackBar::FixeSelection(int debut, int fin) {
    selStart = debut;
    selEnd = fin;
    update();
}

int TTrackBar::CentreDe(int position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect sillon = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int longueur = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
    return sillon.left() + longueur / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), position, sillon.width() - longueur);
}

void TTrackBar::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &peintre, this);

    // The selection: a band under the channel between two small triangles.
    if (selEnd > selStart) {
        const QRect sillon =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const int debut = CentreDe(selStart), fin = CentreDe(selEnd);
        const int y = sillon.center().y() + 4;
        const QColor couleur = palette().color(QPalette::Highlight);
        peintre.fillRect(QRect(debut, y, fin - debut + 1, 3), couleur);
        peintre.setPen(Qt::NoPen);
        peintre.setBrush(couleur);
        for (const int x : {debut, fin})
            peintre.drawPolygon(QPolygon({QPoint(x - 3, y + 3), QPoint(x + 3, y + 3), QPoint(x, y + 7)}));
    }

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &peintre, this);
}
