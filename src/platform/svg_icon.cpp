#include "svg_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tallivo {

namespace {

QPixmap Render(QSvgRenderer& renderer, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

QPixmap PixmapFromSvg(const QString& path, int size) {
    QSvgRenderer renderer(path);
    return Render(renderer, size);
}

QIcon IconFromSvg(const QString& path) {
    QSvgRenderer renderer(path);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(Render(renderer, size));
    }
    return icon;
}

} // namespace tallivo
