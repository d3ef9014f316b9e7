#include "app_fonts.h"

#include <QApplication>

namespace tallivo {

namespace {

const QString kPreferredFamily = QStringLiteral("Liberation Sans");

} // namespace

QString UiFontFamily() {
    return kPreferredFamily;
}

QFont UiFont(double pointSize) {
    // Named, not looked up: where Liberation Sans (whose metrics match the layout) is missing,
    // the font system puts the platform's sans-serif in its place when the text is first drawn.
    // Asking the font database whether the family exists would make it list every font on the
    // system, a visible share of the start-up.
    QFont font(kPreferredFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

void InstallUiFont() {
    QApplication::setFont(UiFont(8.0));
}

} // namespace tallivo
