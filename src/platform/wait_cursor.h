#pragma once

namespace tallivo {

// Shows the hourglass pointer over the whole program for its lifetime, at once, and puts the
// normal pointer back however the scope is left.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace tallivo
