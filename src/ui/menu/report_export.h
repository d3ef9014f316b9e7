#pragma once

#include <QImage>
#include <QObject>

namespace tallivo {

class FMain;
class ReferenceChoice;

// Puts the main window's report on the clipboard: its lines as text, a table a spreadsheet
// reads as columns, or a chart that stands on its own.
class ReportExport : public QObject {
    Q_OBJECT

public:
    ReportExport(const FMain& window, const ReferenceChoice& reference, QObject* parent);

    void CopyReport() const;
    void CopyTable() const;
    void CopyChart() const;

    // Returns the chart of the last analysis at devicePixelRatio: the 26 bars with their
    // letters at the window's scale, the scale's caption, and the reference's marks with their
    // legend where one is chosen.
    QImage Chart(double devicePixelRatio) const;

private:
    const FMain& window_;
    const ReferenceChoice& reference_;
};

} // namespace tallivo
