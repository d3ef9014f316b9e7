#include "count_tuner.h"

#include <algorithm>

namespace tallivo {

double CountTuner::Measure::Estimate() const {
    const double tried = previous < 0.0 ? last : std::min(last, previous);
    return std::max(tried, runMean);
}

CountTuner::CountTuner(std::vector<CountWay> ways, std::size_t stretchBytes)
    : ways_(std::move(ways))
    , measures_(ways_.size())
    , stretchBytes_(stretchBytes) {}

std::size_t CountTuner::Fastest() const {
    std::size_t fastest = measures_.size();
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        if (measures_[i].last >= 0.0 && (fastest == measures_.size() ||
                                         measures_[i].Estimate() < measures_[fastest].Estimate())) {
            fastest = i;
        }
    }
    return fastest;
}

bool CountTuner::Hopeless(std::size_t i, double best) const {
    for (std::size_t alone = 0; alone < ways_.size(); ++alone) {
        if (ways_[i].threads > 1 && ways_[alone].threads == 1 &&
            ways_[alone].mapped == ways_[i].mapped && measures_[alone].last >= 0.0 &&
            measures_[alone].Estimate() > double(ways_[i].threads) * best) {
            return true;
        }
    }
    return false;
}

std::size_t CountTuner::Choose() const {
    const std::size_t fastest = Fastest();
    if (fastest == measures_.size()) {
        return 0;
    }
    const double best = measures_[fastest].Estimate();
    const double stretchSeconds = std::max(double(stretchBytes_) * best, 1e-9);
    std::size_t chosen = fastest;
    double mostOverdue = 1.0;
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        const Measure& measure = measures_[i];
        if (i == fastest || Hopeless(i, best)) {
            continue;
        }
        if (measure.last < 0.0) {
            return i;
        }
        const double loss = double(stretchBytes_) * (measure.Estimate() - best);
        // How far past its next try the way is.
        const double overdue =
            measure.provisional
                ? double(measure.stretchesSince) / measure.retryAfter
                : measure.since / std::max(kPatience * loss, kLeastGap * stretchSeconds);
        if (overdue >= mostOverdue) {
            chosen = i;
            mostOverdue = overdue;
        }
    }
    return chosen;
}

void CountTuner::Record(std::size_t bytes, double seconds, bool disturbed) {
    const std::size_t chosen = Choose();
    const bool wasFastest = chosen == Fastest();
    Measure& used = measures_[chosen];
    ++stretches_;
    for (Measure& measure : measures_) {
        measure.since += seconds;
        ++measure.stretchesSince;
    }
    if (disturbed && ++used.disturbed < kDisturbedInARow) {
        return;
    }
    used.disturbed = 0;
    used.since = 0.0;
    used.stretchesSince = 0;
    used.previous = used.last;
    used.last = seconds / double(std::max<std::size_t>(bytes, 1));
    const bool goesOn = lastRecorded_ == chosen;
    used.runMean = goesOn ? used.runMean + kRunWeight * (used.last - used.runMean) : used.last;
    used.run = goesOn ? used.run + 1 : 1;
    if (used.run >= kLongRun) {
        used.overtaken = 0;
    }
    lastRecorded_ = chosen;
    used.provisional = stretches_ <= kWarmUp;
    used.retryAfter = kRetryAfter;
    if (wasFastest && Fastest() != chosen) {
        // Overtaken, perhaps only for a part of the file or a moment: judged on this try alone.
        used.previous = -1.0;
        used.provisional = true;
        used.retryAfter = kRetryAfter << std::min(used.overtaken, kMostBackOff);
        ++used.overtaken;
    }
}

} // namespace tallivo
