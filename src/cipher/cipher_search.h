#pragma once

#include "language_model.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <vector>

namespace tallivo {

// What the key searches share. A search is a pure function of its ciphertext letters, the
// language and its seed: it runs on whatever thread calls it, reports how far it has gone
// through a callback and stops early, with the best key so far, when asked through its
// std::stop_token.

// Told the share of a search done, 0..1, from the searching thread.
using SearchProgress = std::function<void(double)>;

// A key a search found, with the quadgram score of the plaintext it gives (higher is more
// like the language) and whether the search was stopped before it finished.
template <class Key> struct Found {
    Key key;
    double score = 0.0;
    bool stopped = false;
};

// Scores candidate plaintexts by their quadgrams, as LanguageModel::QuadgramScore does, in the
// searches' inner loops: the log-probabilities are held in thousandths as 16-bit integers, so
// that the table (under 1 MB) stays in the processor's nearer cache and sums are exact.
class QuadgramScorer {
public:
    explicit QuadgramScorer(const LanguageModel& language);

    // Returns the sum of the quadgram log-probabilities of letters (each 0..25).
    double Score(std::span<const std::uint8_t> letters) const {
        return double(Sum(letters)) / kScale;
    }

    // Returns the same in thousandths.
    std::int32_t Sum(std::span<const std::uint8_t> letters) const {
        std::int32_t sum = 0;
        for (std::size_t i = 3; i < letters.size(); ++i) {
            sum +=
                table_[((std::size_t(letters[i - 3]) * 26 + letters[i - 2]) * 26 + letters[i - 1]) *
                           26 +
                       letters[i]];
        }
        return sum;
    }

    static constexpr double kScale = 1000.0;

private:
    std::vector<std::int16_t> table_;
};

// Returns the quadgram score per quadgram that running text of the language shows on average
// (the sum over all quadgrams of probability times log-probability): a plaintext whose score
// per quadgram comes near it reads as the language.
double LanguageQuadgramLevel(const LanguageModel& language);

// Returns a number drawn uniformly from [0, 1) the same way on every platform.
inline double UniformUnit(std::mt19937_64& random) {
    return double(random() >> 11) * 0x1p-53;
}

// Returns a number drawn from 0..n - 1 (n > 0), the same way on every platform.
inline std::size_t UniformBelow(std::mt19937_64& random, std::size_t n) {
    return std::size_t(UniformUnit(random) * double(n));
}

} // namespace tallivo
