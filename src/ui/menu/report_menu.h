#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace tallivo {

class AnalysisModel;

// The report's context menu, built from the items the features give it, in the order given.
// Items that need a report are enabled only while the model's last analysis found letters.
class ReportMenu : public QObject {
    Q_OBJECT

public:
    ReportMenu(const AnalysisModel& model, QWidget* owner);

    QMenu* menu() const { return menu_; }

    // Adds an item; with needsReport, it is enabled only while there is a report.
    void AddAction(QAction* action, bool needsReport);
    // Adds a submenu.
    void AddMenu(QMenu* submenu);
    void AddSeparator();

    // Returns the tooltip of the report before there is one: what its menu offers.
    static QString Hint();

private:
    void UpdateEnabled();

    const AnalysisModel& model_;
    QMenu* menu_;
    QList<QAction*> needReport_;
};

} // namespace tallivo
