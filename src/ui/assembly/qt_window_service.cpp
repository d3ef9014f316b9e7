#include "qt_window_service.h"

#include "fdecifra.h"
#include "finfo.h"
#include "fstats.h"
#include "guide_opener.h"

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

void QtWindowService::SetOwner(QWidget* owner) {
    owner_ = owner;
    guide_ = new GuideOpener(*owner);
    guide_->AddHelpKey(owner);
    QObject::connect(guide_, &GuideOpener::sampleRequested, owner, [this](const QString& name) {
        if (sampleHandler_) {
            sampleHandler_(name);
        }
    });
}

void QtWindowService::SetSampleHandler(std::function<void(const QString&)> handler) {
    sampleHandler_ = std::move(handler);
}

void QtWindowService::ShowGuide(const QString& topic) {
    if (guide_ != nullptr) {
        guide_->Show(topic);
    }
}

void QtWindowService::SetWorkbenchSetup(std::function<void(FDecifra&)> setup) {
    workbenchSetup_ = std::move(setup);
}

FStats* QtWindowService::statistics() const {
    return statistics_;
}

FDecifra* QtWindowService::workbench() const {
    return workbench_;
}

void QtWindowService::ShowInformation() {
    if (info_ == nullptr) {
        info_ = std::make_unique<FInfo>();
        if (guide_ != nullptr) {
            guide_->AddHelpKey(info_.get());
        }
    }
    info_->setWindowModality(Qt::ApplicationModal);
    Raise(info_.get());
}

void QtWindowService::ShowStatistics() {
    if (statistics_ == nullptr) {
        statistics_ = new FStats(model_, owner_);
        statistics_->setAttribute(Qt::WA_DeleteOnClose);
        if (guide_ != nullptr) {
            guide_->AddHelpKey(statistics_);
        }
    }
    Raise(statistics_);
}

void QtWindowService::ShowWorkbench() {
    if (workbench_ == nullptr) {
        workbench_ = new FDecifra(model_, messages_, owner_);
        workbench_->setAttribute(Qt::WA_DeleteOnClose);
        if (workbenchSetup_) {
            workbenchSetup_(*workbench_);
        }
        if (guide_ != nullptr) {
            guide_->AddHelpKey(workbench_);
        }
    }
    Raise(workbench_);
}

} // namespace tallivo
