#include "app_fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace tallivo {

QString UiFontFamily() {
    const QString preferred = QStringLiteral("Liberation Sans");
    if (QFontDatabase::families().contains(preferred)) {
        return preferred;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont UiFont(double pointSize) {
    QFont font(UiFontFamily());
    font.setPointSizeF(pointSize);
    return font;
}

void InstallUiFont() {
    QApplication::setFont(UiFont(8.0));
}

} // namespace tallivo
