#pragma once

#include "window_service.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace tallivo {

class AnalysisModel;
class FDecifra;
class FInfo;
class FStats;
class GuideOpener;
class MessageService;

// The program's own windows beside the main one, as the platform shows them.
class QtWindowService : public WindowService {
public:
    QtWindowService(const AnalysisModel& model, MessageService& messages);
    ~QtWindowService() override;

    // The window the statistics, the workbench and the guide belong to: they close with it.
    // Gives it F1, as every window shown here has.
    void SetOwner(QWidget* owner);

    // What to do when the guide asks for one of its sample texts, by name.
    void SetSampleHandler(std::function<void(const QString&)> handler);

    // One information window serves the whole run: created at the first showing, centred at
    // every showing, modal and with no owner window (so it carries the platform's own icon).
    void ShowInformation() override;
    void ShowStatistics() override;
    void ShowWorkbench() override;
    void ShowGuide(const QString& topic) override;
    void SetWorkbenchSetup(std::function<void(FDecifra&)> setup) override;

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
    GuideOpener* guide_ = nullptr;
    std::function<void(const QString&)> sampleHandler_;
    std::function<void(FDecifra&)> workbenchSetup_;
};

} // namespace tallivo
