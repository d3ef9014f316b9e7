#pragma once

#include "picture_image.h"
#include "picture_surface.h"

#include <QColor>
#include <QFrame>
#include <QImage>

class QLabel;

namespace tallivo {

// A picture area: a sunken 2-pixel border around an inner drawing area that keeps what is
// drawn on it (an image in device pixels, so covering, repainting and high-DPI screens never
// lose or blur a bar). Drawing uses a user scale whose origin is the inner top-left corner.
// Child controls go on InnerArea(): they are clipped to it and drawn over the drawing; a label
// that is to reach over the border is placed with PlaceLabel.
class PictureArea : public QFrame, public PictureSurface {
    Q_OBJECT

public:
    explicit PictureArea(QWidget* parent = nullptr);

    // The user scale and the drawing cover the inner area.
    void SetScale(double scaleWidth, double scaleHeight) override;
    QColor BackColor() const override;
    void SetLineStyle(Qt::PenStyle style) override;
    void SetLineWidth(int width) override;
    void Clear() override;
    void FillBox(double x1, double y1, double x2, double y2, const QColor& color) override;
    // Where the row crosses the text of a label on the inner area it leaves the glyphs free,
    // so the text stays readable.
    void DrawRow(double y, const QColor& color) override;

    // The widget that holds the drawing; children placed on it sit relative to the inner area.
    QWidget* InnerArea() const;

    // Puts label over the picture at place, given from the inner area's top-left corner as
    // for a child of the inner area; unlike one, it may reach over the border, so that a
    // letter as wide as the whole picture is never cut at the inner edge. A row drawn across
    // it leaves its glyphs free.
    void PlaceLabel(QLabel* label, const QRect& place);

    // Returns the kept drawing, in device pixels.
    const QImage& Drawing() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // A picture that has the keyboard focus shows it on its border, outside the drawing.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class PictureCanvas;
    void EnsureDrawing();
    // Returns, in device pixels of the drawing, the boxes the child labels' glyphs cover.
    QList<QRect> LabelInk() const;

    QWidget* inner_;
    PictureImage drawing_;
    QList<QLabel*> overLabels_;
};

} // namespace tallivo
