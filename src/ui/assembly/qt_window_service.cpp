#include "qt_window_service.h"

#include "finfo.h"
#include "fstats.h"

namespace tallivo {

QtWindowService::QtWindowService() = default;

QtWindowService::~QtWindowService() = default;

void QtWindowService::ShowInformation() {
    if (info_ == nullptr) {
        info_ = std::make_unique<FInfo>();
    }
    info_->setWindowModality(Qt::ApplicationModal);
    info_->show();
    info_->raise();
    info_->activateWindow();
}

void QtWindowService::ShowStatistics(QWidget* parent, const TextStatistics& statistics,
                                     const QString& referenceName) {
    auto* window = new FStats(statistics, referenceName, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace tallivo
