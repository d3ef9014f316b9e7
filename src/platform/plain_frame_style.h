#pragma once

#include <QProxyStyle>

namespace tallivo {

// The platform's style, but a group box frame shows its parent's background inside its line:
// some styles tint the panel behind the options a shade darker. The line and the title stay
// the style's own.
class PlainFrameStyle : public QProxyStyle {
    Q_OBJECT

public:
    PlainFrameStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace tallivo
