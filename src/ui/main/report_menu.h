#pragma once

#include <QObject>

#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace tallivo {

class FMain;
struct NamedReference;
struct PlatformServices;

// The report's context menu and its shortcuts: compare with a language or a reference text,
// paste a text, the statistics window, and copying the report, the table or the chart. It
// opens on the bars and the list (right click, Menu key, Shift+F10); nothing of it shows until
// the user asks for it, and it keeps no state beyond the run.
class ReportMenu : public QObject {
    Q_OBJECT

public:
    ReportMenu(FMain& window, const PlatformServices& services);

    QMenu* menu() const { return menu_; }

    // Opens the menu at globalPos.
    void Popup(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateEnabled();
    void ChooseReference(QAction* chosen);
    // Asks for a reference text and analyses it; returns its reference, or none on a cancel
    // or a failure (already reported).
    std::optional<NamedReference> LoadReferenceText();
    void PasteText();
    void ShowStatistics();
    void CopyTable();
    void CopyChart();

    FMain& window_;
    const PlatformServices& services_;
    QMenu* menu_;
    QActionGroup* references_;
    QAction* noReference_;
    QAction* italian_;
    QAction* english_;
    QAction* referenceText_;
    QAction* chosenReference_;
    QAction* paste_;
    QAction* statistics_;
    QAction* copyReport_;
    QAction* copyTable_;
    QAction* copyChart_;
};

} // namespace tallivo
