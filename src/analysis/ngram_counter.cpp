#include "ngram_counter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// Room a vector path may write past the letters it keeps.
constexpr std::size_t kSlack = 64;

// Writes the letter indexes of data's letters to out, in order; returns how many.
std::size_t CompactLettersPortable(const unsigned char* data, std::size_t size, std::uint8_t* out) {
    std::size_t letters = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t index = kLetterIndex[data[i]];
        out[letters] = index; // written always, kept only for a letter: no branch
        letters += index != kNotALetter;
    }
    return letters;
}

#if defined(__x86_64__)
// The same 64 bytes at a time: bit 5 folds A..Z onto a..z, a subtraction makes the letters
// 0..25 and everything else 26 or more, and one compress keeps the letters. Writes up to
// kSlack bytes past the letters it returns.
__attribute__((target("avx512f,avx512bw,avx512vbmi2"))) std::size_t
CompactLettersAvx512(const unsigned char* data, std::size_t size, std::uint8_t* out) {
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i firstLetter = _mm512_set1_epi8('a');
    const __m512i letterCount = _mm512_set1_epi8(kLetterCount);
    std::size_t letters = 0;
    std::size_t i = 0;
    for (; i + 64 <= size; i += 64) {
        const __m512i index =
            _mm512_sub_epi8(_mm512_or_si512(_mm512_loadu_si512(data + i), caseBit), firstLetter);
        const __mmask64 isLetter = _mm512_cmplt_epu8_mask(index, letterCount);
        _mm512_storeu_si512(out + letters, _mm512_maskz_compress_epi8(isLetter, index));
        letters += std::size_t(__builtin_popcountll(isLetter));
    }
    return letters + CompactLettersPortable(data + i, size - i, out + letters);
}
#endif

using CompactFunction = std::size_t (*)(const unsigned char*, std::size_t, std::uint8_t*);

CompactFunction ChooseCompaction() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi2")) {
        return CompactLettersAvx512;
    }
#endif
    return CompactLettersPortable;
}

} // namespace

NGramCounter::NGramCounter()
    : bigrams_(kLetterCount * kLetterCount, 0)
    , trigrams_(kLetterCount * kLetterCount * kLetterCount, 0)
    , bigramTotals_(bigrams_.size(), 0)
    , trigramTotals_(trigrams_.size(), 0) {}

void NGramCounter::Fold() {
    for (std::size_t i = 0; i < bigrams_.size(); ++i) {
        bigramTotals_[i] += std::exchange(bigrams_[i], 0);
    }
    for (std::size_t i = 0; i < trigrams_.size(); ++i) {
        trigramTotals_[i] += std::exchange(trigrams_[i], 0);
    }
    sinceFold_ = 0;
}

void NGramCounter::Add(const unsigned char* data, std::size_t size) {
    // A piece bigger than the 32-bit counters can take goes in parts.
    constexpr std::size_t kLargest = std::size_t{1} << 30;
    for (; size > kLargest; data += kLargest, size -= kLargest) {
        Add(data, kLargest);
    }
    if (sinceFold_ + size > UINT32_MAX) {
        Fold();
    }
    sinceFold_ += size;
    // The piece's letters alone, after the last two letters of the pieces before it; then the
    // n-grams over them, each index from its own letters so that no step waits for the last.
    stream_.resize(size + 2 + kSlack);
    stream_[0] = std::uint8_t(previous_ / kLetterCount);
    stream_[1] = std::uint8_t(previous_ % kLetterCount);
    static const CompactFunction compact = ChooseCompaction();
    const std::size_t end = 2 + compact(data, size, stream_.data() + 2);
    const std::uint8_t* letters = stream_.data();
    // The first two letters of the whole text end no trigram, the first no bigram.
    std::size_t i = 2;
    for (; i < end && seen_ + (i - 2) < 2; ++i) {
        if (seen_ + (i - 2) == 1) {
            ++bigrams_[letters[i - 1] * kLetterCount + letters[i]];
        }
    }
    for (; i < end; ++i) {
        const std::uint32_t pair = letters[i - 1] * kLetterCount + letters[i];
        ++bigrams_[pair];
        ++trigrams_[letters[i - 2] * (kLetterCount * kLetterCount) + pair];
    }
    if (end >= 4) {
        previous_ = letters[end - 2] * kLetterCount + letters[end - 1];
    } else if (end == 3) {
        previous_ = (previous_ % kLetterCount) * kLetterCount + letters[2];
    }
    seen_ += end - 2;
}

LetterTally NGramCounter::Letters() const {
    // Every letter but the last starts one bigram.
    LetterTally letters{};
    for (int first = 0; first < kLetterCount; ++first) {
        for (int second = 0; second < kLetterCount; ++second) {
            const int index = first * kLetterCount + second;
            letters[first] += bigramTotals_[index] + bigrams_[index];
        }
    }
    if (seen_ > 0) {
        ++letters[previous_ % kLetterCount];
    }
    return letters;
}

std::uint64_t NGramCounter::Total(int n) const {
    return seen_ >= std::uint64_t(n) ? seen_ - std::uint64_t(n) + 1 : 0;
}

std::vector<NGram> NGramCounter::Commonest(int n, std::size_t limit) const {
    const std::vector<std::uint32_t>& recent = n == 2 ? bigrams_ : trigrams_;
    std::vector<std::uint64_t> counts = n == 2 ? bigramTotals_ : trigramTotals_;
    std::vector<std::uint32_t> order;
    for (std::uint32_t index = 0; index < counts.size(); ++index) {
        counts[index] += recent[index];
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
