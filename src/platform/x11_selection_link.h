#pragma once

#include "selection_link.h"

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace tallivo {

// The clipboard of an X11 display, read through a connection of its own, so that the transfer
// can run on any thread while the toolkit's connection goes on serving the windows. A text
// the owner sends in parts (the display's incremental transfer) is read a part at a time.
class X11SelectionLink : public SelectionLink {
public:
    // Connects to the display the environment names; nothing when it cannot.
    static std::unique_ptr<X11SelectionLink> Connect();

    ~X11SelectionLink() override;
    X11SelectionLink(const X11SelectionLink&) = delete;
    X11SelectionLink& operator=(const X11SelectionLink&) = delete;

    bool HasOwner() override;
    void Request(SelectionTarget target) override;
    std::optional<SelectionEvent> Wait(int timeoutMs) override;
    PropertyKind Take(const PieceSink& piece) override;

private:
    explicit X11SelectionLink(xcb_connection_t* connection);

    // Makes the requestor's window and learns the atoms, once.
    bool Prepare();
    // Returns the step of the transfer an event of the display is, if it is one.
    std::optional<SelectionEvent> Step(const void* event) const;

    xcb_connection_t* connection_;
    bool prepared_ = false;
    std::uint32_t window_ = 0;
    std::uint32_t clipboard_ = 0;
    std::uint32_t property_ = 0;
    std::uint32_t incremental_ = 0;
    std::uint32_t utf8_ = 0;
    std::uint32_t utf8Mime_ = 0;
};

} // namespace tallivo
