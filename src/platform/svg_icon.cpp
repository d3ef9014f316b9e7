#include "svg_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tallivo {

QIcon IconFromSvg(const QString& path) {
    QSvgRenderer renderer(path);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tallivo
