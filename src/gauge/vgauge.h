#pragma once

#include <QColor>

#include <cstdint>

namespace tallivo {

class MessageService;
class PictureSurface;

// Turns a picture area into a vertical bar gauge: Setup gives the picture a user scale whose
// height is the range Max - Min, and the Paint calls draw a solid bar from the bottom up to a
// value. One gauge can serve many pictures in turn: set up on one, painted, then the next.
// Arithmetic is checked: a result outside 16 bits throws std::overflow_error.
class VGauge {
public:
    explicit VGauge(MessageService& messages);

    // Write-only property: the bottom of the range.
    void Min(std::int32_t minimum);
    // Write-only property: the top of the range.
    void Max(std::int32_t maximum);

    // Draws the bar on pic incrementally from the last value painted to val: a shrinking bar
    // is erased down to val, a growing one filled up to it.
    void Paint(std::int16_t val, PictureSurface& pic, const QColor& vColor);

    // Clears pic and draws the bar from the last value painted (0 on a fresh gauge) to val.
    void Paint2(std::int16_t val, PictureSurface& pic, const QColor& vColor);

    // Prepares pic: user scale 1 wide and the range high, solid lines 1 wide. A range of 0
    // (properties not set, or Max equal to Min) shows a message and ends the program.
    void Setup(PictureSurface& pic);

private:
    // Shows the message of a gauge without a range and ends the program; returns only when
    // a test's message service does.
    void Fail();

    MessageService& messages_;
    std::int32_t max_ = 0;
    std::int32_t min_ = 0;
    std::int16_t gaugeWidth_ = 0;
    std::int16_t gaugeRange_ = 0;
    QColor eraseColor_ = QColor(0, 0, 0);
    std::int16_t lastValue_ = 0;
};

} // namespace tallivo
