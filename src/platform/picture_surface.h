#pragma once

#include <QColor>

namespace tallivo {

// Something a gauge draws on: an area with a user scale whose origin is its top-left corner,
// that keeps what is drawn on it. A picture area on a window is one; a picture drawn off
// screen, for a chart that is copied, is another.
class PictureSurface {
public:
    virtual ~PictureSurface() = default;

    // Sets the user scale: the area is scaleWidth units wide and scaleHeight units high.
    virtual void SetScale(double scaleWidth, double scaleHeight) = 0;

    // Returns the background colour.
    virtual QColor BackColor() const = 0;

    virtual void SetLineStyle(Qt::PenStyle style) = 0;
    virtual void SetLineWidth(int width) = 0;

    // Clears the drawing to the background colour.
    virtual void Clear() = 0;

    // Fills the box with corners (x1, y1) and (x2, y2), in user units, with color; its outline
    // is drawn in the same colour and the whole is clipped to the area.
    virtual void FillBox(double x1, double y1, double x2, double y2, const QColor& color) = 0;

    // Draws a line one device pixel high across the width at height y, in user units; nothing
    // when y lies outside the area.
    virtual void DrawRow(double y, const QColor& color) = 0;
};

} // namespace tallivo
