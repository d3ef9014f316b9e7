#include "picture_area.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace tallivo {

// The inner drawing area: paints the kept image; the area's children are its children.
class PictureCanvas : public QWidget {
public:
    PictureCanvas(PictureArea* area)
        : QWidget(area)
        , area_(area) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        area_->EnsureDrawing();
        QPainter painter(this);
        painter.drawImage(QPointF(0, 0), area_->drawing_);
    }

private:
    PictureArea* area_;
};

PictureArea::PictureArea(QWidget* parent)
    : QFrame(parent)
    , inner_(new PictureCanvas(this)) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QPalette colours = palette();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    colours.setColor(QPalette::Window, buttonFace);
    setPalette(colours);
    setAutoFillBackground(true);
    inner_->setPalette(colours);
}

void PictureArea::SetScale(double scaleWidth, double scaleHeight) {
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
}

QColor PictureArea::BackColor() const {
    return palette().color(QPalette::Window);
}

void PictureArea::SetLineStyle(Qt::PenStyle style) {
    lineStyle_ = style;
}

void PictureArea::SetLineWidth(int width) {
    lineWidth_ = std::max(1, width);
}

void PictureArea::Clear() {
    EnsureDrawing();
    drawing_.fill(BackColor());
    inner_->update();
}

void PictureArea::FillBox(double x1, double y1, double x2, double y2, const QColor& color) {
    EnsureDrawing();
    // User units to device pixels; the box includes both corner pixels, as its one-pixel
    // outline does, and a wider outline grows it on every side.
    const double toX = drawing_.width() / scaleWidth_;
    const double toY = drawing_.height() / scaleHeight_;
    const double grow = lineStyle_ == Qt::NoPen ? 0.0 : (lineWidth_ - 1) / 2.0;
    const double left = std::round(std::min(x1, x2) * toX) - grow;
    const double right = std::round(std::max(x1, x2) * toX) + grow;
    const double top = std::round(std::min(y1, y2) * toY) - grow;
    const double bottom = std::round(std::max(y1, y2) * toY) + grow;
    const double x0 = std::max(left, 0.0);
    const double y0 = std::max(top, 0.0);
    const double xEnd = std::min(right, drawing_.width() - 1.0);
    const double yEnd = std::min(bottom, drawing_.height() - 1.0);
    if (x0 > xEnd || y0 > yEnd) {
        return;
    }
    // Painted at ratio 1 so that whole device pixels are filled.
    const double ratio = drawing_.devicePixelRatio();
    drawing_.setDevicePixelRatio(1.0);
    {
        QPainter painter(&drawing_);
        painter.fillRect(QRect(int(x0), int(y0), int(xEnd - x0) + 1, int(yEnd - y0) + 1), color);
    }
    drawing_.setDevicePixelRatio(ratio);
    inner_->update();
}

QList<QRect> PictureArea::LabelInk() const {
    QList<QRect> ink;
    const double ratio = drawing_.devicePixelRatio();
    for (const QLabel* label : inner_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->isHidden() || label->text().isEmpty()) {
            continue;
        }
        // Where the label lays its text, and the glyphs' own extent in it, one pixel around.
        const QFontMetrics metrics(label->font());
        const QRect laid =
            metrics.boundingRect(label->contentsRect(), int(label->alignment()), label->text());
        const QRect glyphs = metrics.tightBoundingRect(label->text())
                                 .translated(laid.left(), laid.top() + metrics.ascent())
                                 .translated(label->pos())
                                 .adjusted(-1, -1, 1, 1);
        ink.append(QRect(
            QPoint(int(std::floor(glyphs.left() * ratio)), int(std::floor(glyphs.top() * ratio))),
            QPoint(int(std::ceil((glyphs.right() + 1) * ratio)) - 1,
                   int(std::ceil((glyphs.bottom() + 1) * ratio)) - 1)));
    }
    return ink;
}

void PictureArea::DrawRow(double y, const QColor& color) {
    EnsureDrawing();
    const double row = std::round(y * drawing_.height() / scaleHeight_);
    if (row < 0.0 || row > drawing_.height() - 1.0) {
        return;
    }
    const QList<QRect> ink = LabelInk();
    for (int x = 0; x < drawing_.width(); ++x) {
        const QPoint pixel(x, int(row));
        if (std::none_of(ink.begin(), ink.end(),
                         [&pixel](const QRect& glyphs) { return glyphs.contains(pixel); })) {
            drawing_.setPixelColor(pixel, color);
        }
    }
    inner_->update();
}

QWidget* PictureArea::InnerArea() const {
    return inner_;
}

const QImage& PictureArea::Drawing() const {
    const_cast<PictureArea*>(this)->EnsureDrawing();
    return drawing_;
}

void PictureArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (hasFocus()) {
        // The border ring in the highlight colour; the drawing inside is left as it is.
        QPainter painter(this);
        const QRect inner = contentsRect();
        QRegion ring(rect());
        ring -= QRegion(inner);
        painter.setClipRegion(ring);
        painter.fillRect(rect(), palette().color(QPalette::Highlight));
    }
}

void PictureArea::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void PictureArea::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

void PictureArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    inner_->setGeometry(contentsRect());
}

// Makes the kept image match the inner area in device pixels; what was drawn is carried over.
void PictureArea::EnsureDrawing() {
    const QRect inner = contentsRect();
    if (inner_->geometry() != inner) {
        inner_->setGeometry(inner);
    }
    const double ratio = devicePixelRatioF();
    const QSize pixels(qRound(inner.width() * ratio), qRound(inner.height() * ratio));
    if (drawing_.size() == pixels && drawing_.devicePixelRatio() == ratio) {
        return;
    }
    QImage fresh(pixels, QImage::Format_RGB32);
    fresh.fill(BackColor());
    if (!drawing_.isNull()) {
        QPainter painter(&fresh);
        painter.drawImage(QRect(QPoint(0, 0), pixels), drawing_);
    }
    fresh.setDevicePixelRatio(ratio);
    drawing_ = fresh;
}

} // namespace tallivo
