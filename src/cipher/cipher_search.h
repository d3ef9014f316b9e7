#pragma once

#include "language_model.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <span>

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

// Scores candidate plaintexts by their quadgrams, as LanguageModel::QuadgramScore, in the
// searches' inner loops.
class QuadgramScorer {
public:
    explicit QuadgramScorer(const LanguageModel& language)
        : table_(language.Quadgrams()) {}

    // Returns the sum of the quadgram log-probabilities of letters (each 0..25).
    double Score(std::span<const std::uint8_t> letters) const {
        float score = 0.0F;
        for (std::size_t i = 3; i < letters.size(); ++i) {
            score +=
                table_[((std::size_t(letters[i - 3]) * 26 + letters[i - 2]) * 26 + letters[i - 1]) *
                           26 +
                       letters[i]];
        }
        return double(score);
    }

private:
    std::span<const float> table_;
};

// Returns a number drawn uniformly from [0, 1) the same way on every platform.
inline double UniformUnit(std::mt19937_64& random) {
    return double(random() >> 11) * 0x1p-53;
}

// Returns a number drawn from 0..n - 1 (n > 0), the same way on every platform.
inline std::size_t UniformBelow(std::mt19937_64& random, std::size_t n) {
    return std::size_t(UniformUnit(random) * double(n));
}

} // namespace tallivo
