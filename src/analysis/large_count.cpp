#include "large_count.h"

#include "analysis_error.h"
#include "fault_guard.h"
#include "parallel_tally.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

#include <sys/resource.h>

namespace tallivo {

namespace {

constexpr std::size_t kBlock = kReadBufferSize;

// The tuner measures and chooses a way for every stretch of this size: short enough that a slow
// way tried costs little, long enough that the helpers' start and finish are a small part of it.
// Stretches begin on a block.
constexpr std::size_t kStretch = 2 * kBlock;

// The mapped stretches counted are let go of together once they reach this size.
constexpr std::size_t kReleaseRun = 32 * kStretch;

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Returns how many times the calling thread has had to give way to another before its time.
long Preemptions() {
#ifdef RUSAGE_THREAD
    struct rusage usage {};
    if (::getrusage(RUSAGE_THREAD, &usage) == 0) {
        return usage.ru_nivcsw;
    }
#endif
    return 0;
}

// One large count: its state from the first stretch to the last.
class LargeCount {
public:
    LargeCount(const LargeText& text, CountPath path, std::vector<CountWay> ways,
               std::vector<std::int32_t>& LetterCounts, std::int32_t& TotalLetters,
               const ReadObserver& observer, const PrefixSink& prefix);

    void Run();

private:
    void CountStretch(const CountWay& way, std::size_t begin, std::size_t end);
    void CountMapped(std::size_t begin, std::size_t end, unsigned threads);
    void CountRead(std::size_t begin, std::size_t end, unsigned threads);
    // Counts a block read into a buffer, and everything that follows from it.
    void CountCopied(const unsigned char* data, std::size_t begin, std::size_t end,
                     unsigned threads);
    void HandOnMapped(std::size_t begin, std::size_t end);
    void HandOn(const unsigned char* data, std::size_t size);
    // Adds the tally of [begin, end) and tells the observer of every block's end in it.
    void Finish(const LetterTally& tally, std::size_t begin, std::size_t end);
    [[noreturn]] void FailCut() const;
    // Sets up the first count buffers, as those that read need them.
    void PrepareBuffers(int count);
    ParallelTally& Workers();

