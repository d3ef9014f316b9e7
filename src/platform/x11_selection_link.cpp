#include "x11_selection_link.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tallivo {

namespace {

// A property is read in pieces of this many 32-bit units (1 MiB), however large it is.
constexpr std::uint32_t kPieceUnits = 1U << 18;

template <typename T> struct FreeReply {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply<T>>;

} // namespace

std::unique_ptr<X11SelectionLink> X11SelectionLink::Connect() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (connection == nullptr) {
        return nullptr;
    }
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11SelectionLink>(new X11SelectionLink(connection));
}

X11SelectionLink::X11SelectionLink(xcb_connection_t* connection)
    : connection_(connection) {}

X11SelectionLink::~X11SelectionLink() {
    // Closing the connection takes the window with it; an owner still sending parts sees it go.
    xcb_disconnect(connection_);
}

bool X11SelectionLink::Prepare() {
    if (prepared_) {
        return true;
    }
    if (xcb_connection_has_error(connection_) != 0) {
        return false;
    }
    const std::array<const char*, 5> names{"CLIPBOARD", "TALLIVO_SELECTION", "INCR", "UTF8_STRING",
                                           "text/plain;charset=utf-8"};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] =
            xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(names[i])), names[i]);
    }
    std::array<std::uint32_t, names.size()> atoms{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, cookies[i], nullptr));
        if (reply == nullptr) {
            return false;
        }
        atoms[i] = reply->atom;
    }
    clipboard_ = atoms[0];
    property_ = atoms[1];
    incremental_ = atoms[2];
    utf8_ = atoms[3];
    utf8Mime_ = atoms[4];

    // An unseen window of its own receives the text, and hears when its property changes.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    if (screen == nullptr) {
        return false;
    }
    window_ = xcb_generate_id(connection_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    const xcb_void_cookie_t made = xcb_create_window_checked(
        connection_, 0, window_, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
        XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    if (xcb_generic_error_t* error = xcb_request_check(connection_, made)) {
        std::free(error);
        return false;
    }
    prepared_ = true;
    return true;
}

bool X11SelectionLink::HasOwner() {
    if (!Prepare()) {
        return false;
    }
    const Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr));
    return reply != nullptr && reply->owner != XCB_NONE;
}

void X11SelectionLink::Request(SelectionTarget target) {
    if (!Prepare()) {
        return; // the wait that follows finds the connection gone
    }
    std::uint32_t atom = XCB_ATOM_STRING;
    if (target == SelectionTarget::Utf8) {
        atom = utf8_;
    } else if (target == SelectionTarget::Utf8Mime) {
        atom = utf8Mime_;
    }
    xcb_convert_selection(connection_, window_, clipboard_, atom, property_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
}

std::optional<SelectionEvent> X11SelectionLink::Step(const void* event) const {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    switch (generic->response_type & ~0x80) {
    case XCB_SELECTION_NOTIFY: {
        const auto* notify = static_cast<const xcb_selection_notify_event_t*>(event);
        if (notify->requestor != window_ || notify->selection != clipboard_) {
            return std::nullopt;
        }
        return notify->property == XCB_NONE ? SelectionEvent::Refused : SelectionEvent::Converted;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(event);
        if (notify->window == window_ && notify->atom == property_ &&
            notify->state == XCB_PROPERTY_NEW_VALUE) {
            return SelectionEvent::NewValue;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<SelectionEvent> X11SelectionLink::Wait(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // Events read while waiting for a reply are already queued: they come first.
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const std::optional<SelectionEvent> step = Step(event);
            std::free(event);
            if (step) {
                return step;
            }
        }
        if (xcb_connection_has_error(connection_) != 0) {
            return SelectionEvent::Lost;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd watch{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ::poll(&watch, 1, int(left.count()));
    }
}

PropertyKind X11SelectionLink::Take(const PieceSink& piece) {
    std::uint32_t offset = 0;
    for (;;) {
        // Deleted with the read that reaches its end, which asks an owner sending parts for the
        // next one.
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 1, window_, property_,
                                                    XCB_GET_PROPERTY_TYPE_ANY, offset, kPieceUnits),
                                   nullptr));
        if (reply == nullptr || reply->type == XCB_NONE) {
            return PropertyKind::Missing;
        }
        if (reply->type == incremental_) {
            return PropertyKind::Incremental;
        }
        if (reply->format != 8) {
            xcb_delete_property(connection_, window_, property_);
            xcb_flush(connection_);
            return PropertyKind::Other;
        }
        const int length = xcb_get_property_value_length(reply.get());
        piece(std::string_view(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               std::size_t(length)));
        if (reply->bytes_after == 0) {
            return PropertyKind::Text;
        }
        offset += std::uint32_t(length) / 4;
    }
}

} // namespace tallivo
