#include "parallel_tally.h"

#include <algorithm>

namespace tallivo {

namespace {

// The block is dealt out in pieces of this size; each starts on a cache line.
constexpr std::size_t kPiece = std::size_t{64} << 10;

void Add(LetterTally& sum, const LetterTally& tally) {
    for (int letter = 0; letter < kLetterCount; ++letter) {
        sum[letter] += tally[letter];
    }
}

} // namespace

ParallelTally::ParallelTally(CountPath path, unsigned threads)
    : path_(path) {
    for (unsigned i = 1; i < threads; ++i) {
        helpers_.emplace_back([this](std::stop_token stop) { Help(stop); });
    }
}

ParallelTally::~ParallelTally() {
    // The block's data may go with the caller: it is counted to the end first. The helpers,
    // asked to stop as their threads go, are then joined.
    Wait();
}

unsigned ParallelTally::MachineThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
}

void ParallelTally::Start(const unsigned char* data, std::size_t size) {
    {
        const std::lock_guard lock(mutex_);
        data_ = data;
        size_ = size;
        nextPiece_ = 0;
        helped_ = {};
        busyHelpers_ = unsigned(helpers_.size());
        ++generation_;
    }
    wake_.notify_all();
}

LetterTally ParallelTally::CountPieces() {
    LetterTally tally{};
    for (;;) {
        const std::size_t begin = kPiece * nextPiece_.fetch_add(1);
        if (begin >= size_) {
            return tally;
        }
        TallyLetters(path_, data_ + begin, std::min(kPiece, size_ - begin), tally);
    }
}

LetterTally ParallelTally::Wait() {
    LetterTally tally = data_ != nullptr ? CountPieces() : LetterTally{};
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return busyHelpers_ == 0; });
    Add(tally, helped_);
    data_ = nullptr;
    return tally;
}

void ParallelTally::Help(std::stop_token stop) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this, seen] { return generation_ != seen; })) {
                return; // stopped
            }
            seen = generation_;
        }
        // data_ and size_ stay as they are until every helper has reported.
        const LetterTally tally = CountPieces();
        const std::lock_guard lock(mutex_);
        Add(helped_, tally);
        if (--busyHelpers_ == 0) {
            done_.notify_one();
        }
    }
}

} // namespace tallivo
