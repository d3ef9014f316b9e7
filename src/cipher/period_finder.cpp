#include "period_finder.h"

#include <algorithm>
#include <cmath>

namespace tallivo {

namespace {

// How many standard deviations of random letters a period must stand above them to be
// taken, and to be taken as clear.
constexpr double kTaken = 4.5;
constexpr double kClear = 6.0;
// Of the best period's strength (at most 1), the share a smaller period must reach to win: a
// period whose columns each mix two alphabets of a longer keyword (4 for KUMU, its U twice)
// reaches about three quarters of it.
constexpr double kShareOfBest = 0.85;
// The gap to the runner-up that makes an answer clear, in strength.
constexpr double kClearGap = 0.3;
// Fewer letters a column than this tell nothing.
constexpr double kFewestPerColumn = 3.0;
// The Kasiski examination counts once it has this many distances; then a clear period must
// divide more of them than chance would, by this share of the rest.
constexpr std::uint64_t kFewestDistances = 20;
constexpr double kKasiskiSupport = 0.1;

// How far a period's share of the distances stands above chance, from 0 (chance) to 1 (all).
double KasiskiExcess(const PeriodCandidate& c, std::uint64_t distances) {
    if (c.period < 2 || distances < kFewestDistances) {
        return 0.0;
    }
    const double chance = 1.0 / c.period;
    return (c.kasiskiShare - chance) / (1.0 - chance);
}

} // namespace

PeriodFinding FindPeriod(const std::vector<double>& coincidences, const KasiskiExamination& kasiski,
                         std::uint64_t letters, double languageCoincidence) {
    PeriodFinding finding;
    finding.languageCoincidence = languageCoincidence;
    const double random = finding.randomCoincidence;
    const double span = std::max(languageCoincidence - random, 1e-6);

    std::vector<PeriodCandidate> weighed;
    for (std::size_t i = 0; i < coincidences.size(); ++i) {
        const int period = int(i) + 1;
        const double perColumn = double(letters) / period;
        if (perColumn < kFewestPerColumn) {
            break;
        }
        PeriodCandidate candidate;
        candidate.period = period;
        candidate.coincidence = coincidences[i];
        candidate.strength = (coincidences[i] - random) / span;
        // For random letters a column's pairs agree independently, each with chance 1/26.
        const double columnVariance = 2.0 * random * (1.0 - random) / (perColumn * (perColumn - 1));
        candidate.noise = std::sqrt(columnVariance / period) / span;
        candidate.kasiskiShare = kasiski.distances > 0 && i < kasiski.divided.size()
                                     ? double(kasiski.divided[i]) / double(kasiski.distances)
                                     : 0.0;
        weighed.push_back(candidate);
    }
    if (weighed.empty()) {
        return finding;
    }

    const auto credible = [](const PeriodCandidate& c) {
        return c.strength >= kPeriodFloor && c.strength >= kTaken * c.noise;
    };
    // Strength less twice its noise: long periods, with few letters a column, often show a
    // strength past the language's by chance alone.
    const auto sure = [](const PeriodCandidate& c) { return c.strength - 2.0 * c.noise; };
    double best = 0.0;
    for (const PeriodCandidate& c : weighed) {
        if (credible(c)) {
            best = std::max(best, std::min(sure(c), 1.0));
        }
    }
    finding.threshold = std::max(kPeriodFloor, kShareOfBest * best);
    const auto chosen = std::find_if(weighed.begin(), weighed.end(), [&](const PeriodCandidate& c) {
        return credible(c) && c.strength >= finding.threshold;
    });
    const int period = chosen == weighed.end() ? 0 : chosen->period;

    double runnerUp = -1e9;
    for (const PeriodCandidate& c : weighed) {
        if ((period == 0 || c.period % period != 0) && sure(c) > runnerUp) {
            runnerUp = sure(c);
            finding.runnerUp = c.strength;
        }
    }

    if (period != 0) {
        finding.period = period;
        // The multiples in the table must look like the language too.
        bool multiplesAgree = true;
        for (const PeriodCandidate& c : weighed) {
            if (c.period != period && c.period % period == 0 && sure(c) < kPeriodFloor - 0.2) {
                multiplesAgree = false;
            }
        }
        const bool kasiskiAgrees = period == 1 || kasiski.distances < kFewestDistances ||
                                   KasiskiExcess(*chosen, kasiski.distances) >= kKasiskiSupport;
        const bool clear = chosen->strength >= kClear * chosen->noise &&
                           sure(*chosen) - runnerUp >= kClearGap && multiplesAgree && kasiskiAgrees;
        finding.certainty = clear ? PeriodCertainty::Clear : PeriodCertainty::Probable;
    }

    // The candidates: the period taken first, then by strength with the Kasiski excess added,
    // the smaller period on a tie; a multiple of a candidate already listed adds nothing.
    const std::uint64_t distances = kasiski.distances;
    std::stable_sort(weighed.begin(), weighed.end(),
                     [period, distances](const PeriodCandidate& a, const PeriodCandidate& b) {
                         if ((a.period == period) != (b.period == period)) {
                             return a.period == period;
                         }
                         return a.strength + KasiskiExcess(a, distances) >
                                b.strength + KasiskiExcess(b, distances);
                     });
    constexpr std::size_t kListed = 8;
    for (const PeriodCandidate& c : weighed) {
        if (finding.candidates.size() == kListed) {
            break;
        }
        const bool multiple = std::any_of(
            finding.candidates.begin(), finding.candidates.end(), [&c](const PeriodCandidate& x) {
                return c.period % x.period == 0 && x.strength >= kPeriodFloor;
            });
        if (!multiple) {
            finding.candidates.push_back(c);
        }
    }
    return finding;
}

} // namespace tallivo
