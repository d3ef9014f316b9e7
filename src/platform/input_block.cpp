#include "input_block.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tallivo {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Returns the widget an object belongs to: itself, or its nearest widget ancestor (an action's
// or a shortcut's owner).
QWidget* OwningWidget(QObject* object) {
    for (; object != nullptr; object = object->parent()) {
        if (object->isWidgetType()) {
            return static_cast<QWidget*>(object);
        }
    }
    return nullptr;
}

} // namespace

InputBlock::InputBlock() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            blocked_.append(window);
        }
    }
    qApp->installEventFilter(this);
}

InputBlock::~InputBlock() {
    qApp->removeEventFilter(this);
}

bool InputBlock::IsBlocked(QObject* receiver) const {
    QWidget* widget = OwningWidget(receiver);
    if (widget == nullptr) {
        // A window's own events (keys reach the QWindow before its widgets): by its widget.
        if (auto* window = qobject_cast<QWindow*>(receiver)) {
            for (const QPointer<QWidget>& blocked : blocked_) {
                if (blocked != nullptr && blocked->windowHandle() == window) {
                    return true;
                }
            }
        }
        return false;
    }
    return blocked_.contains(widget->window());
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInput(event->type()) && IsBlocked(watched)) {
        event->ignore();
        return true;
    }
    return false;
}

} // namespace tallivo
