#pragma once

#include "reference_frequencies.h"
#include "vgauge.h"

#include <cstdint>
#include <optional>

namespace tallivo {

class MessageService;
class PictureSurface;

// Paints letters' bars and a reference's markers with one rule, wherever they are drawn (the
// main window, the chart copied from it, the workbench): a bar reaches its letter's share
// rounded to a whole percent, halves to even, on a gauge whose full height is gaugeMax
// percent; a marker row stands at the reference's expected share where that is above 0 and
// not above gaugeMax, black on a light picture and white on a dark one.
class BarPainter {
public:
    BarPainter(MessageService& messages, std::int16_t gaugeMax,
               const std::optional<ReferenceTable>& markers, const QColor& barColor);

    // Prepares picture for the gauge, as the first picture of a row is prepared.
    void Prepare(PictureSurface& picture);

    // Draws letter's bar (0 = a) up to percent on picture, and its marker.
    void Paint(int letter, float percent, PictureSurface& picture);

    // Returns the gauge maximum of scale option k: 100 / (k + 1) in integer arithmetic.
    static std::int16_t GaugeMaxFor(int k);

    // Returns the gauge maximum of the most magnifying scale option that still holds tallest
    // percent (the first option where none does).
    static std::int16_t FittingGaugeMax(double tallest);

private:
    VGauge gauge_;
    std::int16_t gaugeMax_;
    std::optional<ReferenceTable> markers_;
    QColor barColor_;
};

} // namespace tallivo
