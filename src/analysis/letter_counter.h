#pragma once

#include "input_file.h"
#include "letter_tally.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// The counter reads through fixed buffers of this size, whatever the size of the file.
constexpr std::size_t kReadBufferSize = std::size_t{1} << 20;

// From this size on a text is counted in stretches, each the way that has measured fastest so far
// in the count: a file mapped into memory or read into buffers, on the calling thread alone or
// with helper threads on the other processors; smaller texts are read and counted on the calling
// thread.
constexpr std::size_t kParallelFrom = 4 * kReadBufferSize;

// What a count hands on as it reads: the text's first bytes, in order and each once, up to
// limit bytes in all, given to sink on the counting thread. A count that fails or is stopped
// may have handed on part of them.
struct PrefixSink {
    BlockSink sink;
    std::size_t limit = 0;
};

// Counts the letters a..z, without regard to case, in the file fileName (the path exactly as
// picked, not trimmed). LetterCounts becomes 26 fresh counters (index 0 = a); TotalLetters is
// only added to, by one for every letter. The file is read once, in blocks, and always closed.
// After every block observer (where given) may stop the count. Returns the stamp of the file
// counted. Throws AnalysisFailure: FileNotFound, AccessDenied, NotRegularFile, ReadError (also
// when the file is cut shorter while it is counted), Cancelled, or TooManyLetters when a counter
// or the total would pass 2,147,483,647.
FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, const ReadObserver& observer = {});

// The same, handing the file's first bytes to prefix in the same pass.
FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, const ReadObserver& observer,
                       const PrefixSink& prefix);

// The same on a chosen path, so that every path can be tested and measured.
FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, CountPath path,
                       const ReadObserver& observer = {});

// The same on at most threads counting threads (1: on the calling thread alone); fewer where
// helpers measure no faster.
FileStamp CountLetters(const std::string& fileName, std::vector<std::int32_t>& LetterCounts,
                       std::int32_t& TotalLetters, CountPath path, unsigned threads,
                       const ReadObserver& observer = {});

// Counts the letters of a text held in memory exactly as CountLetters counts a file holding
// it, block by block, asking observer (where given) after each block whether to go on.
void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer = {});

// The same, handing the text's first bytes to prefix in the same pass.
void CountLettersInText(std::string_view text, std::vector<std::int32_t>& LetterCounts,
                        std::int32_t& TotalLetters, const ReadObserver& observer,
                        const PrefixSink& prefix);

// A text that arrives in blocks from another program: called once, it hands each block to sink
// as it comes, in order, and asks observer after each block and while it waits whether to go
// on. It throws AnalysisFailure: Cancelled when observer says stop, NoText or NoAnswer when the
// text never starts to come, ReadError when it stops coming before its end.
using TextStream = std::function<void(const BlockSink& sink, const ReadObserver& observer)>;

// Counts the letters of a text as stream brings it, exactly as CountLettersInText counts the
// whole text, handing its first bytes to prefix in the same pass. Only a block at a time is
// held, however long the text.
void CountLettersInStream(const TextStream& stream, std::vector<std::int32_t>& LetterCounts,
                          std::int32_t& TotalLetters, const ReadObserver& observer,
                          const PrefixSink& prefix);

// Adds tally to LetterCounts and TotalLetters, each addition checked against 32-bit overflow.
// Throws AnalysisFailure(TooManyLetters).
void AddTally(const LetterTally& tally, std::vector<std::int32_t>& LetterCounts,
              std::int32_t& TotalLetters);

} // namespace tallivo
