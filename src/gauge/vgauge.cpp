#include "vgauge.h"

#include "message_service.h"
#include "picture_surface.h"

#include <QString>

#include <stdexcept>

namespace tallivo {

namespace {

// Returns a - b as a 16-bit value; throws std::overflow_error when it does not fit.
std::int16_t Difference16(std::int32_t a, std::int32_t b) {
    std::int32_t wide = 0;
    std::int16_t narrow = 0;
    if (__builtin_sub_overflow(a, b, &wide) || __builtin_add_overflow(wide, 0, &narrow)) {
        throw std::overflow_error("gauge arithmetic past 16 bits");
    }
    return narrow;
}

} // namespace

VGauge::VGauge(MessageService& messages)
    : messages_(messages) {}

void VGauge::Min(std::int32_t minimum) {
    min_ = minimum;
}

void VGauge::Max(std::int32_t maximum) {
    max_ = maximum;
}

void VGauge::Fail() {
    messages_.ShowMessage(
        nullptr,
        QStringLiteral(
            "VGauge Object needs to be .Setup and Max & Min properties need to be set..."),
        QStringLiteral("VGauge Object"));
    messages_.EndProgram();
}

void VGauge::Setup(PictureSurface& pic) {
    gaugeRange_ = Difference16(max_, min_);
    if (gaugeRange_ == 0) {
        Fail();
        return;
    }
    gaugeWidth_ = 1;
    pic.SetScale(gaugeWidth_, gaugeRange_);
    eraseColor_ = pic.BackColor();
    pic.SetLineStyle(Qt::SolidLine);
    pic.SetLineWidth(1);
}

void VGauge::Paint(std::int16_t val, PictureSurface& pic, const QColor& vColor) {
    if (gaugeRange_ == 0) {
        Fail();
        return;
    }
    if (val < lastValue_) {
        pic.FillBox(0, Difference16(gaugeRange_, lastValue_), gaugeWidth_,
                    Difference16(gaugeRange_, val), eraseColor_);
    } else {
        pic.FillBox(0, Difference16(gaugeRange_, val), gaugeWidth_,
                    Difference16(gaugeRange_, lastValue_), vColor);
    }
    lastValue_ = val;
}

void VGauge::Paint2(std::int16_t val, PictureSurface& pic, const QColor& vColor) {
    if (gaugeRange_ == 0) {
        Fail();
        return;
    }
    pic.Clear();
    pic.FillBox(0, Difference16(gaugeRange_, val), gaugeWidth_,
                Difference16(gaugeRange_, lastValue_), vColor);
}

} // namespace tallivo
