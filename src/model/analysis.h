#pragma once

#include "cipher_text.h"
#include "input_file.h"
#include "letter_counter.h"
#include "ngram_counter.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tallivo {

// What one analysis found in a text: the counts of its letters over the whole text, and the
// text itself up to CipherText::kWorkLimit bytes with its bigrams and trigrams, which the
// statistics and the workbench use without reading the text again.
struct Analysis {
    std::vector<std::int32_t> counts; // index 0 = a, over the whole text
    std::int32_t total = 0;
    FileStamp stamp;
    std::shared_ptr<const CipherText> text;     // the first kWorkLimit bytes
    std::shared_ptr<const NGramCounter> ngrams; // of those bytes

    bool HasLetters() const { return total > 0; }
    // Whether the text and its n-grams cover only the start of what was counted.
    bool Partial() const { return text != nullptr && text->truncated(); }
};

// Gathers the text and its n-grams as a count hands its first bytes on, in the same pass.
class AnalysisBuilder {
public:
    AnalysisBuilder();

    // The sink a count hands the text's first bytes to; it refers to this builder.
    PrefixSink Prefix();

    // Returns the analysis of a count that ended with these figures; the builder is spent.
    Analysis Finish(std::vector<std::int32_t> counts, std::int32_t total, FileStamp stamp);

private:
    void Add(const unsigned char* data, std::size_t size);

    std::shared_ptr<CipherText> text_;
    std::shared_ptr<NGramCounter> ngrams_;
    std::uint64_t handed_ = 0;
};

} // namespace tallivo
