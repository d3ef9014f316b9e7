#include "qt_window_service.h"

#include "fdecifra.h"
#include "finfo.h"
#include "fstats.h"

namespace tallivo {

namespace {

void Raise(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QtWindowService::QtWindowService(const AnalysisModel& model, MessageService& messages)
    : model_(model)
    , messages_(messages) {}

QtWindowService::~QtWindowService() = default;

FStats* QtWindowService::statistics() const {
    return statistics_;
}

FDecifra* QtWindowService::workbench() const {
    return workbench_;
}

void QtWindowService::ShowInformation() {
    if (info_ == nullptr) {
        info_ = std::make_unique<FInfo>();
    }
    info_->setWindowModality(Qt::ApplicationModal);
    Raise(info_.get());
}

void QtWindowService::ShowStatistics() {
    if (statistics_ == nullptr) {
        statistics_ = new FStats(model_, owner_);
        statistics_->setAttribute(Qt::WA_DeleteOnClose);
    }
    Raise(statistics_);
}

void QtWindowService::ShowWorkbench() {
    if (workbench_ == nullptr) {
        workbench_ = new FDecifra(model_, messages_, owner_);
        workbench_->setAttribute(Qt::WA_DeleteOnClose);
    }
    Raise(workbench_);
}

} // namespace tallivo
