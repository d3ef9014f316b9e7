#include "letter_tally.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TALLIVO_X86 1
#endif

namespace tallivo {

namespace {

// Four histograms used in turn break the store-to-load chains of repeated bytes;
// each sees at most a quarter of a chunk, so 32-bit entries cannot overflow.
void TallyPortable(const unsigned char* data, std::size_t size, LetterTally& tally) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    constexpr int kTables = 4;
    std::array<std::array<std::uint32_t, 256>, kTables> tables;
    while (size > 0) {
        const std::size_t length = std::min(size, kChunk);
        for (auto& table : tables) {
            table.fill(0);
        }
        std::size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            ++tables[0][word & 0xff];
            ++tables[1][(word >> 8) & 0xff];
            ++tables[2][(word >> 16) & 0xff];
            ++tables[3][(word >> 24) & 0xff];
            ++tables[0][(word >> 32) & 0xff];
            ++tables[1][(word >> 40) & 0xff];
            ++tables[2][(word >> 48) & 0xff];
            ++tables[3][word >> 56];
        }
        for (; i < length; ++i) {
            ++tables[0][data[i]];
        }
        for (int letter = 0; letter < kLetterCount; ++letter) {
            for (const auto& table : tables) {
                tally[letter] += table['a' + letter] + table['A' + letter];
            }
        }
        data += length;
        size -= length;
    }
}

#ifdef TALLIVO_X86

// The vector paths keep one byte counter per letter and lane, over a stretch of at most 255
// vectors so that no counter wraps, then add the lanes up. Setting bit 5 folds A..Z onto a..z
// and maps no other byte into a..z. The letters go in four groups of six or seven, one pass
// over the stretch (still in the L1 cache) each: a group's counters and letter constants then
// stay in registers.
constexpr std::size_t kStretch = 255;

// Counts letters First..First+Count-1 over nvec 32-byte vectors.
template <int First, int Count>
__attribute__((target("avx2"))) void TallyGroupAvx2(const unsigned char* data, std::size_t nvec,
                                                    LetterTally& tally) {
    const __m256i caseBit = _mm256_set1_epi8(0x20);
    __m256i counters[Count];
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        counters[k] = _mm256_setzero_si256();
    }
    for (std::size_t v = 0; v < nvec; ++v) {
        const __m256i bytes = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 32 * v)), caseBit);
#pragma GCC unroll 8
        for (int k = 0; k < Count; ++k) {
            const __m256i hit = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(char('a' + First + k)));
            counters[k] = _mm256_sub_epi8(counters[k], hit);
        }
    }
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        alignas(32) std::uint64_t sums[4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(sums),
                           _mm256_sad_epu8(counters[k], _mm256_setzero_si256()));
        tally[First + k] += sums[0] + sums[1] + sums[2] + sums[3];
    }
}

__attribute__((target("avx2"))) void TallyAvx2(const unsigned char* data, std::size_t size,
                                               LetterTally& tally) {
    std::size_t nvec = size / 32;
    while (nvec > 0) {
        const std::size_t count = std::min(nvec, kStretch);
        TallyGroupAvx2<0, 7>(data, count, tally);
        TallyGroupAvx2<7, 7>(data, count, tally);
        TallyGroupAvx2<14, 6>(data, count, tally);
        TallyGroupAvx2<20, 6>(data, count, tally);
        data += 32 * count;
        size -= 32 * count;
        nvec -= count;
    }
    TallyPortable(data, size, tally);
}

// Counts letters First..First+Count-1 over nvec 64-byte vectors: a compare into a mask and a
// masked increment per letter.
template <int First, int Count>
__attribute__((target("avx512f,avx512bw"))) void
TallyGroupAvx512(const unsigned char* data, std::size_t nvec, LetterTally& tally) {
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i one = _mm512_set1_epi8(1);
    __m512i counters[Count];
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        counters[k] = _mm512_setzero_si512();
    }
    for (std::size_t v = 0; v < nvec; ++v) {
        const __m512i bytes = _mm512_or_si512(_mm512_loadu_si512(data + 64 * v), caseBit);
#pragma GCC unroll 8
        for (int k = 0; k < Count; ++k) {
            const __mmask64 hit =
                _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(char('a' + First + k)));
            counters[k] = _mm512_mask_add_epi8(counters[k], hit, counters[k], one);
        }
    }
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        alignas(64) std::uint64_t sums[8];
        _mm512_store_si512(sums, _mm512_sad_epu8(counters[k], _mm512_setzero_si512()));
        for (const std::uint64_t sum : sums) {
            tally[First + k] += sum;
        }
    }
}

__attribute__((target("avx512f,avx512bw"))) void TallyAvx512(const unsigned char* data,
                                                             std::size_t size, LetterTally& tally) {
    std::size_t nvec = size / 64;
    while (nvec > 0) {
        const std::size_t count = std::min(nvec, kStretch);
        TallyGroupAvx512<0, 7>(data, count, tally);
        TallyGroupAvx512<7, 7>(data, count, tally);
        TallyGroupAvx512<14, 6>(data, count, tally);
        TallyGroupAvx512<20, 6>(data, count, tally);
        data += 64 * count;
        size -= 64 * count;
        nvec -= count;
    }
    TallyPortable(data, size, tally);
}

#endif

} // namespace

std::vector<CountPath> SupportedCountPaths() {
    std::vector<CountPath> paths{CountPath::Portable};
#ifdef TALLIVO_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(CountPath::Avx2);
    }
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
        paths.push_back(CountPath::Avx512);
    }
#endif
    return paths;
}

CountPath FastestCountPath() {
    return SupportedCountPaths().back();
}

std::string_view CountPathName(CountPath path) {
    switch (path) {
    case CountPath::Portable:
        return "portable";
    case CountPath::Avx2:
        return "avx2";
    case CountPath::Avx512:
        return "avx512bw";
    }
    return "unknown";
}

void TallyLetters(CountPath path, const unsigned char* data, std::size_t size, LetterTally& tally) {
    switch (path) {
#ifdef TALLIVO_X86
    case CountPath::Avx2:
        TallyAvx2(data, size, tally);
        return;
    case CountPath::Avx512:
        TallyAvx512(data, size, tally);
        return;
#endif
    default:
        TallyPortable(data, size, tally);
        return;
    }
}

} // namespace tallivo
