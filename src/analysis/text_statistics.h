#pragma once

#include "ngram_counter.h"
#include "reference_frequencies.h"

#include <cstdint>
#include <optional>
#include <string>
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

// One of the commonest n-grams: its letters, how often it occurs and its share of all n-grams of
// its length in percent.
struct NGramShare {
    std::string letters;
    std::uint64_t count = 0;
    double percent = 0.0;
};

// The figures the statistics window shows for a text; the window formats them.
struct TextStatistics {
    std::int32_t letters = 0;
    std::optional<double> coincidence; // empty below two letters
    double randomCoincidence = 1.0 / kLetterCount;
    std::optional<double> expectedCoincidence; // of the reference's language, with a reference
    double entropy = 0.0;                      // bits per letter
    std::optional<double> chiSquare;           // distance from the reference, with a reference
    std::string frequencyOrder;
    std::vector<NGramShare> bigrams; // the ten commonest
    std::vector<NGramShare> trigrams;
};

// Returns the statistics of a text of total letters with these counts and n-grams, against
// reference where one is given. total must not be 0.
TextStatistics Statistics(const std::vector<std::int32_t>& counts, std::int32_t total,
                          const NGramCounter& ngrams, const ReferenceTable* reference);

} // namespace tallivo
