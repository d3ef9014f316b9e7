#include "plain_frame_style.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace tallivo {

namespace {

// A tint this faint (alpha out of 255) is the panel's fill, not its line.
constexpr int kTintAlpha = 8;

} // namespace

PlainFrameStyle::PlainFrameStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

void PlainFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The frame drawn apart, its faint fill taken out, then laid over the background.
    const qreal ratio = painter->device()->devicePixelRatioF();
    QImage frame(option->rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::transparent);
    {
        QPainter apart(&frame);
        QStyleOption moved = *option;
        moved.rect.moveTopLeft(QPoint(0, 0));
        QProxyStyle::drawPrimitive(element, &moved, &apart, widget);
    }
    for (int y = 0; y < frame.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            if (qAlpha(line[x]) <= kTintAlpha) {
                line[x] = 0;
            }
        }
    }
    painter->drawImage(option->rect.topLeft(), frame);
}

} // namespace tallivo
