#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>

namespace tallivo {

// A picture area: a sunken 2-pixel border around an inner drawing area that keeps what is
// drawn on it (an image in device pixels, so covering, repainting and high-DPI screens never
// lose or blur a bar). Drawing uses a user scale whose origin is the inner top-left corner.
// Child controls go on InnerArea(): they are clipped to it and drawn over the drawing.
class PictureArea : public QFrame {
    Q_OBJECT

public:
    explicit PictureArea(QWidget* parent = nullptr);

    // Sets the user scale: the inner area is scaleWidth units wide and scaleHeight units high.
    void SetScale(double scaleWidth, double scaleHeight);

    // Returns the inner area's background colour.
    QColor BackColor() const;

    void SetLineStyle(Qt::PenStyle style);
    void SetLineWidth(int width);

    // Clears the drawing to the background colour.
    void Clear();

    // Fills the box with corners (x1, y1) and (x2, y2), in user units, with color; its outline
    // is drawn in the same colour and the whole is clipped to the inner area.
    void FillBox(double x1, double y1, double x2, double y2, const QColor& color);

    // Draws a line one device pixel high across the inner width at height y, in user units;
    // nothing when y lies outside the inner area. Where the line crosses the text of a label
    // on the inner area it leaves the glyphs free, so the text stays readable.
    void DrawRow(double y, const QColor& color);

    // The widget that holds the drawing; children placed on it sit relative to the inner area.
    QWidget* InnerArea() const;

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
    QImage drawing_;
    double scaleWidth_ = 1.0;
    double scaleHeight_ = 1.0;
    Qt::PenStyle lineStyle_ = Qt::SolidLine;
    int lineWidth_ = 1;
};

} // namespace tallivo
