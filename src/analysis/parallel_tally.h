#pragma once

#include "letter_tally.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

namespace tallivo {

// Counts a block of text on several threads at once: helper threads start on it at once, the
// caller joins them when it waits (after reading the next block, say). The block is dealt out
// in small pieces, so a thread slowed by other work takes fewer. The tally is the same as one
// thread's, to the letter. Between blocks the helpers keep watching for the next one for a
// moment before they sleep, because waking a sleeping thread can take longer than counting a
// block.
class ParallelTally {
public:
    // Counts on path with threads threads in all: the caller's and threads - 1 helpers.
    ParallelTally(CountPath path, unsigned threads);
    // Counts the block under way, if any, to its end and stops the helpers.
    ~ParallelTally();

    ParallelTally(const ParallelTally&) = delete;
    ParallelTally& operator=(const ParallelTally&) = delete;

    // Starts counting data[0, size) and returns at once; data must stay as it is until Wait
    // returns. One block at a time: Wait for each block before starting the next. A mapped
    // block is read through RunGuarded, so that a file cut shorter cannot end the process.
    void Start(const unsigned char* data, std::size_t size, bool mapped = false);

    // Counts what is left of the block last started, waits for the helpers and returns the
    // block's tally; none when a page of a mapped block could not be read.
    std::optional<LetterTally> Wait();

    // Returns how many threads count: the caller's and the helpers'.
    unsigned Threads() const { return unsigned(helpers_.size()) + 1; }

    // Returns how many counting threads this machine offers this process: the processors it may
    // run on, at most 8.
    static unsigned MachineThreads();

private:
    // What one helper found in the last block.
    struct alignas(64) HelperResult {
        LetterTally tally{};
        bool faulted = false;
    };

    // Counts pieces of the block into tally until none is left; false when a page faulted.
    bool CountPieces(LetterTally& tally);
    void Help(unsigned index);

    CountPath path_;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
    bool started_ = false;
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<unsigned> busyHelpers_{0};
    std::atomic<std::size_t> nextPiece_{0};
    std::vector<HelperResult> results_;
    std::vector<std::thread> helpers_;
};

} // namespace tallivo
