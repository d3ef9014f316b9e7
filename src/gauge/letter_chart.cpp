#include "letter_chart.h"

#include "app_fonts.h"
#include "bar_painter.h"
#include "frequency_report.h"
#include "picture_image.h"

#include <QPainter>

namespace tallivo {

namespace {

// The chart's geometry in logical pixels.
constexpr int kMargin = 12;
constexpr int kColumn = 16;
constexpr int kBarWidth = 10;
constexpr int kCaption = 20;
constexpr int kPlotHeight = 180;
constexpr int kLetters = 18;
constexpr int kLegend = 18;

const QColor kPaper(255, 255, 255);
const QColor kBar(255, 0, 0);
const QColor kInk(0, 0, 0);
const QColor kFrame(160, 160, 160);

} // namespace

QImage DrawLetterChart(const LetterChart& chart, MessageService& messages,
                       double devicePixelRatio) {
    const bool legend = chart.markers.has_value();
    const int width = 2 * kMargin + 26 * kColumn;
    const int height = 2 * kMargin + kCaption + kPlotHeight + kLetters + (legend ? kLegend : 0);
    QImage image(QSize(width, height) * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(kPaper);

    QPainter painter(&image);
    painter.setFont(UiFont(9.0));
    painter.setPen(kInk);
    painter.drawText(QRect(kMargin, kMargin, width - 2 * kMargin, kCaption),
                     Qt::AlignLeft | Qt::AlignVCenter, chart.caption);

    const QRectF plot(kMargin, kMargin + kCaption, 26 * kColumn, kPlotHeight);
    painter.setPen(kFrame);
    painter.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));
    // Each bar is painted as the windows paint theirs, on a picture of its own, then placed.
    BarPainter bars(messages, chart.gaugeMax, chart.markers, kBar);
    PictureImage picture(QSize(kBarWidth, kPlotHeight), devicePixelRatio, kPaper);
    bars.Prepare(picture);
    for (int i = 0; i < 26; ++i) {
        const float percent =
            RoundedPercent(chart.counts[std::size_t(i)], chart.total, PercentPattern::ZeroHashHash);
        bars.Paint(i, percent, picture);
        painter.drawImage(
            QPointF(plot.left() + i * kColumn + (kColumn - kBarWidth) / 2.0, plot.top()),
            picture.Image());
        painter.setPen(kInk);
        painter.drawText(QRectF(plot.left() + i * kColumn, plot.bottom() + 2, kColumn, kLetters),
                         Qt::AlignHCenter | Qt::AlignTop, QString(QChar(u'a' + i)));
    }
    if (legend) {
        const double y = plot.bottom() + kLetters + kLegend / 2.0;
        painter.fillRect(QRectF(kMargin, y, 14, 1.0 / devicePixelRatio), kInk);
        painter.drawText(QRectF(kMargin + 20, y - kLegend / 2.0, width, kLegend),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("frequenza attesa (%1)").arg(chart.markersName));
    }
    return image;
}

} // namespace tallivo
