#pragma once

#include <cstddef>
#include <vector>

namespace tallivo {

// One way of counting a stretch of a large text.
struct CountWay {
    bool mapped = false;  // straight from the mapped file (or the text in memory), not copied in
    unsigned threads = 1; // counting threads, the caller's among them

    bool operator==(const CountWay&) const = default;
};

// Picks, stretch by stretch, the way of counting that has measured fastest so far in this count,
// so that neither helper threads nor a mapping are used where, on this machine, in this part of
// the file and at this moment, they are slower. Every way is tried once, in the order given; then
// the fastest is kept, and each slower way is tried again once the count has spent kPatience
// times what that try is expected to lose, so that the tries cost a small share of the count and
// a way that has become faster (a processor that became free) is found again. What the first
// kWarmUp stretches show is provisional: the first pages of a file read from disk can be smaller
// than the rest, and costlier to map. A way tried there, and the fastest way once overtaken (by a
// change for a part of the file, or a busy moment), is tried again kRetryAfter stretches later,
// and twice as late each time it is overtaken again before a long run.
// A way with helpers is not tried while the same way alone measures slower
// than the fastest by more than its number of threads: helpers cannot make up for that. A way is
// judged by the faster of its last two tries, so that one slowed-down stretch does not condemn
// it, while the way in use is left after two slow ones, or once the mean of its run of stretches
// is slower than another way: helpers on a machine where other programs run stall now and then,
// a few milliseconds each time a helper gives way, and those stalls are a cost of the way. A
// stretch during which the counting thread alone had to give way to another program says
// nothing of the way, and is not kept.
class CountTuner {
public:
    // Ways must not be empty; stretchBytes is the size of the stretches to be counted.
    CountTuner(std::vector<CountWay> ways, std::size_t stretchBytes);

    // Returns the way for the next stretch.
    const CountWay& Next() const { return ways_[Choose()]; }

    // Records that the stretch counted the way Next gave took seconds for bytes; disturbed: the
    // counting thread was made to give way to another meanwhile.
    void Record(std::size_t bytes, double seconds, bool disturbed = false);

    // A try of a slower way may cost at most this share of the time since its last try.
    static constexpr double kPatience = 400.0;
    // A slower way is tried again at the soonest after this many stretches of the fastest.
    static constexpr double kLeastGap = 4.0;
    // What the first stretches show is provisional.
    static constexpr int kWarmUp = 32;
    // A way measured provisionally is tried again after this many stretches.
    static constexpr int kRetryAfter = 16;
    // A way is judged by a disturbed stretch after this many disturbed stretches in a row.
    static constexpr int kDisturbedInARow = 3;
    // The weight of a stretch in the mean of a run of stretches counted one way.
    static constexpr double kRunWeight = 1.0 / 8;
    // A way overtaken again and again is tried again later each time, up to kRetryAfter times
    // 2^kMostBackOff stretches, until it keeps the lead for kLongRun stretches.
    static constexpr int kMostBackOff = 4;
    static constexpr int kLongRun = 64;

private:
    struct Measure {
        double last = -1.0;           // seconds per byte of the last try; below 0 while untried
        double previous = -1.0;       // of the try before it; below 0 while unconfirmed
        double since = 0.0;           // seconds spent counting other ways since the last try
        int stretchesSince = 0;       // stretches counted other ways since the last try
        bool provisional = false;     // measured in the warm-up, or overtaken
        int disturbed = 0;            // disturbed stretches since the last one kept
        double runMean = -1.0;        // seconds per byte over the stretches of its current run
        int run = 0;                  // stretches in its current run
        int overtaken = 0;            // times overtaken with no long run since
        int retryAfter = kRetryAfter; // stretches before a provisional measure is tried again

        // Returns the seconds per byte the way is judged by.
        double Estimate() const;
    };

    // Returns the index of the way for the next stretch.
    std::size_t Choose() const;
    // Returns the index of the fastest way tried.
    std::size_t Fastest() const;
    // Returns whether way i, with helpers, cannot beat seconds per byte.
    bool Hopeless(std::size_t i, double best) const;

    std::vector<CountWay> ways_;
    std::vector<Measure> measures_;
    std::size_t stretchBytes_;
    int stretches_ = 0;                          // recorded so far
    std::size_t lastRecorded_ = ~std::size_t{0}; // the way of the last stretch kept
};

} // namespace tallivo
