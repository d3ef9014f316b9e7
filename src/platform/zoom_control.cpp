#include "zoom_control.h"

#include <QAction>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tallivo {

namespace {

// Each step makes everything a fifth larger; from half the size to three times it.
constexpr double kStep = 1.2;
constexpr int kSmallest = -4;
constexpr int kLargest = 6;

QAction* AddShortcut(QWidget* window, const QList<QKeySequence>& keys) {
    auto* action = new QAction(window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

} // namespace

ZoomControl::ZoomControl(QWidget* window)
    : QObject(window) {
    connect(AddShortcut(window, {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}),
            &QAction::triggered, this, &ZoomControl::ZoomIn);
    connect(AddShortcut(window, {QKeySequence::ZoomOut}), &QAction::triggered, this,
            &ZoomControl::ZoomOut);
    connect(AddShortcut(window, {QKeySequence(Qt::CTRL | Qt::Key_0)}), &QAction::triggered, this,
            &ZoomControl::Reset);
}

double ZoomControl::factor() const {
    return std::pow(kStep, steps_);
}

QFont ZoomControl::Scaled(const QFont& font) const {
    QFont scaled = font;
    if (font.pointSizeF() > 0) {
        scaled.setPointSizeF(font.pointSizeF() * factor());
    } else {
        scaled.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * factor()))));
    }
    return scaled;
}

int ZoomControl::Scaled(int length) const {
    return int(std::lround(length * factor()));
}

void ZoomControl::ZoomIn() {
    Step(1);
}

void ZoomControl::ZoomOut() {
    Step(-1);
}

void ZoomControl::Reset() {
    Step(-steps_);
}

void ZoomControl::Step(int steps) {
    const int wanted = std::clamp(steps_ + steps, kSmallest, kLargest);
    if (wanted != steps_) {
        steps_ = wanted;
        emit changed(factor());
    }
}

} // namespace tallivo
