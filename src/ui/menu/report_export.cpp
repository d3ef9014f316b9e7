#include "report_export.h"

#include "app_fonts.h"
#include "fmain.h"
#include "frequency_report.h"
#include "reference_choice.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>

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

ReportExport::ReportExport(const FMain& window, const ReferenceChoice& reference, QObject* parent)
    : QObject(parent)
    , window_(window)
    , reference_(reference) {}

void ReportExport::CopyReport() const {
    const QStringList lines = window_.ReportLines();
    if (!lines.isEmpty()) {
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

void ReportExport::CopyTable() const {
    if (!window_.HasReport()) {
        return;
    }
    const std::optional<NamedReference>& reference = reference_.current();
    QGuiApplication::clipboard()->setText(QString::fromStdString(ReportTable(
        window_.letterCounts(), window_.totalLetters(), QLocale().decimalPoint().toStdString(),
        reference ? &reference->table : nullptr)));
}

void ReportExport::CopyChart() const {
    if (!window_.HasReport()) {
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = 2.0 * (screen != nullptr ? screen->devicePixelRatio() : 1.0);
    QGuiApplication::clipboard()->setImage(Chart(ratio));
}

QImage ReportExport::Chart(double devicePixelRatio) const {
    const std::optional<NamedReference>& reference = reference_.current();
    const int width = 2 * kMargin + 26 * kColumn;
    const int height = 2 * kMargin + kCaption + kPlotHeight + kLetters + (reference ? kLegend : 0);
    QImage image(QSize(width, height) * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(kPaper);

    QPainter painter(&image);
    painter.setFont(UiFont(9.0));
    painter.setPen(kInk);
    const int gaugeMax = FMain::GaugeMaxFor(window_.scaleIndex());
    painter.drawText(QRect(kMargin, kMargin, width - 2 * kMargin, kCaption),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Scala x %1: %2% a tutta altezza")
                         .arg(window_.scaleIndex() + 1)
                         .arg(gaugeMax));

    const QRectF plot(kMargin, kMargin + kCaption, 26 * kColumn, kPlotHeight);
    painter.setPen(kFrame);
    painter.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));
    // A value v of the scale stands at this height above the foot of the plot.
    const auto heightOf = [&plot, gaugeMax](double v) {
        return std::min(v, double(gaugeMax)) * plot.height() / gaugeMax;
    };
    const double onePixel = 1.0 / devicePixelRatio;
    for (int i = 0; i < 26; ++i) {
        const double left = plot.left() + i * kColumn + (kColumn - kBarWidth) / 2.0;
        const float percent = RoundedPercent(window_.letterCounts()[i], window_.totalLetters(),
                                             PercentPattern::ZeroHashHash);
        const double bar = heightOf(BarHeight(percent));
        painter.fillRect(QRectF(left, plot.bottom() - bar, kBarWidth, bar), kBar);
        if (reference && reference->table[i] > 0.0 && reference->table[i] <= gaugeMax) {
            const double y = plot.bottom() - heightOf(reference->table[i]);
            painter.fillRect(QRectF(left - 2, y, kBarWidth + 4, onePixel), kInk);
        }
        painter.setPen(kInk);
        painter.drawText(QRectF(plot.left() + i * kColumn, plot.bottom() + 2, kColumn, kLetters),
                         Qt::AlignHCenter | Qt::AlignTop, QString(QChar(u'a' + i)));
    }
    if (reference) {
        const double y = plot.bottom() + kLetters + kLegend / 2.0;
        painter.fillRect(QRectF(kMargin, y, 14, onePixel), kInk);
        painter.drawText(QRectF(kMargin + 20, y - kLegend / 2.0, width, kLegend),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("frequenza attesa (%1)").arg(reference->name));
    }
    return image;
}

} // namespace tallivo
