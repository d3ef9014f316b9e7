#include "ngram_counter.h"

#include <algorithm>
#include <array>

namespace tallivo {

namespace {

constexpr std::uint8_t kNotALetter = 0xFF;

// Maps a byte to its letter index 0..25, either case, or to kNotALetter.
constexpr std::array<std::uint8_t, 256> LetterIndexTable() {
    std::array<std::uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[b] = kNotALetter;
    }
    for (int i = 0; i < kLetterCount; ++i) {
        table['a' + i] = std::uint8_t(i);
        table['A' + i] = std::uint8_t(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kLetterIndex = LetterIndexTable();

} // namespace

NGramCounter::NGramCounter()
    : bigrams_(kLetterCount * kLetterCount, 0)
    , trigrams_(kLetterCount * kLetterCount * kLetterCount, 0) {}

void NGramCounter::Add(const unsigned char* data, std::size_t size) {
    // First the piece's letters alone, without a branch per byte; then the n-grams over them.
    stream_.resize(size);
    std::size_t letters = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t index = kLetterIndex[data[i]];
        stream_[letters] = index;
        letters += index != kNotALetter;
    }
    std::size_t i = 0;
    // The first two letters of the whole text start no bigram or trigram of their own.
    for (; i < letters && seen_ + i < 2; ++i) {
        const std::uint32_t letter = stream_[i];
        ++letters_[letter];
        if (seen_ + i == 1) {
            ++bigrams_[previous_ * kLetterCount + letter];
        }
        previous_ = (previous_ * kLetterCount + letter) % (kLetterCount * kLetterCount);
    }
    std::uint32_t previous = previous_;
    for (; i < letters; ++i) {
        const std::uint32_t letter = stream_[i];
        ++letters_[letter];
        ++bigrams_[(previous % kLetterCount) * kLetterCount + letter];
        ++trigrams_[previous * kLetterCount + letter];
        previous = (previous % kLetterCount) * kLetterCount + letter;
    }
    previous_ = previous;
    seen_ += letters;
}

std::uint64_t NGramCounter::Total(int n) const {
    return seen_ >= std::uint64_t(n) ? seen_ - std::uint64_t(n) + 1 : 0;
}

std::vector<NGram> NGramCounter::Commonest(int n, std::size_t limit) const {
    const std::vector<std::uint64_t>& counts = n == 2 ? bigrams_ : trigrams_;
    std::vector<std::uint32_t> order;
    for (std::uint32_t index = 0; index < counts.size(); ++index) {
        if (counts[index] != 0) {
            order.push_back(index);
        }
    }
    // Indexes grow in alphabetical order, so a stable sort by count keeps ties alphabetical.
    std::stable_sort(order.begin(), order.end(),
                     [&counts](std::uint32_t a, std::uint32_t b) { return counts[a] > counts[b]; });
    order.resize(std::min(order.size(), limit));
    std::vector<NGram> commonest;
    for (const std::uint32_t index : order) {
        std::string letters(std::size_t(n), ' ');
        std::uint32_t rest = index;
        for (int k = n - 1; k >= 0; --k) {
            letters[std::size_t(k)] = char('A' + rest % kLetterCount);
            rest /= kLetterCount;
        }
        commonest.push_back({letters, counts[index]});
    }
    return commonest;
}

} // namespace tallivo
