#pragma once

#include "letter_tally.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace tallivo {

// Counts a block of text on several threads at once: helper threads start on it at once, the
// caller joins them when it waits (after reading the next block, say). The block is dealt out
// in small pieces, so a thread slowed by other work takes fewer. The tally is the same as one
// thread's, to the letter.
class ParallelTally {
public:
    // Counts on path with threads threads in all: the caller's and threads - 1 helpers.
    ParallelTally(CountPath path, unsigned threads);
    // Counts the block under way, if any, to its end and stops the helpers.
    ~ParallelTally();

    ParallelTally(const ParallelTally&) = delete;
    ParallelTally& operator=(const ParallelTally&) = delete;

    // Starts counting data[0, size) and returns at once; data must stay as it is until Wait
    // returns. One block at a time: Wait for each block before starting the next.
    void Start(const unsigned char* data, std::size_t size);

    // Counts what is left of the block last started, waits for the helpers and returns the
    // block's tally.
    LetterTally Wait();

    // Returns how many counting threads this machine calls for: its hardware threads, at most 8.
    static unsigned MachineThreads();

private:
    // Counts pieces of the block until none is left; returns their tally.
    LetterTally CountPieces();
    void Help(std::stop_token stop);

    CountPath path_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable done_;
    std::uint64_t generation_ = 0;
    unsigned busyHelpers_ = 0;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::atomic<std::size_t> nextPiece_{0};
    LetterTally helped_{};
    std::vector<std::jthread> helpers_;
};

} // namespace tallivo
