#include "parallel_tally.h"

#include "fault_guard.h"

#include <algorithm>
#include <chrono>

#ifdef __linux__
#include <sched.h>
#endif

namespace tallivo {

namespace {

// A block read into a buffer is dealt out in pieces of this size; each starts on a cache line.
constexpr std::size_t kPiece = std::size_t{64} << 10;
// A mapped file is dealt out in larger pieces: threads that fault in pages side by side contend
// for the same page tables, and are nearly twice as slow.
constexpr std::size_t kMappedPiece = std::size_t{1} << 20;

// How long a thread keeps looking for a change before it sleeps until told.
constexpr std::chrono::microseconds kWatch{500};

void Add(LetterTally& sum, const LetterTally& tally) {
    for (int letter = 0; letter < kLetterCount; ++letter) {
        sum[letter] += tally[letter];
    }
}

// Returns once value is no longer old: looks again and again (giving way to other threads)
// for a moment, then sleeps until notified.
template <typename T> T AwaitChange(const std::atomic<T>& value, T old) {
    const auto until = std::chrono::steady_clock::now() + kWatch;
    T now = value.load(std::memory_order_acquire);
    while (now == old && std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
        now = value.load(std::memory_order_acquire);
    }
    while (now == old) {
        value.wait(old, std::memory_order_acquire);
        now = value.load(std::memory_order_acquire);
    }
    return now;
}

} // namespace

ParallelTally::ParallelTally(CountPath path, unsigned threads)
    : path_(path)
    , results_(std::max(threads, 1U) - 1) {
    for (unsigned i = 1; i < threads; ++i) {
        helpers_.emplace_back([this, i] { Help(i - 1); });
    }
}

ParallelTally::~ParallelTally() {
    // The block's data may go with the caller: it is counted to the end first.
    Wait();
    stopping_.store(true, std::memory_order_relaxed);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

unsigned ParallelTally::MachineThreads() {
    unsigned processors = std::thread::hardware_concurrency();
#ifdef __linux__
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        processors = unsigned(CPU_COUNT(&allowed));
    }
#endif
    return std::clamp(processors, 1U, 8U);
}

void ParallelTally::Start(const unsigned char* data, std::size_t size, bool mapped) {
    data_ = data;
    size_ = size;
    mapped_ = mapped;
    started_ = true;
    nextPiece_.store(0, std::memory_order_relaxed);
    busyHelpers_.store(unsigned(helpers_.size()), std::memory_order_relaxed);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
}

bool ParallelTally::CountPieces(LetterTally& tally) {
    const std::size_t piece = mapped_ ? kMappedPiece : kPiece;
    auto count = [this, &tally, piece] {
        for (;;) {
            const std::size_t begin = piece * nextPiece_.fetch_add(1, std::memory_order_relaxed);
            if (begin >= size_) {
                return;
            }
            TallyLetters(path_, data_ + begin, std::min(piece, size_ - begin), tally);
        }
    };
    if (!mapped_) {
        count();
        return true;
    }
    if (RunGuarded(data_, size_, count)) {
        return true;
    }
    // The others need not count what is lost anyway.
    nextPiece_.store(size_ / piece + 1, std::memory_order_relaxed);
    return false;
}

std::optional<LetterTally> ParallelTally::Wait() {
    if (!started_) {
        return LetterTally{};
    }
    started_ = false;
    LetterTally tally{};
    bool faulted = !CountPieces(tally);
    for (unsigned busy = busyHelpers_.load(std::memory_order_acquire); busy != 0;) {
        busy = AwaitChange(busyHelpers_, busy);
    }
    for (const HelperResult& result : results_) {
        Add(tally, result.tally);
        faulted = faulted || result.faulted;
    }
    if (faulted) {
        return std::nullopt;
    }
    return tally;
}

void ParallelTally::Help(unsigned index) {
    HelperResult& result = results_[index];
    std::uint64_t seen = 0;
    for (;;) {
        seen = AwaitChange(generation_, seen);
        if (stopping_.load(std::memory_order_relaxed)) {
            return;
        }
        result.tally = {};
        result.faulted = !CountPieces(result.tally);
        if (busyHelpers_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            busyHelpers_.notify_all();
        }
    }
}

} // namespace tallivo
