// Reads past the end of a file cut while mapped, where no guard covers the read, for
// tst_fault_guard to see what ends the process. "fault_child GUARD HANDLER": GUARD "guarded" reads
// in a guard over other pages; HANDLER "own" installs a SIGBUS handler that exits with 3 first.

#include "fault_guard.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void OwnHandler(int) {
    std::_Exit(3);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        return 2;
    }
    ::alarm(20); // a fault swallowed and retried for ever ends here instead
    if (std::strcmp(argv[2], "own") == 0) {
        std::signal(SIGBUS, OwnHandler);
    }
    const long page = ::sysconf(_SC_PAGESIZE);
    const int fd = ::memfd_create("tallivo_fault_child", 0);
    if (fd < 0 || ::ftruncate(fd, 4 * page) != 0) {
        return 2;
    }
    const auto* data =
        static_cast<const unsigned char*>(::mmap(nullptr, 4 * page, PROT_READ, MAP_SHARED, fd, 0));
    if (data == MAP_FAILED || ::ftruncate(fd, page) != 0) {
        return 2;
    }
    volatile unsigned char sink = 0;
    auto readPastTheCut = [&] { sink = data[2 * page]; };
    // A fault caught inside its guard first, so that the guard's handler is in place.
    if (tallivo::RunGuarded(data + 2 * page, 1, readPastTheCut)) {
        return 2;
    }
    if (std::strcmp(argv[1], "guarded") == 0) {
        tallivo::RunGuarded(data, std::size_t(page), readPastTheCut);
    } else {
        readPastTheCut();
    }
    return 0;
}
