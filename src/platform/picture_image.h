#pragma once

#include "picture_surface.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>

namespace tallivo {

// A picture kept as an image in device pixels, so that it is drawn sharp at any pixel ratio:
// the drawing inside a picture area, or a picture drawn off screen.
class PictureImage : public PictureSurface {
public:
    PictureImage(QSize size, double ratio, const QColor& background);

    // Makes the image size logical pixels at ratio; what was drawn is scaled over.
    void Resize(QSize size, double ratio);

    // The device pixels DrawRow leaves as they are (where text is drawn over the picture).
    void SetSpared(QList<QRect> pixels) { spared_ = std::move(pixels); }

    void SetBackColor(const QColor& color) { background_ = color; }

    const QImage& Image() const { return image_; }

    void SetScale(double scaleWidth, double scaleHeight) override;
    QColor BackColor() const override { return background_; }
    void SetLineStyle(Qt::PenStyle style) override;
    void SetLineWidth(int width) override;
    void Clear() override;
    void FillBox(double x1, double y1, double x2, double y2, const QColor& color) override;
    void DrawRow(double y, const QColor& color) override;

private:
    QImage image_;
    QColor background_;
    QList<QRect> spared_;
    double scaleWidth_ = 1.0;
    double scaleHeight_ = 1.0;
    Qt::PenStyle lineStyle_ = Qt::SolidLine;
    int lineWidth_ = 1;
};

} // namespace tallivo
