#include "reference_frequencies.h"

namespace tallivo {

// Counted by scripts/derive-language-data, which prints these two tables; the language model
// (src/language) holds the same counts, and a test checks that the two agree. Accented letters
// count as their base letter. Italian: the fortune cookies of the Debian package fortunes-it
// 1.99, which its authors declare public domain (1,029,480 letters, attributions left out).
// English: the World English Bible (Debian sword-text-web, public domain) and Ambrose Bierce's
// The Devil's Dictionary (Debian dict-devil, public domain), 4,115,927 letters.

const ReferenceTable& ItalianFrequencies() {
    static const ReferenceTable table{11.14, 1.06, 4.62, 3.40, 11.54, 1.14, 1.86, 1.33, 10.59,
                                      0.03,  0.09, 5.85, 3.15, 7.33,  9.76, 2.86, 0.48, 6.30,
                                      5.27,  6.21, 3.48, 1.60, 0.07,  0.04, 0.07, 0.76};
    return table;
}

const ReferenceTable& EnglishFrequencies() {
    static const ReferenceTable table{7.97, 1.52, 1.84, 4.40, 12.62, 2.56, 1.86, 7.74, 6.55,
                                      0.27, 0.75, 4.06, 2.55, 6.50,  8.08, 1.41, 0.04, 5.53,
                                      6.21, 8.73, 2.72, 1.03, 2.55,  0.07, 2.37, 0.10};
    return table;
}

ReferenceTable ReferenceFromCounts(const std::vector<std::int32_t>& counts, std::int32_t total) {
    ReferenceTable table{};
    for (int i = 0; i < kLetterCount; ++i) {
        table[i] = 100.0 * counts[i] / total;
    }
    return table;
}

ReferenceTable Normalised(const ReferenceTable& table) {
    double sum = 0.0;
    for (const double value : table) {
        sum += value;
    }
    ReferenceTable probabilities{};
    for (int i = 0; i < kLetterCount; ++i) {
        probabilities[i] = sum > 0.0 ? table[i] / sum : 0.0;
    }
    return probabilities;
}

} // namespace tallivo
