// Random bytes through every counting path, in memory and through a file, and through the
// n-gram pass whole and split, against a naive per-byte count. The first byte of an input picks a
// starting total (so that the limit of 2,147,483,647 letters is reached) and, now and then, a name
// that cannot be counted.

#include "analysis_error.h"
#include "letter_counter.h"
#include "letter_tally.h"
#include "naive_tally.h"
#include "ngram_counter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace tallivo;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

LetterTally NaiveTally(const std::uint8_t* data, std::size_t size) {
    return NaiveLetterTally(std::string_view(reinterpret_cast<const char*>(data), size));
}

// A file in memory that holds data, named through /proc; closed when the object goes.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd_(::memfd_create("tallivo_fuzz", MFD_CLOEXEC)) {
        Check(fd_ >= 0 && ::write(fd_, data, size) == ssize_t(size));
    }
    ~MemoryFile() { ::close(fd_); }
    std::string Name() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

// Names the counter must refuse, with the error each gives.
struct Refused {
    const char* name;
    AnalysisError error;
};
constexpr Refused kRefused[] = {
    {"/nonexistent/tallivo", AnalysisError::FileNotFound},
    {"", AnalysisError::FileNotFound},
    {"/", AnalysisError::NotRegularFile},
    {"/dev/null", AnalysisError::NotRegularFile},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LetterTally expected = NaiveTally(data, size);
    for (const CountPath path : SupportedCountPaths()) {
        LetterTally got{};
        TallyLetters(path, data, size, got);
        Check(got == expected);
    }
    // The portable path's chunk boundaries, with chunks of 1 to 256 bytes.
    LetterTally chunked{};
    TallyPortableInChunks(data, size, 1 + (size > 1 ? data[1] : 0), chunked);
    Check(chunked == expected);

    // The n-gram pass sees the same letters, however the text is split.
    NGramCounter whole;
    whole.Add(data, size);
    NGramCounter split;
    split.Add(data, size / 3);
    split.Add(data + size / 3, size - size / 3);
    Check(whole.Letters() == expected && split.Letters() == expected);
    for (const int n : {2, 3}) {
        const std::vector<NGram> a = whole.Commonest(n, 30);
        const std::vector<NGram> b = split.Commonest(n, 30);
        Check(a.size() == b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            Check(a[i].letters == b[i].letters && a[i].count == b[i].count);
        }
    }

    std::int64_t letters = 0;
    for (const std::uint64_t count : expected) {
        letters += std::int64_t(count);
    }

    // Byte 0: below 8, a name that is refused; otherwise the distance of the starting total
    // from the limit (0 to 247), or a start from 0 when it is 255.
    const std::uint8_t choice = size > 0 ? data[0] : 255;
    std::vector<std::int32_t> counts;
    if (choice < 8) {
        const Refused& refused = kRefused[choice % 4];
        std::int32_t total = 0;
        try {
            CountLetters(refused.name, counts, total);
            std::abort();
        } catch (const AnalysisFailure& failure) {
            Check(failure.kind() == refused.error && total == 0);
        }
        return 0;
    }
    const std::int32_t start = choice == 255 ? 0 : INT32_MAX - (choice - 8);
    std::int32_t total = start;
    const MemoryFile file(data, size);
    try {
        CountLetters(file.Name(), counts, total);
        Check(std::int64_t(start) + letters <= INT32_MAX);
        Check(total == start + letters);
        for (int i = 0; i < kLetterCount; ++i) {
            Check(std::uint64_t(counts[i]) == expected[i]);
        }
    } catch (const AnalysisFailure& failure) {
        Check(failure.kind() == AnalysisError::TooManyLetters);
        Check(std::int64_t(start) + letters > INT32_MAX);
        Check(total >= start);
    }
    return 0;
}
