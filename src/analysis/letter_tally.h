#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tallivo {

constexpr int kLetterCount = 26;

// Occurrences of a..z (index 0 = a), either case, in 64 bits so a block never overflows.
using LetterTally = std::array<std::uint64_t, kLetterCount>;

// The ways this build can count a block; the vector ones run only where the processor has them.
enum class CountPath {
    Portable,        // eight split byte histograms, any processor
    Avx2,            // 32-byte one-hot bits summed with carry-save adders
    Avx512,          // 64-byte compare-and-count
    Avx512Transpose, // 64-byte one-hot bits, transposed and counted per bit (GFNI, VBMI, BITALG)
    Neon,            // 16-byte compare-and-count on arm64
};

// What a processor offers the vector paths.
struct CountFeatures {
    bool avx2 = false;
    bool avx512bw = false; // with avx512f
    bool avx512vbmi = false;
    bool avx512bitalg = false;
    bool gfni = false;
    bool neon = false;
};

// Returns the features of this processor that this build can use.
CountFeatures ProcessorCountFeatures();

// Returns the paths a processor with these features runs, from the slowest to the fastest as
// measured on the processors we know: portable first, then avx512bw, avx2, avx512-gfni (or neon).
std::vector<CountPath> CountPathsFor(const CountFeatures& features);

// Returns the paths this processor can run, from the slowest to the fastest.
std::vector<CountPath> SupportedCountPaths();

// Returns the fastest path this processor can run: the last of SupportedCountPaths().
CountPath FastestCountPath();

// Returns a short name of the path ("portable", "avx2", "avx512bw", "avx512-gfni",
// "neon").
std::string_view CountPathName(CountPath path);

// Adds the letters a..z and A..Z of data[0, size) to tally; every other byte is skipped.
// The path must be one of SupportedCountPaths().
void TallyLetters(CountPath path, const unsigned char* data, std::size_t size, LetterTally& tally);

// The portable path with chunks of chunkSize bytes (at most 1 GiB) in place of 1 GiB, so that
// tests and fuzzers reach the chunk boundaries with small inputs.
void TallyPortableInChunks(const unsigned char* data, std::size_t size, std::size_t chunkSize,
                           LetterTally& tally);

} // namespace tallivo
