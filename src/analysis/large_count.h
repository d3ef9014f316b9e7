#pragma once

#include "count_tuner.h"
#include "file_mapping.h"
#include "input_file.h"
#include "letter_counter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallivo {

// What a large count reads: a file, mapped where the system allows, or a text in memory.
struct LargeText {
    InputFile* file = nullptr;            // where read() copies come from; none for a text
    const unsigned char* bytes = nullptr; // the mapped file or the text; null where not mapped
    std::size_t size = 0;                 // how many bytes to count
    FileMapping* mapping = nullptr;       // the file mapped at bytes, read through RunGuarded
    std::string name;                     // for the failures
};

// Returns the ways a count of text on up to threads threads may take: from the mapping (or the
// text) where there is one, through read() copies where there is a file; alone, then with
// helpers.
std::vector<CountWay> CountWays(const LargeText& text, unsigned threads);

// Counts text in stretches, each the way CountTuner picks among ways (which must suit text), into
// LetterCounts and TotalLetters, as CountLetters does: the counters must be zero, the total is
// added to; the first bytes go to prefix in order; observer is told after every block of
// kReadBufferSize bytes. Throws AnalysisFailure: ReadError when the file fails or is cut shorter
// than text.size meanwhile, Cancelled, TooManyLetters.
void CountLargeText(const LargeText& text, CountPath path, std::vector<CountWay> ways,
                    std::vector<std::int32_t>& LetterCounts, std::int32_t& TotalLetters,
                    const ReadObserver& observer, const PrefixSink& prefix);

} // namespace tallivo
