#include "window_centring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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
    // The platform window knows the frame as the window manager last told it; the widget may
    // keep an older copy until it is next moved, and then places the frame by that copy.
    QWindow* handle = window->windowHandle();
    const QSize outer =
        handle != nullptr ? handle->frameGeometry().size() : window->frameGeometry().size();
    const int left = CentredOrigin(area.width(), outer.width());
    const int top = CentredOrigin(area.height(), outer.height());
    const QPoint place(area.x() + left, area.y() + top);
    if (handle != nullptr && window->frameGeometry().size() != outer) {
        handle->setFramePosition(place);
    } else {
        window->move(place); // places the frame's top-left corner on top-level windows
    }
}

namespace {

const QLatin1String kWatcherName("frameWatcher");

bool FrameIsKnown(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr && !handle->frameMargins().isNull();
}

// Watches a shown window until its frame is known, centres it then once, and goes. Some window
// managers tell the frame only after the window is mapped and active, with no event to the
// window, so the watcher also looks every few milliseconds; it gives up after a second (nothing
// frames the window) or when the window is hidden.
class FrameWatcher : public QObject {
public:
    explicit FrameWatcher(QWidget* window)
        : QObject(window)
        , window_(window)
        , poll_(new QTimer(this)) {
        setObjectName(kWatcherName);
        window->installEventFilter(this);
        poll_->setInterval(kPollMs);
        QObject::connect(poll_, &QTimer::timeout, this, [this] {
            if (!CentreIfFramed() && ++polls_ >= kPolls) {
                Finish();
            }
        });
        poll_->start();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_) {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Paint:
            case QEvent::WindowActivate:
                CentreIfFramed();
                break;
            case QEvent::Hide:
                Finish();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    static constexpr int kPollMs = 10;
    static constexpr int kPolls = 100;

    bool CentreIfFramed() {
        if (!FrameIsKnown(window_)) {
            return false;
        }
        Finish();
        CentreOnScreen(window_);
        return true;
    }

    void Finish() {
        poll_->stop();
        window_->removeEventFilter(this);
        setParent(nullptr);
        deleteLater();
    }

    QWidget* window_;
    QTimer* poll_;
    int polls_ = 0;
};

} // namespace

void CentreNowAndWhenFramed(QWidget* window) {
    CentreOnScreen(window);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        FrameIsKnown(window) ||
        window->findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly) != nullptr) {
        return;
    }
    new FrameWatcher(window);
}

} // namespace tallivo
