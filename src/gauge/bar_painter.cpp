#include "bar_painter.h"

#include "frequency_report.h"
#include "picture_surface.h"

namespace tallivo {

namespace {

constexpr int kScaleOptions = 8;

} // namespace

BarPainter::BarPainter(MessageService& messages, std::int16_t gaugeMax,
                       const std::optional<ReferenceTable>& markers, const QColor& barColor)
    : gauge_(messages)
    , gaugeMax_(gaugeMax)
    , markers_(markers)
    , barColor_(barColor) {
    gauge_.Max(gaugeMax);
    gauge_.Min(0);
}

void BarPainter::Prepare(PictureSurface& picture) {
    gauge_.Setup(picture);
}

void BarPainter::Paint(int letter, float percent, PictureSurface& picture) {
    gauge_.Setup(picture);
    gauge_.Paint2(BarHeight(percent), picture, barColor_);
    if (markers_) {
        const double expected = (*markers_)[std::size_t(letter)];
        if (expected > 0.0 && expected <= gaugeMax_) {
            // Black on a light picture, white on a dark one (a dark desktop theme).
            const QColor ink =
                picture.BackColor().lightnessF() < 0.5 ? QColor(255, 255, 255) : QColor(0, 0, 0);
            picture.DrawRow(gaugeMax_ - expected, ink);
        }
    }
}

std::int16_t BarPainter::GaugeMaxFor(int k) {
    return static_cast<std::int16_t>(100 / (k + 1));
}

std::int16_t BarPainter::FittingGaugeMax(double tallest) {
    for (int k = kScaleOptions - 1; k > 0; --k) {
        if (tallest <= GaugeMaxFor(k)) {
            return GaugeMaxFor(k);
        }
    }
    return GaugeMaxFor(0);
}

} // namespace tallivo
