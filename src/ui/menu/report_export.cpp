#include "report_export.h"

#include "analysis_model.h"
#include "app_fonts.h"
#include "bar_painter.h"
#include "frequency_report.h"
#include "menu_action.h"
#include "picture_image.h"

#include <QAction>
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

ReportExport::ReportExport(const AnalysisModel& model, MessageService& messages, QObject* parent)
    : QObject(parent)
    , model_(model)
    , messages_(messages)
    , copyReport_(MakeMenuAction(this, "actCopyReport", QStringLiteral("Copia rapporto"),
                                 QKeySequence::Copy))
    , copyTable_(MakeMenuAction(this, "actCopyTable", QStringLiteral("Copia come tabella"),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)))
    , copyChart_(MakeMenuAction(this, "actCopyChart", QStringLiteral("Copia grafico"))) {
    connect(copyReport_, &QAction::triggered, this, &ReportExport::CopyReport);
    connect(copyTable_, &QAction::triggered, this, &ReportExport::CopyTable);
    connect(copyChart_, &QAction::triggered, this, &ReportExport::CopyChart);
}

void ReportExport::CopyReport() const {
    if (!model_.result()) {
        return;
    }
    const Analysis& analysis = model_.result()->analysis;
    QString text;
    for (const std::string& line :
         ReportLines(analysis.counts, analysis.total, QLocale().decimalPoint().toStdString())) {
        text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text);
}

void ReportExport::CopyTable() const {
    if (!model_.HasReport()) {
        return;
    }
    const Analysis& analysis = model_.result()->analysis;
    const std::optional<ReferenceTable>& expected = model_.reference().table;
    QGuiApplication::clipboard()->setText(QString::fromStdString(
        ReportTable(analysis.counts, analysis.total, QLocale().decimalPoint().toStdString(),
                    expected ? &*expected : nullptr)));
}

void ReportExport::CopyChart() const {
    if (!model_.HasReport()) {
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = 2.0 * (screen != nullptr ? screen->devicePixelRatio() : 1.0);
    QGuiApplication::clipboard()->setImage(Chart(ratio));
}

QImage ReportExport::Chart(double devicePixelRatio) const {
    const Reference& reference = model_.reference();
    const bool legend = reference.table.has_value();
    const int width = 2 * kMargin + 26 * kColumn;
    const int height = 2 * kMargin + kCaption + kPlotHeight + kLetters + (legend ? kLegend : 0);
    QImage image(QSize(width, height) * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(kPaper);

    QPainter painter(&image);
    painter.setFont(UiFont(9.0));
    painter.setPen(kInk);
    const int scale = model_.scaleIndex();
    const std::int16_t gaugeMax = BarPainter::GaugeMaxFor(scale);
    painter.drawText(
        QRect(kMargin, kMargin, width - 2 * kMargin, kCaption), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Scala x %1: %2% a tutta altezza").arg(scale + 1).arg(gaugeMax));

    const QRectF plot(kMargin, kMargin + kCaption, 26 * kColumn, kPlotHeight);
    painter.setPen(kFrame);
    painter.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));
    // Each bar is painted as the window paints it, on a picture of its own, then placed.
    const Analysis& analysis = model_.result()->analysis;
    BarPainter bars(messages_, gaugeMax, reference.table, kBar);
    PictureImage picture(QSize(kBarWidth, kPlotHeight), devicePixelRatio, kPaper);
    bars.Prepare(picture);
    for (int i = 0; i < 26; ++i) {
        const float percent = RoundedPercent(analysis.counts[std::size_t(i)], analysis.total,
                                             PercentPattern::ZeroHashHash);
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
                         QStringLiteral("frequenza attesa (%1)").arg(reference.name));
    }
    return image;
}

} // namespace tallivo
