#include "picture_image.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallivo {

PictureImage::PictureImage(QSize size, double ratio, const QColor& background)
    : background_(background) {
    Resize(size, ratio);
}

void PictureImage::Resize(QSize size, double ratio) {
    const QSize pixels(qRound(size.width() * ratio), qRound(size.height() * ratio));
    if (image_.size() == pixels && image_.devicePixelRatio() == ratio) {
        return;
    }
    QImage fresh(pixels, QImage::Format_RGB32);
    fresh.fill(background_);
    if (!image_.isNull() && !pixels.isEmpty()) {
        QPainter painter(&fresh);
        painter.drawImage(QRect(QPoint(0, 0), pixels), image_);
    }
    fresh.setDevicePixelRatio(ratio);
    image_ = fresh;
}

void PictureImage::SetScale(double scaleWidth, double scaleHeight) {
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
}

void PictureImage::SetLineStyle(Qt::PenStyle style) {
    lineStyle_ = style;
}

void PictureImage::SetLineWidth(int width) {
    lineWidth_ = std::max(1, width);
}

void PictureImage::Clear() {
    image_.fill(background_);
}

void PictureImage::FillBox(double x1, double y1, double x2, double y2, const QColor& color) {
    if (image_.isNull()) {
        return;
    }
    // User units to device pixels; the box includes both corner pixels, as its one-pixel
    // outline does, and a wider outline grows it on every side.
    const double toX = image_.width() / scaleWidth_;
    const double toY = image_.height() / scaleHeight_;
    const double grow = lineStyle_ == Qt::NoPen ? 0.0 : (lineWidth_ - 1) / 2.0;
    const double left = std::round(std::min(x1, x2) * toX) - grow;
    const double right = std::round(std::max(x1, x2) * toX) + grow;
    const double top = std::round(std::min(y1, y2) * toY) - grow;
    const double bottom = std::round(std::max(y1, y2) * toY) + grow;
    const double x0 = std::max(left, 0.0);
    const double y0 = std::max(top, 0.0);
    const double xEnd = std::min(right, image_.width() - 1.0);
    const double yEnd = std::min(bottom, image_.height() - 1.0);
    if (x0 > xEnd || y0 > yEnd) {
        return;
    }
    // Painted at ratio 1 so that whole device pixels are filled.
    const double ratio = image_.devicePixelRatio();
    image_.setDevicePixelRatio(1.0);
    {
        QPainter painter(&image_);
        painter.fillRect(QRect(int(x0), int(y0), int(xEnd - x0) + 1, int(yEnd - y0) + 1), color);
    }
    image_.setDevicePixelRatio(ratio);
}

void PictureImage::DrawRow(double y, const QColor& color) {
    if (image_.isNull()) {
        return;
    }
    const double row = std::round(y * image_.height() / scaleHeight_);
    if (row < 0.0 || row > image_.height() - 1.0) {
        return;
    }
    for (int x = 0; x < image_.width(); ++x) {
        const QPoint pixel(x, int(row));
        if (std::none_of(spared_.begin(), spared_.end(),
                         [&pixel](const QRect& box) { return box.contains(pixel); })) {
            image_.setPixelColor(pixel, color);
        }
    }
}

} // namespace tallivo
