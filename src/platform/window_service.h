#pragma once

#include <functional>

class QString;

namespace tallivo {

class FDecifra;

// Shows the program's windows beside the main one. Each showing returns at once: a modal
// window keeps the others from taking input until it closes, without a nested event loop; the
// others are one window each, raised when asked for again. Tests hand the program a recording
// one, so no window opens.
class WindowService {
public:
    virtual ~WindowService() = default;
    // Shows the information window, modal, centred and with no owner window.
    virtual void ShowInformation() = 0;
    // Shows the statistics of the last analysis; they follow each new analysis.
    virtual void ShowStatistics() = 0;
    // Shows the workbench on the text of the last analysis.
    virtual void ShowWorkbench() = 0;
    // Calls setup on each workbench as it is built, before it first shows: what is composed
    // into it from outside. A service that builds no workbench keeps it unused.
    virtual void SetWorkbenchSetup(std::function<void(FDecifra&)> setup) { (void)setup; }
    // Shows the Italian guide at topic ("decifra#vigenere"; see the guide window).
    virtual void ShowGuide(const QString& topic) = 0;
};

} // namespace tallivo
