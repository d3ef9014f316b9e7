// The counting core checked without Qt, so that it runs where Qt does not: natively, and built
// with the arm64 cross compiler under qemu-aarch64. Every path this processor has, threaded
// file counts and the rounding of the report are compared with plain one-byte-at-a-time
// answers, and a file cut while counted must end in a read error on every way of counting it.
// Prints "N passed, N failed" and exits non-zero on any failure.

#include "analysis_error.h"
#include "file_mapping.h"
#include "frequency_report.h"
#include "large_count.h"
#include "letter_counter.h"
#include "letter_tally.h"
#include "naive_tally.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

using namespace tallivo;

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

LetterTally NaiveTally(const std::string& bytes, std::size_t from = 0) {
    return NaiveLetterTally(std::string_view(bytes).substr(from));
}

LetterTally Tally(CountPath path, const std::string& bytes, std::size_t from = 0) {
    LetterTally tally{};
    TallyLetters(path, reinterpret_cast<const unsigned char*>(bytes.data()) + from,
                 bytes.size() - from, tally);
    return tally;
}

std::string Named(CountPath path, std::size_t size, std::size_t offset = 0) {
    return std::string(CountPathName(path)) + ", size " + std::to_string(size) + ", offset " +
           std::to_string(offset);
}

void EveryPathMatchesTheNaiveCount() {
    std::mt19937_64 random(20261209);
    // Around the stretches of the vector paths (255 vectors of 16 or 64 bytes, 31 of 64, blocks
    // of 512 bytes).
    std::vector<std::size_t> sizes{0,    1,    15,   16,   17,   511,  512,  513,  4079,
                                   4080, 4081, 8159, 8160, 8161, 1983, 1984, 1985, 16320};
    std::uniform_int_distribution<std::size_t> anySize(0, 30000);
    for (int i = 0; i < 30; ++i) {
        sizes.push_back(anySize(random));
    }
    for (const std::size_t size : sizes) {
        for (const double share : {0.0, 0.5, 1.0}) {
            const std::string blob = RandomLetterBlob(random, size, share);
            for (const CountPath path : SupportedCountPaths()) {
                for (const std::size_t offset : {0, 1, 7}) {
                    if (offset <= size) {
                        Check(Tally(path, blob, offset) == NaiveTally(blob, offset),
                              Named(path, size, offset));
                    }
                }
            }
        }
    }
    // Far more of one letter than a byte or a 16-bit counter holds.
    const std::string lower(1100000, 'e');
    const std::string upper(1100001, 'Z');
    for (const CountPath path : SupportedCountPaths()) {
        Check(Tally(path, lower)[4] == 1100000, Named(path, lower.size()) + ", one letter");
        Check(Tally(path, upper)[25] == 1100001, Named(path, upper.size()) + ", one letter");
    }
}

void ThreadedFileCountsMatchTheNaiveCount() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tallivo-core-check-" + std::to_string(getpid()));
    std::mt19937_64 random(9122026);
    // Below and above the size from which threads start, and off every block boundary.
    for (const std::size_t size : {kParallelFrom - 1, kParallelFrom + 3 * kReadBufferSize + 77}) {
        const std::string blob = RandomLetterBlob(random, size, 0.4);
        std::ofstream(path, std::ios::binary).write(blob.data(), std::streamsize(blob.size()));
        const LetterTally want = NaiveTally(blob);
        for (const CountPath countPath : SupportedCountPaths()) {
            for (const unsigned threads : {1U, 2U, 5U}) {
                std::vector<std::int32_t> counts;
                std::int32_t total = 0;
                CountLetters(path.string(), counts, total, countPath, threads);
                std::uint64_t wantTotal = 0;
                bool same = counts.size() == std::size_t(kLetterCount);
                for (int i = 0; same && i < kLetterCount; ++i) {
                    same = std::uint64_t(counts[i]) == want[i];
                    wantTotal += want[i];
                }
                Check(same && std::uint64_t(total) == wantTotal,
                      Named(countPath, size) + ", " + std::to_string(threads) + " threads");
            }
        }
    }
    std::filesystem::remove(path);
}

void ACutFileIsAReadErrorOnEveryWay() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tallivo-core-cut-" + std::to_string(getpid()));
    const std::string bytes(kParallelFrom + kReadBufferSize, 'e');
    for (const CountWay way :
         {CountWay{true, 1}, CountWay{true, 2}, CountWay{false, 1}, CountWay{false, 2}}) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        InputFile file(path.string());
        FileMapping mapping(file.Descriptor(), bytes.size());
        const LargeText text{&file, mapping.data(), bytes.size(), &mapping, path.string()};
        std::vector<std::int32_t> counts(kLetterCount, 0);
        std::int32_t total = 0;
        bool readError = false;
        try {
            CountLargeText(text, FastestCountPath(), {way}, counts, total,
                           [&](std::uint64_t) { return ::truncate(path.c_str(), 0) == 0; }, {});
        } catch (const AnalysisFailure& failure) {
            readError = failure.kind() == AnalysisError::ReadError;
        }
        Check(mapping.data() != nullptr && readError, std::string("a file cut while counted, ") +
                                                          (way.mapped ? "mapped, " : "read, ") +
                                                          std::to_string(way.threads) + " threads");
    }
    std::filesystem::remove(path);
}

void ReportRoundsAsOnEveryProcessor() {
    struct Row {
        std::int32_t count, total;
        const char* line;
    };
    // Halves on binary boundaries and the largest counts, where a fused multiply-add or another
    // order of operations would round differently.
    const Row rows[] = {{1, 32, "E = 1  (3.13%)"},
                        {3, 32, "E = 3  (9.38%)"},
                        {2, 7, "E = 2  (28.57%)"},
                        {1, 20000, "E = 1  (0.01%)"},
                        {2000000000, 2147483647, "E = 2000000000  (93.13%)"}};
    for (const Row& row : rows) {
        const float percent = RoundedPercent(row.count, row.total, PercentPattern::ZeroHashHash);
        Check(FrequencyLine(5, row.count, percent, ".") == row.line, row.line);
    }
    std::vector<std::int32_t> counts(kLetterCount, 0);
    std::int32_t total = 2147483647;
    LetterTally one{};
    one[0] = 1;
    bool refused = false;
    try {
        AddTally(one, counts, total);
    } catch (const AnalysisFailure& failure) {
        refused = failure.kind() == AnalysisError::TooManyLetters;
    }
    Check(refused, "a total past 2147483647 is refused");
}

} // namespace

int main() {
    std::string paths;
    for (const CountPath path : SupportedCountPaths()) {
        paths += std::string(paths.empty() ? "" : ", ") + std::string(CountPathName(path));
    }
    std::printf("counting paths: %s\n", paths.c_str());
    EveryPathMatchesTheNaiveCount();
    ThreadedFileCountsMatchTheNaiveCount();
    ACutFileIsAReadErrorOnEveryWay();
    ReportRoundsAsOnEveryProcessor();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
