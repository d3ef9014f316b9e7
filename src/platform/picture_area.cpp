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
        painter.drawImage(QPointF(0, 0), area_->drawing_.Image());
    }

private:
    PictureArea* area_;
};

PictureArea::PictureArea(QWidget* parent)
    : QFrame(parent)
    , inner_(new PictureCanvas(this))
    , drawing_(QSize(), 1.0, QApplication::palette().color(QPalette::Button)) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // The platform's button face, and its text colour for letters over it, in light and dark
    // themes alike.
    QPalette colours = palette();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    colours.setColor(QPalette::Window, buttonFace);
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
    setPalette(colours);
    setAutoFillBackground(true);
    inner_->setPalette(colours);
}

void PictureArea::SetScale(double scaleWidth, double scaleHeight) {
    drawing_.SetScale(scaleWidth, scaleHeight);
}

QColor PictureArea::BackColor() const {
    return palette().color(QPalette::Window);
}

void PictureArea::SetLineStyle(Qt::PenStyle style) {
    drawing_.SetLineStyle(style);
}

void PictureArea::SetLineWidth(int width) {
    drawing_.SetLineWidth(width);
}

void PictureArea::Clear() {
    EnsureDrawing();
    drawing_.Clear();
    inner_->update();
}

void PictureArea::FillBox(double x1, double y1, double x2, double y2, const QColor& color) {
    EnsureDrawing();
    drawing_.FillBox(x1, y1, x2, y2, color);
    inner_->update();
}

void PictureArea::PlaceLabel(QLabel* label, const QRect& place) {
    label->setParent(this);
    label->setGeometry(place.translated(contentsRect().topLeft()));
    label->raise();
    overLabels_.append(label);
}

QList<QRect> PictureArea::LabelInk() const {
    QList<QRect> ink;
    const double ratio = drawing_.Image().devicePixelRatio();
    QList<const QLabel*> labels;
    for (const QLabel* label : inner_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        labels.append(label);
    }
    for (const QLabel* label : overLabels_) {
        labels.append(label);
    }
    for (const QLabel* label : labels) {
        if (label->isHidden() || label->text().isEmpty()) {
            continue;
        }
        // Where the label lays its text, and the glyphs' own extent in it, one pixel around.
        const QFontMetrics metrics(label->font());
        const QRect laid =
            metrics.boundingRect(label->contentsRect(), int(label->alignment()), label->text());
        const QRect glyphs = metrics.tightBoundingRect(label->text())
                                 .translated(laid.left(), laid.top() + metrics.ascent())
                                 .translated(label->parentWidget() == inner_
                                                 ? label->pos()
                                                 : label->pos() - contentsRect().topLeft())
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
    drawing_.SetSpared(LabelInk());
    drawing_.DrawRow(y, color);
    inner_->update();
}

QWidget* PictureArea::InnerArea() const {
    return inner_;
}

const QImage& PictureArea::Drawing() const {
    const_cast<PictureArea*>(this)->EnsureDrawing();
    return drawing_.Image();
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
    drawing_.SetBackColor(BackColor());
    drawing_.Resize(inner.size(), devicePixelRatioF());
}

} // namespace tallivo
