#include "letter_counter.h"

#include "analysis_error.h"
#include "file_mapping.h"
#include "large_count.h"
#include "parallel_tally.h"

#include <algorithm>

namespace tallivo {

namespace {

// Adds amount to value; throws TooManyLetters instead of wrapping past 2,147,483,647.
void CheckedAdd(std::int32_t& value, std::uint64_t amount) {
    std::int32_t sum = 0;
    if (amount > static_cast<std::uint64_t>(INT32_MAX) ||
        __builtin_add_overflow(value, static_cast<std::int32_t>(amount), &sum)) {
        throw AnalysisFailure(AnalysisError::TooManyLetters, "more than 2147483647 letters");
    }
    value = sum;
}

// Returns a sink that counts each block on path into LetterCounts and TotalLetters.
BlockSink BlockCounter(CountPath path, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters) {
    return [path, &LetterCounts, &TotalLetters](const unsigned char* data, std::size_t size) {
        LetterTally tally{};
        TallyLetters(path, data, size, tally);
        AddTally(tally, LetterCounts, TotalLetters);
    };
}

// Hands what is still wanted of a block to prefix; handed counts the bytes given so far.
void HandOn(const PrefixSink& prefix, std::size_t& handed, const unsigned char* data,
            std::size_t size) {
    if (!prefix.sink || handed >= prefix.limit) {
        return;
    }
    const std::size_t part = std::min(size, prefix.limit - handed);
    prefix.sink(data, part);
    handed += part;
}

// Returns sink preceded by the handing on of each block's prefix.
BlockSink WithPrefix(const PrefixSink& prefix, BlockSink sink) {
    if (!prefix.sink || prefix.limit == 0) {
        return sink;
    }
    return [&prefix, sink = std::move(sink), handed = std::size_t{0}](const unsigned char* data,
                                                                      std::size_t size) mutable {
        HandOn(prefix, handed, data, size);
        sink(data, size);
    };
}

FileStamp CountFile(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                    std::int32_t& TotalLetters, CountPath path, unsigned threads,
                    const ReadObserver& observer, const PrefixSink& prefix) {
    LetterCounts.assign(kLetterCount, 0);
    InputFile file(fileName);
    if (file.Stamp().size < kParallelFrom) {
        // Line ends are never letters, so blocks may split lines anywhere.
        return ReadInBlocks(file, kReadBufferSize,
                            WithPrefix(prefix, BlockCounter(path, LetterCounts, TotalLetters)),
                            observer);
    }
    // Where the system will not map the file, it is read.
    FileMapping mapping(file.Descriptor(), std::size_t(file.Stamp().size));
    const LargeText text{&file, mapping.data(), std::size_t(file.Stamp().size),
                         mapping.data() != nullptr ? &mapping : nullptr, fileName};
    CountLargeText(text, path, CountWays(text, threads), LetterCounts, TotalLetters, observer,
                   prefix);
    // A mapping reads zeros past the end of a file cut inside its last page.
    file.CheckNotShortened();
    return file.Stamp();
}

} // namespace

void AddTally(const LetterTally& tally, std::vector<std::int32_t>& LetterCounts,
              std::int32_t& TotalLetters) {
    for (int letter = 0; letter < kLetterCount; ++letter) {
        CheckedAdd(LetterCounts[letter], tally[letter]);
        CheckedAdd(TotalLetters, tally[letter]);
    }
}

FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, const ReadObserver& observer) {
    return CountLetters(fileName, LetterCounts, TotalLetters, FastestCountPath(), observer);
}

FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, CountPath path, const ReadObserver& observer) {
    return CountLetters(fileName, LetterCounts, TotalLetters, path, ParallelTally::MachineThreads(),
                        observer);
}

FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, CountPath path, unsigned threads,
                       const ReadObserver& observer) {
    return CountFile(fileName, LetterCounts, TotalLetters, path, threads, observer, {});
}

FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, const ReadObserver& observer,
                       const PrefixSink& prefix) {
    return CountFile(fileName, LetterCounts, TotalLetters, FastestCountPath(),
                     ParallelTally::MachineThreads(), observer, prefix);
}

void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer) {
    CountLettersInText(text, LetterCounts, TotalLetters, observer, {});
}

void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer,
                        const PrefixSink& prefix) {
    LetterCounts.assign(kLetterCount, 0);
    const CountPath path = FastestCountPath();
    if (text.size() < kParallelFrom) {
        ReadTextInBlocks(text, kReadBufferSize,
                         WithPrefix(prefix, BlockCounter(path, LetterCounts, TotalLetters)),
                         observer);
        return;
    }
    const LargeText large{nullptr, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                          nullptr, "text in memory"};
    CountLargeText(large, path, CountWays(large, ParallelTally::MachineThreads()), LetterCounts,
                   TotalLetters, observer, prefix);
}

void CountLettersInStream(const TextStream& stream, std::vector<std::int32_t>& LetterCounts,
                          std::int32_t& TotalLetters, const ReadObserver& observer,
                          const PrefixSink& prefix) {
    LetterCounts.assign(kLetterCount, 0);
    stream(WithPrefix(prefix, BlockCounter(FastestCountPath(), LetterCounts, TotalLetters)),
           observer);
}

} // namespace tallivo
