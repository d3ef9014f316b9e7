#include "letter_tally.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TALLIVO_X86 1
#endif
#if defined(__aarch64__)
#include <arm_neon.h>
#define TALLIVO_NEON 1
#endif

namespace tallivo {

namespace {

// The portable path: eight byte histograms used in turn, so that repeated bytes do not wait on
// each other's increments, over 16 bytes a step; each table sees at most an eighth of a chunk of
// 1 GiB, so 32-bit entries cannot overflow. (Compare-and-count in the compiler's generic 16-byte
// vectors measured slower than this on x86-64: SSE2 has no byte shuffle to share a compare.)
constexpr std::size_t kPortableChunk = std::size_t{1} << 30;

void TallyChunks(const unsigned char* data, std::size_t size, std::size_t chunkSize,
                 LetterTally& tally) {
    constexpr int kTables = 8;
    std::array<std::array<std::uint32_t, 256>, kTables> tables;
    while (size > 0) {
        const std::size_t length = std::min(size, chunkSize);
        for (auto& table : tables) {
            table.fill(0);
        }
        std::size_t i = 0;
        for (; i + 16 <= length; i += 16) {
            std::uint64_t words[2];
            std::memcpy(words, data + i, sizeof words);
#pragma GCC unroll 16
            for (int k = 0; k < 16; ++k) {
                ++tables[k % kTables][(words[k / 8] >> (8 * (k % 8))) & 0xff];
            }
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

void TallyPortable(const unsigned char* data, std::size_t size, LetterTally& tally) {
    TallyChunks(data, size, kPortableChunk, tally);
}

#ifdef TALLIVO_X86

// The compare-and-count paths keep one byte counter per letter and lane, over a stretch of at most
// 255 vectors so that no counter wraps, then add the lanes up. Setting bit 5 folds A..Z onto a..z
// and maps no other byte into a..z. The letters go in four groups of six or seven, one pass
// over the stretch (still in the L1 cache) each: a group's counters and letter constants then
// stay in registers.
constexpr std::size_t kStretch = 255;

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

// Fewer instructions per byte: each byte becomes its letter index (26 for anything else), and
// for each group of eight letters a table lookup turns it into one bit, the letter's place in
// the group. In each 8-byte lane an affine transform over GF(2) then transposes the 8 x 8 bits,
// so that byte i holds bit i of every byte, and a byte population count gives how many of the
// eight bytes were letter i of the group: four lookups, transposes, counts and adds serve all
// 26 letters. Byte counters take at most 8 a vector, so they are widened to 16 bits every 31
// vectors, and those are added up every 8184 vectors.
constexpr std::size_t kByteStretch = 31;
constexpr std::size_t kWideStretch = 264 * kByteStretch;

// GCC 12 warns about the deliberately undefined inputs inside its own AVX-512 intrinsics.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512bitalg,gfni"))) void
TallyAvx512Transpose(const unsigned char* data, std::size_t size, LetterTally& tally) {
    alignas(64) std::uint8_t tables[4][64] = {};
    for (int letter = 0; letter < kLetterCount; ++letter) {
        tables[letter / 8][letter] = std::uint8_t(1U << (letter % 8));
    }
    __m512i group[4];
    for (int g = 0; g < 4; ++g) {
        group[g] = _mm512_load_si512(tables[g]);
    }
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i firstLetter = _mm512_set1_epi8('a');
    const __m512i notALetter = _mm512_set1_epi8(kLetterCount);
    // Byte i of each lane picks bit i out of every byte of the other operand's lane.
    const __m512i transpose = _mm512_set1_epi64(0x8040201008040201LL);

    std::size_t nvec = size / 64;
    while (nvec > 0) {
        const std::size_t wide = std::min(nvec, kWideStretch);
        __m512i low[4];
        __m512i high[4];
        for (int g = 0; g < 4; ++g) {
            low[g] = _mm512_setzero_si512();
            high[g] = _mm512_setzero_si512();
        }
        for (std::size_t done = 0; done < wide;) {
            const std::size_t stretch = std::min(wide - done, kByteStretch);
            __m512i counters[4];
            for (int g = 0; g < 4; ++g) {
                counters[g] = _mm512_setzero_si512();
            }
            for (std::size_t v = 0; v < stretch; ++v) {
                const __m512i bytes = _mm512_loadu_si512(data + 64 * (done + v));
                const __m512i index = _mm512_min_epu8(
                    _mm512_sub_epi8(_mm512_or_si512(bytes, caseBit), firstLetter), notALetter);
#pragma GCC unroll 4
                for (int g = 0; g < 4; ++g) {
                    const __m512i bit = _mm512_permutexvar_epi8(index, group[g]);
                    const __m512i columns = _mm512_gf2p8affine_epi64_epi8(transpose, bit, 0);
                    counters[g] = _mm512_add_epi8(counters[g], _mm512_popcnt_epi8(columns));
                }
            }
            for (int g = 0; g < 4; ++g) {
                low[g] = _mm512_add_epi16(
                    low[g], _mm512_cvtepu8_epi16(_mm512_castsi512_si256(counters[g])));
                high[g] = _mm512_add_epi16(
                    high[g], _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(counters[g], 1)));
            }
            done += stretch;
        }
        // Word w of low holds lane w / 8, byte w % 8; of high, lane 4 + w / 8.
        for (int g = 0; g < 4; ++g) {
            alignas(64) std::uint16_t words[2][32];
            _mm512_store_si512(words[0], low[g]);
            _mm512_store_si512(words[1], high[g]);
            for (int half = 0; half < 2; ++half) {
                for (int w = 0; w < 32; ++w) {
                    const int letter = 8 * g + w % 8;
                    if (letter < kLetterCount) {
                        tally[letter] += words[half][w];
                    }
                }
            }
        }
        data += 64 * wide;
        size -= 64 * wide;
        nvec -= wide;
    }
    TallyPortable(data, size, tally);
}
#pragma GCC diagnostic pop

// Positional population count with carry-save adders (Harley-Seal): each byte becomes, per
// group of eight letters, a one-hot byte whose bit k is letter 8g + k (the shuffles of the GFNI
// path), and sixteen such vectors are summed bit by bit into bit-sliced counters (ones, twos,
// fours, eights) with full adders; only the sixteens are counted, bit position by position, with
// a byte-sign mask and a population count. Two groups a pass keep the state in registers.
struct BitSlices {
    __m256i ones, twos, fours, eights;
};

__attribute__((target("avx2"), always_inline)) inline void Add3(__m256i& high, __m256i& low,
                                                                __m256i a, __m256i b, __m256i c) {
    const __m256i u = _mm256_xor_si256(a, b);
    high = _mm256_or_si256(_mm256_and_si256(a, b), _mm256_and_si256(u, c));
    low = _mm256_xor_si256(u, c);
}

// The one-hot byte of each byte of vector v of data for one group: its bit k set where the byte
// is letter k of the group (table holds 1 << k at entry k), no bit for any other byte.
__attribute__((target("avx2"), always_inline)) inline __m256i
OneHot(const unsigned char* data, int v, __m256i table, __m256i caseBit, __m256i first) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 32 * v));
    const __m256i entry = _mm256_adds_epu8(_mm256_sub_epi8(_mm256_or_si256(bytes, caseBit), first),
                                           _mm256_set1_epi8(0x70));
    return _mm256_shuffle_epi8(table, entry);
}

// Adds weight times the number of bytes of v with bit k set, for bits 0..bits-1, to counts.
template <int Bits>
__attribute__((target("avx2,popcnt"), always_inline)) inline void
CountBitPositions(__m256i v, std::uint64_t weight, std::uint64_t* counts) {
#pragma GCC unroll 8
    for (int k = 0; k < Bits; ++k) {
        const auto mask = unsigned(_mm256_movemask_epi8(_mm256_slli_epi16(v, 7 - k)));
        counts[k] += weight * std::uint64_t(__builtin_popcount(mask));
    }
}

template <int FirstGroup, int BitsOfSecond>
__attribute__((target("avx2,popcnt"))) void
TallyTwoGroupsCsa(const unsigned char* data, std::size_t nblocks, std::uint64_t* counts) {
    alignas(32) std::uint8_t tables[2][32] = {};
    for (int letter = 8 * FirstGroup; letter < std::min(8 * FirstGroup + 16, kLetterCount);
         ++letter) {
        const int entry = letter % 16;
        tables[entry / 8][entry] = tables[entry / 8][16 + entry] = std::uint8_t(1U << (letter % 8));
    }
    const __m256i table[2] = {_mm256_load_si256(reinterpret_cast<const __m256i*>(tables[0])),
                              _mm256_load_si256(reinterpret_cast<const __m256i*>(tables[1]))};
    const __m256i caseBit = _mm256_set1_epi8(0x20);
    const __m256i first = _mm256_set1_epi8(char('a' + 8 * FirstGroup));
    BitSlices slices[2] = {};
    for (std::size_t block = 0; block < nblocks; ++block, data += 16 * 32) {
#pragma GCC unroll 2
        for (int g = 0; g < 2; ++g) {
            BitSlices& s = slices[g];
            // The adder tree over vectors 0..15: pairs into twos, twos into fours, and so on.
            __m256i eights[2];
#pragma GCC unroll 2
            for (int half = 0; half < 2; ++half) {
                __m256i fours[2];
#pragma GCC unroll 2
                for (int quarter = 0; quarter < 2; ++quarter) {
                    __m256i twos[2];
#pragma GCC unroll 2
                    for (int pair = 0; pair < 2; ++pair) {
                        const int v = 8 * half + 4 * quarter + 2 * pair;
                        Add3(twos[pair], s.ones, s.ones, OneHot(data, v, table[g], caseBit, first),
                             OneHot(data, v + 1, table[g], caseBit, first));
                    }
                    Add3(fours[quarter], s.twos, s.twos, twos[0], twos[1]);
                }
                Add3(eights[half], s.fours, s.fours, fours[0], fours[1]);
            }
            __m256i sixteens;
            Add3(sixteens, s.eights, s.eights, eights[0], eights[1]);
            if (g == 0) {
                CountBitPositions<8>(sixteens, 16, counts);
            } else {
                CountBitPositions<BitsOfSecond>(sixteens, 16, counts + 8);
            }
        }
    }
    for (int g = 0; g < 2; ++g) {
        std::uint64_t* at = counts + 8 * g;
        const BitSlices& s = slices[g];
        CountBitPositions<8>(s.ones, 1, at);
        CountBitPositions<8>(s.twos, 2, at);
        CountBitPositions<8>(s.fours, 4, at);
        CountBitPositions<8>(s.eights, 8, at);
    }
}

__attribute__((target("avx2,popcnt"))) void TallyAvx2(const unsigned char* data, std::size_t size,
                                                      LetterTally& tally) {
    const std::size_t nblocks = size / (16 * 32);
    std::uint64_t counts[32] = {};
    TallyTwoGroupsCsa<0, 8>(data, nblocks, counts);
    TallyTwoGroupsCsa<2, 2>(data, nblocks, counts + 16);
    for (int letter = 0; letter < kLetterCount; ++letter) {
        tally[letter] += counts[letter];
    }
    const std::size_t done = nblocks * 16 * 32;
    TallyPortable(data + done, size - done, tally);
}

#endif

#ifdef TALLIVO_NEON

// The arm64 path: the x86 compare-and-count in 16-byte vectors, which every arm64 processor
// has. A compare gives 0xff for a hit, so subtracting it adds one to the letter's byte counter.
constexpr std::size_t kNeonStretch = 255;

template <int First, int Count>
void TallyGroupNeon(const unsigned char* data, std::size_t nvec, LetterTally& tally) {
    const uint8x16_t caseBit = vdupq_n_u8(0x20);
    uint8x16_t counters[Count];
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        counters[k] = vdupq_n_u8(0);
    }
    for (std::size_t v = 0; v < nvec; ++v) {
        const uint8x16_t bytes = vorrq_u8(vld1q_u8(data + 16 * v), caseBit);
#pragma GCC unroll 8
        for (int k = 0; k < Count; ++k) {
            counters[k] = vsubq_u8(counters[k], vceqq_u8(bytes, vdupq_n_u8('a' + First + k)));
        }
    }
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
        tally[First + k] += vaddlvq_u8(counters[k]);
    }
}

