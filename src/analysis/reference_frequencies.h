#pragma once

#include "letter_tally.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tallivo {

// Expected frequencies of a..z (index 0 = a) in percent; 0 for a letter the source never shows.
using ReferenceTable = std::array<double, kLetterCount>;

// Returns the letter frequencies of Italian running text, from a public-domain corpus.
const ReferenceTable& ItalianFrequencies();

// Returns the letter frequencies of English running text, from public-domain corpora.
const ReferenceTable& EnglishFrequencies();

// Returns the frequencies of a text as a reference: each letter's share of total in percent.
// total must not be 0.
ReferenceTable ReferenceFromCounts(const std::vector<std::int32_t>& counts, std::int32_t total);

// Returns the table as probabilities that sum to 1.
ReferenceTable Normalised(const ReferenceTable& table);

} // namespace tallivo
