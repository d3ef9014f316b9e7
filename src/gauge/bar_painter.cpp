#include "bar_painter.h"

#include "frequency_report.h"
#include "picture_surface.h"

namespace tallivo {

namespace {

const QColor kMarkerColor(0, 0, 0);

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
            picture.DrawRow(gaugeMax_ - expected, kMarkerColor);
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
