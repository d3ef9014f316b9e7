#pragma once

#include "reference_frequencies.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tallivo {

class MessageService;

// What a chart of letter counts shows: the counts (index 0 = a) and their total, the gauge
// maximum its plot stands for, a caption above it, and a reference's markers with its name.
struct LetterChart {
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    std::int16_t gaugeMax = 100;
    QString caption;
    std::optional<ReferenceTable> markers;
    QString markersName;
};

// Returns the chart drawn on white at devicePixelRatio, to copy and paste into a slide: the 26
// bars painted as every bar of the program is, the letters under them and, with markers, a
// legend. total must not be 0.
QImage DrawLetterChart(const LetterChart& chart, MessageService& messages, double devicePixelRatio);

} // namespace tallivo
