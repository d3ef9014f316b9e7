#pragma once

#include "letter_tally.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallivo {

// One n-gram and how often it occurs.
struct NGram {
    std::string letters; // upper case, e.g. "TH"
    std::uint64_t count = 0;
};

// Counts the letters, bigrams and trigrams of a text given in pieces, over the stream of its
// letters a..z alone, case folded: every other byte is skipped, so "ab, c" holds the bigrams
// AB and BC. Pieces may split the text anywhere.
class NGramCounter {
public:
    NGramCounter();

    // Adds the next piece of the text.
    void Add(const unsigned char* data, std::size_t size);

    // Returns the letters counted so far (index 0 = a).
    LetterTally Letters() const;

    // Returns the number of n-grams of length n (1 to 3) seen so far: letters - n + 1, or 0.
    std::uint64_t Total(int n) const;

    // Returns up to limit of the commonest n-grams of length n (2 or 3), by count descending,
    // ties in alphabetical order.
    std::vector<NGram> Commonest(int n, std::size_t limit) const;

private:
    // Moves the 32-bit counts into the 64-bit ones before they could wrap.
    void Fold();

    // Counted in 32 bits, which keeps the tables in the faster caches, and folded into 64 bits
    // at least every 2^32 - 1 letters.
    std::vector<std::uint32_t> bigrams_;  // 26 * 26, index first * 26 + second
    std::vector<std::uint32_t> trigrams_; // 26 * 26 * 26
    std::vector<std::uint64_t> bigramTotals_;
    std::vector<std::uint64_t> trigramTotals_;
    std::uint64_t sinceFold_ = 0;
    std::uint32_t previous_ = 0;       // the last two letters, as first * 26 + second
    std::uint64_t seen_ = 0;           // letters seen
    std::vector<std::uint8_t> stream_; // the last two letters, then those of the piece
};

} // namespace tallivo
