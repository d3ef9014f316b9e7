#include "fixed_look.h"

#include "app_fonts.h"

#include <QWidget>

#include <cmath>

namespace tallivo {

namespace {

// Points to pixels at 96 dots per inch: 8 points are 11 pixels, as the layout was drawn.
int PixelsOf(double pointSize) {
    return int(std::lround(pointSize * 96.0 / 72.0));
}

} // namespace

QFont FixedFont(double pointSize) {
    QFont font = UiFont(pointSize);
    font.setPixelSize(PixelsOf(pointSize));
    return font;
}

QFont FixedFont(const QString& family, double pointSize) {
    QFont font = FixedFont(pointSize);
    font.setFamilies({family, UiFontFamily()});
    return font;
}

void FixFont(QWidget* widget, double pointSize) {
    widget->setFont(FixedFont(pointSize));
}

void FixColours(QWidget* widget, const QColor& background, const QColor& ink) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, ink);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

} // namespace tallivo
