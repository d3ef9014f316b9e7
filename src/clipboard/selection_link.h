#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace tallivo {

// The forms a selection's text is asked for in, best first.
enum class SelectionTarget {
    Utf8,     // the display's UTF-8 text
    Utf8Mime, // the same, named by its media type, as some owners name it only
    Latin1,   // the display's oldest text form, in Latin-1
};

// What the selection's owner did, as far as a transfer is concerned.
enum class SelectionEvent {
    Converted, // wrote the text asked for into the requestor's property
    Refused,   // has no text in the form asked for
    NewValue,  // wrote the next part of a text sent in parts
    Lost,      // the connection to the display has gone
};

// What a property the owner wrote holds.
enum class PropertyKind {
    Text,        // bytes of text
    Incremental, // the promise of a text sent in parts, each in the property in turn
    Missing,     // nothing: the owner wrote no property
    Other,       // something that is no text
};

// The requestor's side of a selection transfer (the clipboard's text, sent by the program that
// owns it through the display server), reduced to what a reader needs. The display system's
// protocol lives in the implementation; a test gives a scripted owner.
class SelectionLink {
public:
    using PieceSink = std::function<void(std::string_view piece)>;

    virtual ~SelectionLink() = default;

    // Returns whether the selection has an owner now.
    virtual bool HasOwner() = 0;

    // Asks the owner for the selection's text in target.
    virtual void Request(SelectionTarget target) = 0;

    // Waits at most timeoutMs for the owner's next step; returns it, or nothing when the time
    // passed without one.
    virtual std::optional<SelectionEvent> Wait(int timeoutMs) = 0;

    // Reads the property the owner wrote, handing the bytes of a text to piece in order (in as
    // many pieces as the link reads it in), and deletes it, which in a transfer in parts asks
    // the owner for the next part. Returns what the property held.
    virtual PropertyKind Take(const PieceSink& piece) = 0;
};

} // namespace tallivo