void TallyNeon(const unsigned char* data, std::size_t size, LetterTally& tally) {
    std::size_t nvec = size / 16;
    while (nvec > 0) {
        const std::size_t count = std::min(nvec, kNeonStretch);
        TallyGroupNeon<0, 7>(data, count, tally);
        TallyGroupNeon<7, 7>(data, count, tally);
        TallyGroupNeon<14, 6>(data, count, tally);
        TallyGroupNeon<20, 6>(data, count, tally);
        data += 16 * count;
        size -= 16 * count;
        nvec -= count;
    }
    TallyPortable(data, size, tally);
}

#endif

} // namespace

void TallyPortableInChunks(const unsigned char* data, std::size_t size, std::size_t chunkSize,
                           LetterTally& tally) {
    TallyChunks(data, size, std::clamp<std::size_t>(chunkSize, 1, kPortableChunk), tally);
}

CountFeatures ProcessorCountFeatures() {
    CountFeatures features;
#ifdef TALLIVO_X86
    __builtin_cpu_init();
    features.avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    features.avx512bw = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    features.avx512vbmi = __builtin_cpu_supports("avx512vbmi");
    features.avx512bitalg = __builtin_cpu_supports("avx512bitalg");
    features.gfni = __builtin_cpu_supports("gfni");
#endif
#ifdef TALLIVO_NEON
    features.neon = true;
#endif
    return features;
}

