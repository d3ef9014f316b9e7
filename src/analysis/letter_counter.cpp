#include "letter_counter.h"

#include "analysis_error.h"

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
    LetterCounts.assign(kLetterCount, 0);
    // Line ends are never letters, so blocks may split lines anywhere.
    return ReadInBlocks(fileName, kReadBufferSize, BlockCounter(path, LetterCounts, TotalLetters),
                        observer);
}

void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer) {
    LetterCounts.assign(kLetterCount, 0);
    ReadTextInBlocks(text, kReadBufferSize,
                     BlockCounter(FastestCountPath(), LetterCounts, TotalLetters), observer);
}

} // namespace tallivo
