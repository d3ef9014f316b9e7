#pragma once

#include "fdecifra.h"

#include <QObject>
#include <QPointer>

namespace tallivo {

class FMain;
class ReportMenu;
class SourceCounter;
struct PlatformServices;

// Opens the workbench on the text of the main window's last analysis: the menu item
// "Decifra…" (Ctrl+D), enabled while there is a report with letters. The text is read again
// through the counting road, checked against the analysis, and examined for periods as it is
// read; one workbench at a time, raised when asked for again, and moved to the new text after
// each new analysis.
class Workbench : public QObject {
    Q_OBJECT

public:
    Workbench(FMain& window, ReportMenu& menu, const PlatformServices& services,
              SourceCounter& counter);

    // The workbench window, once opened.
    FDecifra* workbench() const { return workbench_; }

    // Reads the last analysis's text and shows the workbench on it.
    void Open();

private:
    void ShowLanguages();

    FMain& window_;
    ReportMenu& menu_;
    const PlatformServices& services_;
    SourceCounter& counter_;
    QPointer<FDecifra> workbench_;
};

} // namespace tallivo