std::vector<CountPath> CountPathsFor(const CountFeatures& features) {
    std::vector<CountPath> paths{CountPath::Portable};
    // Measured (tallivo_bench, one thread): the byte compares of avx512bw lose to the carry-save
    // adders of avx2 on every processor with both that we know (an AVX-512 Xeon without GFNI,
    // 2.35 against 3.42 GB/s; AMD EPYC with GFNI, 5.6 against 9.0 GB/s), so avx2 comes after
    // it; the GFNI transpose beats both wherever it runs (16 GB/s on that EPYC).
    if (features.avx512bw) {
        paths.push_back(CountPath::Avx512);
    }
    if (features.avx2) {
        paths.push_back(CountPath::Avx2);
    }
    if (features.avx512bw && features.avx512vbmi && features.avx512bitalg && features.gfni) {
        paths.push_back(CountPath::Avx512Transpose);
    }
    if (features.neon) {
        paths.push_back(CountPath::Neon);
    }
    return paths;
}

std::vector<CountPath> SupportedCountPaths() {
    return CountPathsFor(ProcessorCountFeatures());
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
    case CountPath::Avx512Transpose:
        return "avx512-gfni";
    case CountPath::Neon:
        return "neon";
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
    case CountPath::Avx512Transpose:
        TallyAvx512Transpose(data, size, tally);
        return;
#endif
#ifdef TALLIVO_NEON
    case CountPath::Neon:
        TallyNeon(data, size, tally);
        return;
#endif
    default:
        TallyPortable(data, size, tally);
        return;
    }
}

} // namespace tallivo
