#include "clipboard_text.h"

#ifdef TALLIVO_HAVE_XCB
#include "selection_reader.h"
#include "x11_selection_link.h"
#endif

#include <QClipboard>
#include <QGuiApplication>

#include <memory>

namespace tallivo {

std::optional<TextStream> SystemClipboardText::Stream() {
#ifdef TALLIVO_HAVE_XCB
    // Text this program put there is at hand; on other displays the toolkit's clipboard is
    // the only road.
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        QGuiApplication::clipboard()->ownsClipboard()) {
        return std::nullopt;
    }
    std::shared_ptr<X11SelectionLink> link = X11SelectionLink::Connect();
    if (link == nullptr) {
        return std::nullopt;
    }
    return TextStream([link](const BlockSink& sink, const ReadObserver& observer) {
        SelectionReader(*link).Read(sink, observer);
    });
#else
    return std::nullopt;
#endif
}

} // namespace tallivo
