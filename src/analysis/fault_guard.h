#pragma once

#include <cstddef>

namespace tallivo {

// Runs work(context), which reads the bytes [begin, begin + size) of a file mapped into memory,
// and returns true; returns false instead when a page of that range cannot be read (SIGBUS), as
// happens when the file is cut shorter while it is mapped. work is then abandoned midway, so it
// must hold nothing that needs undoing: no destructors to run, no lock, no allocation. A SIGBUS
// at any other address, or on a thread outside RunGuarded, goes to the handler that was there
// before, or ends the process as it would have.
bool RunGuarded(const unsigned char* begin, std::size_t size, void (*work)(void*), void* context);

// The same with a callable object.
template <typename Work> bool RunGuarded(const unsigned char* begin, std::size_t size, Work& work) {
    return RunGuarded(
        begin, size, [](void* context) { (*static_cast<Work*>(context))(); }, &work);
}

} // namespace tallivo
