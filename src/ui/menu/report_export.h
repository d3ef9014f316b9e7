#pragma once

#include <QImage>
#include <QObject>

class QAction;

namespace tallivo {

class AnalysisModel;
class MessageService;

// Puts the report of the model's last analysis on the clipboard: its lines as text, a table a
// spreadsheet reads as columns, or a chart that stands on its own.
class ReportExport : public QObject {
    Q_OBJECT

public:
    ReportExport(const AnalysisModel& model, MessageService& messages, QObject* parent);

    // "Copia rapporto" (Ctrl+C), "Copia come tabella" (Ctrl+Shift+C), "Copia grafico".
    QList<QAction*> actions() const { return {copyReport_, copyTable_, copyChart_}; }

    void CopyReport() const;
    void CopyTable() const;
    void CopyChart() const;

    // Returns the chart of the last analysis at devicePixelRatio: the 26 bars with their
    // letters at the chosen scale, the scale's caption, and the reference's marks with their
    // legend where one is chosen.
    QImage Chart(double devicePixelRatio) const;

private:
    const AnalysisModel& model_;
    MessageService& messages_;
    QAction* copyReport_;
    QAction* copyTable_;
    QAction* copyChart_;
};

} // namespace tallivo
