#include "window_centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace tallivo {

int CentredOrigin(double screenExtent, double windowExtent) {
    // The default rounding mode rounds halves to even.
    const double difference = std::nearbyint(screenExtent - windowExtent);
    if (!(difference >= INT32_MIN && difference <= INT32_MAX)) {
        throw std::overflow_error("window centring out of range");
    }
    return static_cast<std::int32_t>(difference) / 2;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QRect outer = window->frameGeometry();
    const int left = CentredOrigin(area.width(), outer.width());
    const int top = CentredOrigin(area.height(), outer.height());
    // move() places the frame's top-left corner on top-level windows.
    window->move(area.x() + left, area.y() + top);
}

} // namespace tallivo
