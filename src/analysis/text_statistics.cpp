#include "text_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tallivo {

namespace {

// Returns the ten commonest n-grams of length n with their shares.
std::vector<NGramShare> CommonestShares(const NGramCounter& ngrams, int n) {
    std::vector<NGramShare> shares;
    const double all = double(ngrams.Total(n));
    for (NGram& ngram : ngrams.Commonest(n, 10)) {
        shares.push_back(
            {std::move(ngram.letters), ngram.count, 100.0 * double(ngram.count) / all});
    }
    return shares;
}

} // namespace

std::optional<double> IndexOfCoincidence(const std::vector<std::int32_t>& counts,
                                         std::int32_t total) {
    if (total < 2) {
        return std::nullopt;
    }
    double pairs = 0.0;
    for (const std::int32_t n : counts) {
        pairs += double(n) * (double(n) - 1.0);
    }
    return pairs / (double(total) * (double(total) - 1.0));
}

double ExpectedCoincidence(const ReferenceTable& reference) {
    double sum = 0.0;
    for (const double p : Normalised(reference)) {
        sum += p * p;
    }
    return sum;
}

double Entropy(const std::vector<std::int32_t>& counts, std::int32_t total) {
    double bits = 0.0;
    for (const std::int32_t n : counts) {
        if (n > 0) {
            const double p = double(n) / double(total);
            bits -= p * std::log2(p);
        }
    }
    return bits;
}

double ChiSquare(const std::vector<std::int32_t>& counts, std::int32_t total,
                 const ReferenceTable& reference) {
    const ReferenceTable p = Normalised(reference);
    double sum = 0.0;
    for (int i = 0; i < kLetterCount; ++i) {
        if (p[i] > 0.0) {
            const double expected = double(total) * p[i];
            const double difference = double(counts[i]) - expected;
            sum += difference * difference / expected;
        }
    }
    return sum;
}

std::string FrequencyOrder(const std::vector<std::int32_t>& counts) {
    std::array<int, kLetterCount> letters{};
    std::iota(letters.begin(), letters.end(), 0);
    std::stable_sort(letters.begin(), letters.end(),
                     [&counts](int a, int b) { return counts[a] > counts[b]; });
    std::string order;
    for (const int letter : letters) {
        if (!order.empty()) {
            order += ' ';
        }
        order += char('A' + letter);
    }
    return order;
}

TextStatistics Statistics(const std::vector<std::int32_t>& counts, std::int32_t total,
                          const NGramCounter& ngrams, const ReferenceTable* reference) {
    TextStatistics statistics;
    statistics.letters = total;
    statistics.coincidence = IndexOfCoincidence(counts, total);
    statistics.entropy = Entropy(counts, total);
    if (reference != nullptr) {
        statistics.expectedCoincidence = ExpectedCoincidence(*reference);
        statistics.chiSquare = ChiSquare(counts, total, *reference);
    }
    statistics.frequencyOrder = FrequencyOrder(counts);
    statistics.bigrams = CommonestShares(ngrams, 2);
    statistics.trigrams = CommonestShares(ngrams, 3);
    return statistics;
}

} // namespace tallivo
