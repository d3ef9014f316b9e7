// Random bytes through every counting path, in memory and through a file, against a naive
// per-byte count.

#include "letter_counter.h"
#include "letter_tally.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tallivo;

namespace {

LetterTally NaiveTally(const std::uint8_t* data, std::size_t size) {
    LetterTally tally{};
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] >= 'a' && data[i] <= 'z') {
            ++tally[data[i] - 'a'];
        } else if (data[i] >= 'A' && data[i] <= 'Z') {
            ++tally[data[i] - 'A'];
        }
    }
    return tally;
}

const std::string& ScratchFile() {
    static const std::string path = "/tmp/tallivo_fuzz_" + std::to_string(::getpid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LetterTally expected = NaiveTally(data, size);
    for (const CountPath path : SupportedCountPaths()) {
        LetterTally got{};
        TallyLetters(path, data, size, got);
        if (got != expected) {
            std::abort();
        }
    }

    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLetters(ScratchFile(), counts, total);
    std::int64_t expectedTotal = 0;
    for (int i = 0; i < kLetterCount; ++i) {
        if (std::uint64_t(counts[i]) != expected[i]) {
            std::abort();
        }
        expectedTotal += std::int64_t(expected[i]);
    }
    if (total != expectedTotal) {
        std::abort();
    }
    return 0;
}
