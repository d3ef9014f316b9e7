#pragma once

class QString;
class QWidget;

namespace tallivo {

struct TextStatistics;

// Shows the program's windows beside the main one. Each showing returns at once: a modal
// window keeps the others from taking input until it closes, without a nested event loop.
// Tests hand the program a recording one, so no window opens.
class WindowService {
public:
    virtual ~WindowService() = default;
    // Shows the information window, modal, centred and with no owner window.
    virtual void ShowInformation() = 0;
    // Shows the statistics of the last analysis over parent, modal; referenceName names the
    // language or text the figures are measured against, empty when there is none.
    virtual void ShowStatistics(QWidget* parent, const TextStatistics& statistics,
                                const QString& referenceName) = 0;
};

} // namespace tallivo
