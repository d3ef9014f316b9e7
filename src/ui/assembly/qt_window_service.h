#pragma once

#include "window_service.h"

#include <memory>

namespace tallivo {

class FInfo;

// The program's own windows beside the main one, as the platform shows them.
class QtWindowService : public WindowService {
public:
    QtWindowService();
    ~QtWindowService() override;

    // One information window serves the whole run: created at the first showing, centred at
    // every showing, modal and with no owner window (so it carries the platform's own icon).
    void ShowInformation() override;
    void ShowStatistics(QWidget* parent, const TextStatistics& statistics,
                        const QString& referenceName) override;

    // The information window, once it has been shown.
    FInfo* information() const { return info_.get(); }

private:
    std::unique_ptr<FInfo> info_;
};

} // namespace tallivo
