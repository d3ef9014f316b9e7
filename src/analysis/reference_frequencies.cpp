#include "reference_frequencies.h"

namespace tallivo {

// English: R. E. Lewand, "Cryptological Mathematics", Mathematical Association of America,
// 2000, as tabled (rounded) in the encyclopaedia article "Letter frequency". Italian: the same
// article's table "Relative frequencies of letters in other languages". A 0 stands for a value
// below 0.005 % in the source's corpus (letters of foreign words).

const ReferenceTable& ItalianFrequencies() {
    static const ReferenceTable table{11.74, 0.92, 4.50, 3.73, 11.79, 0.95, 1.64, 1.54, 11.28,
                                      0.00,  0.00, 6.51, 2.51, 6.88,  9.83, 3.05, 0.51, 6.37,
                                      4.98,  5.62, 3.01, 2.10, 0.00,  0.00, 0.00, 0.49};
    return table;
}

const ReferenceTable& EnglishFrequencies() {
    static const ReferenceTable table{8.2,  1.5,  2.8, 4.3,  12.7, 2.2,  2.0, 6.1,   7.0,
                                      0.15, 0.77, 4.0, 2.4,  6.7,  7.5,  1.9, 0.095, 6.0,
                                      6.3,  9.1,  2.8, 0.98, 2.4,  0.15, 2.0, 0.074};
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
