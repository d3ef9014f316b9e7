#pragma once

#include "ngram_counter.h"
#include "reference_frequencies.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Returns the index of coincidence, sum of n(n - 1) over N(N - 1): the chance that two letters
// drawn from the text are the same. Empty below two letters.
std::optional<double> IndexOfCoincidence(const std::vector<std::int32_t>& counts,
                                         std::int32_t total);

// Returns the index of coincidence a text of the reference's language is expected to have:
// the sum of the squares of its normalised frequencies.
double ExpectedCoincidence(const ReferenceTable& reference);

// Returns the entropy in bits per letter, -sum of p log2 p over the letters that occur.
double Entropy(const std::vector<std::int32_t>& counts, std::int32_t total);

// Returns the chi-squared distance of the counts from the reference (normalised), over the
// letters the reference does not give as 0.
double ChiSquare(const std::vector<std::int32_t>& counts, std::int32_t total,
                 const ReferenceTable& reference);

// Returns the 26 capitals by count descending, ties in alphabetical order, e.g. "E A I O ...".
std::string FrequencyOrder(const std::vector<std::int32_t>& counts);

// A chosen reference as the statistics name it.
struct NamedReference {
    std::string name; // "italiano", "inglese" or the reference text's file name
    ReferenceTable table;
};

// Returns the lines of the statistics window for an analysis of total letters: the letters,
// the index of coincidence, the entropy, the chi-squared distance (with a reference), the
// frequency order and the ten commonest bigrams and trigrams of ngrams, numbers written with
// decimalSeparator. total must not be 0.
std::vector<std::string> StatisticsLines(const std::vector<std::int32_t>& counts,
                                         std::int32_t total, const NGramCounter& ngrams,
                                         const NamedReference* reference,
                                         std::string_view decimalSeparator);

} // namespace tallivo
