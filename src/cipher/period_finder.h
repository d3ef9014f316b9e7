#pragma once

#include "key_search.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tallivo {

// How sure the period finder is of its answer.
enum class PeriodCertainty {
    Clear,         // one period stands well above the rest and its multiples agree
    Probable,      // a period reaches the language's level, but by a thin margin
    NoneStandsOut, // no period reaches the language's level: no periodic key, or too few letters
};

// One period as the finder weighs it.
struct PeriodCandidate {
    int period = 0;
    double coincidence = 0.0;  // the average index of coincidence of its columns
    double strength = 0.0;     // the same from random letters (0) to the language (1)
    double noise = 0.0;        // the standard deviation of strength for random letters
    double kasiskiShare = 0.0; // the share of repeat distances it divides; chance is 1/period
};

// The finder's answer: the period, if one stands out, with the figures that decide it, and
// the periods worth trying, best first.
struct PeriodFinding {
    std::optional<int> period;
    PeriodCertainty certainty = PeriodCertainty::NoneStandsOut;
    double languageCoincidence = 0.0;
    double randomCoincidence = 1.0 / 26.0;
    // The strength a period must reach to be taken; the best strength of a period that is not
    // a multiple of the one taken (or of any, with none taken).
    double threshold = 0.0;
    double runnerUp = 0.0;
    std::vector<PeriodCandidate> candidates;
};

// The smallest strength a period must show to be taken as the key's.
inline constexpr double kPeriodFloor = 0.6;

// Finds the period of a periodic key from the period table (coincidences[p - 1] for periods
// 1..n), the Kasiski examination over the same periods and the number of letters. A period is
// taken only if its columns look like the language (strength at least kPeriodFloor and well
// above the noise of random letters), the smallest such as its multiples score as well; its
// divisors, which mix several key letters in a column, fall short.
PeriodFinding FindPeriod(const std::vector<double>& coincidences, const KasiskiExamination& kasiski,
                         std::uint64_t letters, double languageCoincidence);

} // namespace tallivo
