#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QPoint;

namespace tallivo {

class FMain;
class ReferenceChoice;
class ReportExport;
class SourceCounter;
class TextIntake;
struct PlatformServices;

// The report's context menu and its shortcuts: compare with a language or a reference text,
// paste a text, the statistics window, and copying the report, the table or the chart. It
// opens on the bars and the list (right click, Menu key, Shift+F10); nothing of it shows until
// the user asks for it, and it keeps no state beyond the run.
class ReportMenu : public QObject {
    Q_OBJECT

public:
    ReportMenu(FMain& window, const PlatformServices& services, SourceCounter& counter);

    QMenu* menu() const { return menu_; }
    const ReferenceChoice& reference() const { return *reference_; }

    // Adds an item to the end of the menu, enabled while the window shows a report.
    void AddReportAction(QAction* action);

    // Opens the menu at globalPos.
    void Popup(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateEnabled();
    void ShowReferenceChoice();
    void ShowStatistics();

    FMain& window_;
    const PlatformServices& services_;
    SourceCounter& counter_;
    ReferenceChoice* reference_;
    TextIntake* intake_;
    ReportExport* export_;
    QMenu* menu_;
    QActionGroup* references_;
    QAction* noReference_;
    QAction* italian_;
    QAction* english_;
    QAction* referenceText_;
    QList<QAction*> needReport_;
};

} // namespace tallivo
