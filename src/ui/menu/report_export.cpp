#include "report_export.h"

#include "analysis_model.h"
#include "bar_painter.h"
#include "frequency_report.h"
#include "letter_chart.h"
#include "menu_action.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

namespace tallivo {

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
    const Analysis& analysis = model_.result()->analysis;
    const Reference& reference = model_.reference();
    const int scale = model_.scaleIndex();
    const std::int16_t gaugeMax = BarPainter::GaugeMaxFor(scale);
    return DrawLetterChart(
        LetterChart{analysis.counts, analysis.total, gaugeMax,
                    QStringLiteral("Scala x %1: %2% a tutta altezza").arg(scale + 1).arg(gaugeMax),
                    reference.table, reference.name},
        messages_, devicePixelRatio);
}

} // namespace tallivo
