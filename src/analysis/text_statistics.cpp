#include "text_statistics.h"

#include "frequency_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace tallivo {

namespace {

constexpr double kRandomCoincidence = 1.0 / kLetterCount;

// Returns value with decimals digits after decimalSeparator.
std::string Fixed(double value, int decimals, std::string_view decimalSeparator) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out(text);
    if (const auto dot = out.find('.'); dot != std::string::npos) {
        out.replace(dot, 1, decimalSeparator);
    }
    return out;
}

void AddNGramLines(std::vector<std::string>& lines, const NGramCounter& ngrams, int n,
                   const char* heading, std::string_view decimalSeparator) {
    const std::vector<NGram> commonest = ngrams.Commonest(n, 10);
    if (commonest.empty()) {
        return;
    }
    lines.emplace_back(heading);
    const auto all = std::int32_t(ngrams.Total(n));
    for (const NGram& ngram : commonest) {
        const auto count = std::int32_t(ngram.count);
        const float percent = RoundedPercent(count, all, PercentPattern::ZeroHashHash);
        lines.push_back(ngram.letters + " " + std::to_string(count) + " (" +
                        PercentText(percent, decimalSeparator) + "%)");
    }
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

std::vector<std::string> StatisticsLines(const std::vector<std::int32_t>& counts,
                                         std::int32_t total, const NGramCounter& ngrams,
                                         const NamedReference* reference,
                                         std::string_view decimalSeparator) {
    std::vector<std::string> lines;
    lines.push_back("Lettere: " + std::to_string(total));

    std::string coincidence = "Indice di coincidenza: ";
    if (const auto ic = IndexOfCoincidence(counts, total)) {
        coincidence += Fixed(*ic, 4, decimalSeparator) + " (";
        if (reference != nullptr) {
            coincidence += reference->name + " " +
                           Fixed(ExpectedCoincidence(reference->table), 4, decimalSeparator) + "; ";
        }
        coincidence += "casuale " + Fixed(kRandomCoincidence, 4, decimalSeparator) + ")";
    } else {
        coincidence += "\u2014";
    }
    lines.push_back(coincidence);

    lines.push_back("Entropia: " + Fixed(Entropy(counts, total), 3, decimalSeparator) +
                    " bit per lettera");
    if (reference != nullptr) {
        lines.push_back("Chi quadro: " +
                        Fixed(ChiSquare(counts, total, reference->table), 1, decimalSeparator));
    }
    lines.push_back("Ordine di frequenza: " + FrequencyOrder(counts));
    AddNGramLines(lines, ngrams, 2, "Bigrammi pi\u00f9 frequenti:", decimalSeparator);
    AddNGramLines(lines, ngrams, 3, "Trigrammi pi\u00f9 frequenti:", decimalSeparator);
    return lines;
}

} // namespace tallivo
