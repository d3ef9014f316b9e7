#include "fault_guard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <setjmp.h>

namespace tallivo {

namespace {

// Where a guarded thread jumps back to, and the range it guards.
struct GuardFrame {
    sigjmp_buf jump;
    std::uintptr_t begin;
    std::size_t size;
};

// The only mutable state outside a count, because a signal handler can reach nothing else: the
// frame of the thread's guarded read, if any, and the SIGBUS handler found when ours was
// installed (written once, before ours can run, and only read afterwards).
thread_local GuardFrame* activeFrame = nullptr;
struct sigaction previousAction {};

void PassOn(int signal, siginfo_t* info, void* context) {
    if ((previousAction.sa_flags & SA_SIGINFO) != 0) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler == SIG_IGN && info->si_code <= 0) {
        return; // sent by a process to a program that ignores it
    }
    if (previousAction.sa_handler == SIG_DFL || previousAction.sa_handler == SIG_IGN) {
        // What would have happened without us: the default action, the end of the process.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        ::sigaction(SIGBUS, &fallback, nullptr);
        ::raise(SIGBUS);
        return;
    }
    previousAction.sa_handler(signal);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    GuardFrame* const frame = activeFrame;
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (frame != nullptr && address >= frame->begin && address - frame->begin < frame->size) {
        siglongjmp(frame->jump, 1);
    }
    PassOn(signal, info, context);
}

void InstallHandlerOnce() {
    static const bool installed = [] {
        // The old handler is read first, so that it is in place before ours can be called.
        ::sigaction(SIGBUS, nullptr, &previousAction);
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        // SA_NODEFER: the jump out of the handler leaves SIGBUS unblocked without saving and
        // restoring the signal mask (a system call) at every guarded read.
        action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, nullptr) == 0;
    }();
    (void)installed;
}

} // namespace

bool RunGuarded(const unsigned char* begin, std::size_t size, void (*work)(void*), void* context) {
    InstallHandlerOnce();
    GuardFrame frame;
    frame.begin = reinterpret_cast<std::uintptr_t>(begin);
    frame.size = size;
    GuardFrame* const outer = activeFrame;
    if (sigsetjmp(frame.jump, 0) != 0) {
        activeFrame = outer;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        return false;
    }
    activeFrame = &frame;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    work(context);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    activeFrame = outer;
    return true;
}

} // namespace tallivo
