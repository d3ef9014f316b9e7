#pragma once

#include "window_service.h"

#include <QPointer>

#include <memory>

class QWidget;

namespace tallivo {

class AnalysisModel;
class FDecifra;
class FInfo;
class FStats;
class MessageService;

// The program's own windows beside the main one, as the platform shows them.
class QtWindowService : public WindowService {
public:
    QtWindowService(const AnalysisModel& model, MessageService& messages);
    ~QtWindowService() override;

    // The window the statistics and the workbench belong to: they close with it.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    // One information window serves the whole run: created at the first showing, centred at
    // every showing, modal and with no owner window (so it carries the platform's own icon).
    void ShowInformation() override;
    void ShowStatistics() override;
    void ShowWorkbench() override;

    // The windows, once they have been shown.
    FInfo* information() const { return info_.get(); }
    FStats* statistics() const;
    FDecifra* workbench() const;

private:
    const AnalysisModel& model_;
    MessageService& messages_;
    QPointer<QWidget> owner_;
    std::unique_ptr<FInfo> info_;
    QPointer<FStats> statistics_;
    QPointer<FDecifra> workbench_;
};

} // namespace tallivo
