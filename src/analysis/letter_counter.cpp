#include "letter_counter.h"

#include "analysis_error.h"
#include "input_file.h"

#include <memory>

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

} // namespace

void AddTally(const LetterTally& tally, std::vector<std::int32_t>& LetterCounts,
              std::int32_t& TotalLetters) {
    for (int letter = 0; letter < kLetterCount; ++letter) {
        CheckedAdd(LetterCounts[letter], tally[letter]);
        CheckedAdd(TotalLetters, tally[letter]);
    }
}

void CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                  std::int32_t& TotalLetters) {
    CountLetters(fileName, LetterCounts, TotalLetters, FastestCountPath());
}

void CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                  std::int32_t& TotalLetters, CountPath path) {
    LetterCounts.assign(kLetterCount, 0);
    InputFile file(fileName);
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kReadBufferSize);
    // Line ends are never letters, so blocks may split lines anywhere.
    while (const std::size_t got = file.Read(buffer.get(), kReadBufferSize)) {
        LetterTally tally{};
        TallyLetters(path, buffer.get(), got, tally);
        AddTally(tally, LetterCounts, TotalLetters);
    }
}

} // namespace tallivo
