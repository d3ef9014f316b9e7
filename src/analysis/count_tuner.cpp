#include "count_tuner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tallivo {

double CountTuner::Measure::Estimate() const {
    return previous < 0.0 ? last : std::min(last, previous);
}

CountTuner::CountTuner(std::vector<CountWay> ways, std::size_t stretchBytes)
    : ways_(std::move(ways))
    , measures_(ways_.size())
    , stretchBytes_(stretchBytes) {}

std::size_t CountTuner::Fastest() const {
    std::size_t fastest = 0;
    for (std::size_t i = 1; i < measures_.size(); ++i) {
        if (measures_[i].Estimate() < measures_[fastest].Estimate()) {
            fastest = i;
        }
    }
    return fastest;
}

std::size_t CountTuner::Choose() const {
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        if (measures_[i].last < 0.0) {
            return i;
        }
    }
    const std::size_t fastest = Fastest();
    const double best = measures_[fastest].Estimate();
    const double gap = std::max(kLeastGap * double(stretchBytes_) * best, 1e-9);
    std::size_t chosen = fastest;
    double mostOverdue = 1.0;
    for (std::size_t i = 0; i < measures_.size(); ++i) {
        const Measure& measure = measures_[i];
        if (i == fastest) {
            continue;
        }
        const double loss = double(stretchBytes_) * (measure.Estimate() - best);
        // A way tried once is confirmed as soon as its try would have lost no more than it did.
        const double due = std::max(measure.previous < 0.0 ? loss : kPatience * loss, gap);
        if (measure.since >= due * mostOverdue) {
            chosen = i;
            mostOverdue = measure.since / due;
        }
    }
    return chosen;
}

void CountTuner::Record(std::size_t bytes, double seconds, bool disturbed) {
    Measure& used = measures_[Choose()];
    for (Measure& measure : measures_) {
        measure.since += seconds;
    }
    if (disturbed && ++used.disturbed < kDisturbedInARow) {
        return;
    }
    used.disturbed = 0;
    used.since = 0.0;
    used.previous = used.last;
    used.last = seconds / double(std::max<std::size_t>(bytes, 1));
}

} // namespace tallivo
