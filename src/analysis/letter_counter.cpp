#include "letter_counter.h"

#include "analysis_error.h"

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

} // namespace

void AddTally(const LetterTally& tally, std::vector<std::int32_t>& LetterCounts,
              std::int32_t& TotalLetters) {
    for (int letter = 0; letter < kLetterCount; ++letter) {
        CheckedAdd(LetterCounts[letter], tally[letter]);
        CheckedAdd(TotalLetters, tally[letter]);
    }
}

void CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                  std::int32_t& TotalLetters, const ReadObserver& observer) {
    CountLetters(fileName, LetterCounts, TotalLetters, FastestCountPath(), observer);
}

void CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                  std::int32_t& TotalLetters, CountPath path, const ReadObserver& observer) {
    LetterCounts.assign(kLetterCount, 0);
    // Line ends are never letters, so blocks may split lines anywhere.
    ReadInBlocks(
        fileName, kReadBufferSize,
        [&](const unsigned char* data, std::size_t size) {
            LetterTally tally{};
            TallyLetters(path, data, size, tally);
            AddTally(tally, LetterCounts, TotalLetters);
        },
        observer);
}

void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer) {
    LetterCounts.assign(kLetterCount, 0);
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const CountPath path = FastestCountPath();
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t size = std::min(kReadBufferSize, text.size() - done);
        LetterTally tally{};
        TallyLetters(path, data + done, size, tally);
        AddTally(tally, LetterCounts, TotalLetters);
        done += size;
        if (observer && !observer(done)) {
            throw AnalysisFailure(AnalysisError::Cancelled, "pasted text");
        }
    }
}

} // namespace tallivo
