#pragma once

#include "letter_counter.h"

#include <optional>

namespace tallivo {

// Where a paste finds the clipboard's text.
class ClipboardText {
public:
    virtual ~ClipboardText() = default;

    // Returns a stream that brings the clipboard's text from the program that owns it, to be
    // read off the window's thread, part by part; nothing where the text is to be taken from the
    // toolkit's clipboard at once (when this program owns it, or the display is not X11).
    virtual std::optional<TextStream> Stream() = 0;
};

// The system's clipboard: on X11 read through a connection of its own, so that a long text
// never stops the windows while it comes.
class SystemClipboardText : public ClipboardText {
public:
    std::optional<TextStream> Stream() override;
};

} // namespace tallivo