    const LargeText& text_;
    CountPath path_;
    CountTuner tuner_;
    unsigned threads_ = 1;
    std::vector<std::int32_t>& counts_;
    std::int32_t& total_;
    const ReadObserver& observer_;
    const PrefixSink& prefix_;
    std::size_t handed_ = 0;
    std::size_t released_ = 0; // where the mapped stretches not yet let go of begin
    std::vector<unsigned char> prefixCopy_;
    std::unique_ptr<BlockBuffer> buffers_[2]; // for the ways that read: one, two with helpers
    int reading_ = 0;
    // The end of a block read ahead by the last stretch into buffers_[reading_], the first
    // block of the next; no more than where the next stretch begins when there is none.
    std::size_t pendingEnd_ = 0;
    // Last, so that it goes first: helpers may still be counting a buffer or the mapping.
    std::unique_ptr<ParallelTally> workers_;
};

LargeCount::LargeCount(const LargeText& text, CountPath path, std::vector<CountWay> ways,
                       std::vector<std::int32_t>& LetterCounts, std::int32_t& TotalLetters,
                       const ReadObserver& observer, const PrefixSink& prefix)
    : text_(text)
    , path_(path)
    , tuner_(ways, kStretch)
    , counts_(LetterCounts)
    , total_(TotalLetters)
    , observer_(observer)
    , prefix_(prefix) {
    for (const CountWay& way : ways) {
        threads_ = std::max(threads_, way.threads);
    }
}

void LargeCount::Run() {
    for (std::size_t begin = 0; begin < text_.size;) {
        const CountWay way = tuner_.Next();
        // Set up before the clock: once a count, not a cost of the way.
        if (way.threads > 1) {
            Workers();
        }
        if (!way.mapped) {
            PrepareBuffers(way.threads > 1 ? 2 : 1);
        }
        // A block read ahead by the last stretch is counted first, on top of the stretch.
        const std::size_t from = std::max(pendingEnd_, begin);
        const std::size_t end = std::min(text_.size, from + kStretch);
        // A helper woken on the caller's processor preempts it too: only the calling thread
        // alone is known to have given way to another program.
        const bool alone = way.threads == 1;
        const long preempted = alone ? Preemptions() : 0;
        const double start = Seconds();
        CountStretch(way, begin, end);
        const double seconds = Seconds() - start;
        tuner_.Record(end - begin, seconds, alone && Preemptions() != preempted);
        begin = end;
    }
}

void LargeCount::CountStretch(const CountWay& way, std::size_t begin, std::size_t end) {
    if (pendingEnd_ > begin) {
        CountCopied(buffers_[reading_]->data(), begin, pendingEnd_, way.threads);
        begin = pendingEnd_;
    }
    if (begin >= end) {
        return;
    }
    if (way.mapped) {
        CountMapped(begin, end, way.threads);
    } else {
        CountRead(begin, end, way.threads);
    }
}

void LargeCount::CountMapped(std::size_t begin, std::size_t end, unsigned threads) {
    const unsigned char* data = text_.bytes + begin;
    const std::size_t size = end - begin;
    LetterTally tally{};
    if (threads > 1) {
        Workers().Start(data, size, text_.mapping != nullptr);
        const std::optional<LetterTally> counted = workers_->Wait();
        if (!counted) {
            FailCut();
        }
        tally = *counted;
    } else {
        auto count = [&] { TallyLetters(path_, data, size, tally); };
        if (text_.mapping == nullptr) {
            count();
        } else if (!RunGuarded(data, size, count)) {
            FailCut();
        }
    }
    HandOnMapped(begin, end);
    // Let go of in large runs: each release interrupts the helpers' processors to flush what
    // they remember of the page tables, which, stretch by stretch, costs more than it saves.
    if (text_.mapping != nullptr && end - released_ >= kReleaseRun) {
        text_.mapping->Release(released_, end - released_);
        released_ = end;
    }
    Finish(tally, begin, end);
}

void LargeCount::CountRead(std::size_t begin, std::size_t end, unsigned threads) {
    std::size_t blockEnd = std::min(end, begin + kBlock);
    text_.file->ReadAt(buffers_[reading_]->data(), blockEnd - begin, begin);
    while (begin < end) {
        const unsigned char* data = buffers_[reading_]->data();
        if (threads > 1) {
            // The helpers count this block while the next is read into the other buffer, the
            // first of the next stretch included.
            Workers().Start(data, blockEnd - begin);
            reading_ = 1 - reading_;
            const std::size_t nextEnd = std::min(text_.size, blockEnd + kBlock);
            if (blockEnd < nextEnd) {
                text_.file->ReadAt(buffers_[reading_]->data(), nextEnd - blockEnd, blockEnd);
            }
            const LetterTally tally = *workers_->Wait();
            HandOn(data, blockEnd - begin);
            Finish(tally, begin, blockEnd);
            if (blockEnd >= end) {
                pendingEnd_ = nextEnd;
                return;
            }
            begin = blockEnd;
            blockEnd = nextEnd;
        } else {
            CountCopied(data, begin, blockEnd, 1);
            begin = blockEnd;
            blockEnd = std::min(end, begin + kBlock);
            if (begin < end) {
                text_.file->ReadAt(buffers_[reading_]->data(), blockEnd - begin, begin);
            }
        }
    }
}

void LargeCount::CountCopied(const unsigned char* data, std::size_t begin, std::size_t end,
                             unsigned threads) {
    LetterTally tally{};
    if (threads > 1) {
        Workers().Start(data, end - begin);
        tally = *workers_->Wait();
    } else {
        TallyLetters(path_, data, end - begin, tally);
    }
    HandOn(data, end - begin);
    Finish(tally, begin, end);
}

void LargeCount::HandOnMapped(std::size_t begin, std::size_t end) {
    if (!prefix_.sink || handed_ >= prefix_.limit) {
        return;
    }
    const std::size_t size = std::min(end - begin, prefix_.limit - handed_);
    if (text_.mapping == nullptr) {
        HandOn(text_.bytes + begin, size);
        return;
    }
    // Copied out first: the sink reads them outside the guard.
    prefixCopy_.resize(size);
    auto copy = [this, begin, size] { std::copy_n(text_.bytes + begin, size, prefixCopy_.data()); };
    if (!RunGuarded(text_.bytes + begin, size, copy)) {
        FailCut();
    }
    HandOn(prefixCopy_.data(), size);
}

void LargeCount::HandOn(const unsigned char* data, std::size_t size) {
    if (!prefix_.sink || handed_ >= prefix_.limit) {
        return;
    }
    const std::size_t part = std::min(size, prefix_.limit - handed_);
    prefix_.sink(data, part);
    handed_ += part;
}

void LargeCount::Finish(const LetterTally& tally, std::size_t begin, std::size_t end) {
    AddTally(tally, counts_, total_);
    if (!observer_) {
        return;
    }
    while (begin < end) {
        begin = std::min(end, begin + kBlock);
        if (!observer_(begin)) {
            throw AnalysisFailure(AnalysisError::Cancelled, text_.name);
        }
    }
}

void LargeCount::FailCut() const {
    throw AnalysisFailure(AnalysisError::ReadError, text_.name + ": cut shorter while read");
}

void LargeCount::PrepareBuffers(int count) {
    for (int which = 0; which < count; ++which) {
        if (!buffers_[which]) {
            buffers_[which] = std::make_unique<BlockBuffer>(kBlock, BlockBuffer::Pages::AllAtOnce);
            // Under some hypervisors the system's first write to a page costs many times the
            // next ones: a read made here.
            text_.file->ReadAt(buffers_[which]->data(), kBlock, 0);
        }
    }
}

ParallelTally& LargeCount::Workers() {
    if (!workers_) {
        workers_ = std::make_unique<ParallelTally>(path_, threads_);
    }
    return *workers_;
}

} // namespace

std::vector<CountWay> CountWays(const LargeText& text, unsigned threads) {
    std::vector<unsigned> counts{1};
    if (threads > 1) {
        counts.push_back(threads);
    }
    std::vector<CountWay> ways;
    for (const unsigned count : counts) {
        if (text.bytes != nullptr) {
            ways.push_back({true, count});
        }
        if (text.file != nullptr) {
            ways.push_back({false, count});
        }
    }
    return ways;
}

void CountLargeText(const LargeText& text, CountPath path, std::vector<CountWay> ways,
                    std::vector<std::int32_t>& LetterCounts, std::int32_t& TotalLetters,
                    const ReadObserver& observer, const PrefixSink& prefix) {
    LargeCount(text, path, std::move(ways), LetterCounts, TotalLetters, observer, prefix).Run();
}

} // namespace tallivo
