#include "key_search.h"

#include "cipher_text.h"
#include "key_mapping.h"
#include "text_statistics.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

std::array<double, 26> ShiftChiSquares(const std::vector<std::int32_t>& counts,
                                       const ReferenceTable& reference) {
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    std::array<double, 26> chiSquares{};
    for (int shift = 0; shift < 26 && total > 0; ++shift) {
        chiSquares[std::size_t(shift)] = ChiSquare(ShiftedCounts(counts, shift), total, reference);
    }
    return chiSquares;
}

int BestShift(const std::array<double, 26>& chiSquares) {
    return int(std::min_element(chiSquares.begin(), chiSquares.end()) - chiSquares.begin());
}

std::array<double, 26> KeyLetterChiSquares(const std::vector<std::int32_t>& counts,
                                           const ReferenceTable& reference, PeriodicSense sense) {
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    std::array<double, 26> chiSquares{};
    for (int k = 0; k < 26 && total > 0; ++k) {
        const PeriodicKey key(sense, {std::uint8_t(k)});
        chiSquares[std::size_t(k)] =
            ChiSquare(TabledCounts(counts, key.DecryptTables().front()), total, reference);
    }
    return chiSquares;
}

std::vector<std::uint8_t> BestKeyLetters(const std::vector<std::vector<std::int32_t>>& columns,
                                         const ReferenceTable& reference, PeriodicSense sense) {
    std::vector<std::uint8_t> letters;
    for (const std::vector<std::int32_t>& column : columns) {
        letters.push_back(std::uint8_t(BestShift(KeyLetterChiSquares(column, reference, sense))));
    }
    return letters;
}

std::vector<std::vector<std::int32_t>> ColumnCounts(std::string_view text, int period) {
    std::vector<std::vector<std::int32_t>> columns(std::size_t(period),
                                                   std::vector<std::int32_t>(26, 0));
    std::size_t column = 0;
    for (const char c : text) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter >= 0) {
            ++columns[column][std::size_t(letter)];
            column = column + 1 == columns.size() ? 0 : column + 1;
        }
    }
    return columns;
}

std::vector<double> PeriodCoincidences(const std::vector<std::uint8_t>& letters, int maxPeriod) {
    PeriodAnalysis analysis(maxPeriod);
    analysis.Update(letters);
    return analysis.Coincidences();
}

int BestPeriod(const std::vector<double>& coincidences, double languageCoincidence) {
    if (coincidences.empty()) {
        return 1;
    }
    const double random = 1.0 / 26.0;
    const double best = *std::max_element(coincidences.begin(), coincidences.end());
    const double threshold = random + 0.75 * (std::min(best, languageCoincidence) - random);
    for (std::size_t i = 0; i < coincidences.size(); ++i) {
        if (coincidences[i] >= threshold) {
            return int(i) + 1;
        }
    }
    return 1;
}

std::vector<int> BestShifts(std::string_view text, int period, const ReferenceTable& reference) {
    std::vector<int> shifts;
    for (const std::vector<std::int32_t>& column : ColumnCounts(text, period)) {
        shifts.push_back(BestShift(ShiftChiSquares(column, reference)));
    }
    return shifts;
}

KasiskiExamination Kasiski(const std::vector<std::uint8_t>& letters, int maxPeriod,
                           std::size_t repeatsShown) {
    PeriodAnalysis analysis(maxPeriod);
    analysis.Update(letters);
    return analysis.Examination(letters, repeatsShown);
}

namespace {

constexpr std::uint64_t kNever = ~std::uint64_t{0};
// Distances up to this many letters are counted in a histogram, longer ones one by one.
constexpr std::uint64_t kHistogram = 1 << 16;

std::size_t Trigram(const std::vector<std::uint8_t>& letters, std::size_t i) {
    return (letters[i] * 26U + letters[i + 1]) * 26U + letters[i + 2];
}

} // namespace

PeriodAnalysis::PeriodAnalysis(int maxPeriod)
    : maxPeriod_(maxPeriod)
    , residuesOf_(std::size_t(std::max(maxPeriod, 0)), 0)
    , divided_(std::size_t(std::max(maxPeriod, 0)), 0)
    , last_(kTrigrams, kNever)
    , first_(kTrigrams, kNever)
    , second_(kTrigrams, kNever)
    , occurrences_(kTrigrams, 0)
    , histogram_(kHistogram, 0) {
    // Longest periods first, each into the modulus it grows least, kept under a bound that
    // holds the counts in the processor's cache.
    constexpr std::size_t kLargestModulus = 2600;
    for (int period = maxPeriod; period >= 1; --period) {
        std::size_t chosen = residues_.size();
        std::size_t smallest = kLargestModulus + 1;
        for (std::size_t k = 0; k < residues_.size(); ++k) {
            const std::size_t grown = std::lcm(residues_[k].modulus, std::size_t(period));
            if (grown < smallest) {
                smallest = grown;
                chosen = k;
            }
        }
        if (chosen == residues_.size()) {
            residues_.push_back({std::size_t(period), 0, {}});
        } else {
            residues_[chosen].modulus = smallest;
        }
        residuesOf_[std::size_t(period - 1)] = chosen;
    }
    for (Residues& residues : residues_) {
        residues.counts.assign(26 * residues.modulus, 0);
    }
}

void PeriodAnalysis::Update(const std::vector<std::uint8_t>& letters) {
    // One pass over the new letters per modulus, each keeping its own row.
    for (Residues& residues : residues_) {
        std::uint32_t* counts = residues.counts.data();
        std::size_t row = residues.row;
        for (std::size_t i = done_; i < letters.size(); ++i) {
            ++counts[26 * row + letters[i]];
            row = row + 1 == residues.modulus ? 0 : row + 1;
        }
        residues.row = row;
    }
    done_ = letters.size();
    for (std::size_t i = trigramsDone_; i + 3 <= letters.size(); ++i) {
        const std::size_t code = Trigram(letters, i);
        ++occurrences_[code];
        if (last_[code] != kNever) {
            const std::uint64_t distance = i - last_[code];
            ++distances_;
            if (distance < kHistogram) {
                ++histogram_[distance];
            } else {
                for (int period = 1; period <= maxPeriod_; ++period) {
                    divided_[std::size_t(period - 1)] +=
                        distance % std::uint64_t(period) == 0 ? 1 : 0;
                }
            }
            second_[code] = second_[code] == kNever ? i : second_[code];
        } else {
            first_[code] = i;
        }
        last_[code] = i;
    }
    trigramsDone_ = std::max(trigramsDone_, letters.size() < 2 ? 0 : letters.size() - 2);
}

std::vector<std::uint64_t> PeriodAnalysis::ColumnTotals(int period) const {
    const Residues& residues = residues_[residuesOf_[std::size_t(period - 1)]];
    std::vector<std::uint64_t> totals(26 * std::size_t(period), 0);
    for (std::size_t row = 0; row < residues.modulus; ++row) {
        std::uint64_t* column = totals.data() + 26 * (row % std::size_t(period));
        const std::uint32_t* counts = residues.counts.data() + 26 * row;
        for (std::size_t letter = 0; letter < 26; ++letter) {
            column[letter] += counts[letter];
        }
    }
    return totals;
}

std::vector<double> PeriodAnalysis::Coincidences() const {
    std::vector<double> coincidences;
    for (int period = 1; period <= maxPeriod_; ++period) {
        const std::vector<std::uint64_t> counts = ColumnTotals(period);
        double sum = 0.0;
        int columns = 0;
        for (int column = 0; column < period; ++column) {
            std::uint64_t total = 0;
            double pairs = 0.0;
            for (int letter = 0; letter < 26; ++letter) {
                const double n = double(counts[std::size_t(26 * column + letter)]);
                total += counts[std::size_t(26 * column + letter)];
                pairs += n * (n - 1.0);
            }
            if (total >= 2) {
                sum += pairs / (double(total) * double(total - 1));
                ++columns;
            }
        }
        coincidences.push_back(columns > 0 ? sum / columns : 0.0);
    }
    return coincidences;
}

std::vector<std::vector<std::int32_t>> PeriodAnalysis::ColumnCounts(int period) const {
    const std::vector<std::uint64_t> counts = ColumnTotals(period);
    std::vector<std::vector<std::int32_t>> columns(std::size_t(period),
                                                   std::vector<std::int32_t>(26, 0));
    for (int column = 0; column < period; ++column) {
        for (int letter = 0; letter < 26; ++letter) {
            columns[std::size_t(column)][std::size_t(letter)] =
                std::int32_t(counts[std::size_t(26 * column + letter)]);
        }
    }
    return columns;
}

KasiskiExamination PeriodAnalysis::Examination(const std::vector<std::uint8_t>& letters,
                                               std::size_t repeatsShown) const {
    KasiskiExamination result;
    result.distances = distances_;
    result.divided = divided_;
    for (int period = 1; period <= maxPeriod_; ++period) {
        for (std::uint64_t distance = std::uint64_t(period); distance < kHistogram;
             distance += std::uint64_t(period)) {
            result.divided[std::size_t(period - 1)] += histogram_[distance];
        }
    }

    // The repeats to show: each repeated three-letter sequence as far as its first two
    // occurrences agree, longest first, then commonest.
    struct Candidate {
        std::size_t code;
        std::size_t length;
    };
    constexpr std::size_t kLongest = 40;
    std::vector<Candidate> candidates;
    for (std::size_t code = 0; code < kTrigrams; ++code) {
        if (second_[code] == kNever) {
            continue;
        }
        std::size_t length = 3;
        while (length < kLongest && second_[code] + length < letters.size() &&
               letters[first_[code] + length] == letters[second_[code] + length]) {
            ++length;
        }
        candidates.push_back({code, length});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [this](const Candidate& a, const Candidate& b) {
                         return a.length != b.length ? a.length > b.length
                                                     : occurrences_[a.code] > occurrences_[b.code];
                     });
    // A repeat inside one already chosen (same distance, starting within it) adds nothing.
    std::vector<Candidate> chosen;
    for (const Candidate& candidate : candidates) {
        if (chosen.size() == repeatsShown) {
            break;
        }
        const std::uint64_t start = first_[candidate.code];
        const std::uint64_t distance = second_[candidate.code] - start;
        const bool inside = std::any_of(chosen.begin(), chosen.end(), [&](const Candidate& c) {
            return second_[c.code] - first_[c.code] == distance && start >= first_[c.code] &&
                   start < first_[c.code] + c.length;
        });
        if (!inside) {
            chosen.push_back(candidate);
        }
    }
    candidates = std::move(chosen);
    constexpr std::size_t kDistancesShown = 6;
    std::vector<int> slot(kTrigrams, -1);
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        Repeat repeat;
        for (std::size_t j = 0; j < candidates[k].length; ++j) {
            repeat.letters += char('A' + letters[first_[candidates[k].code] + j]);
        }
        repeat.occurrences = occurrences_[candidates[k].code];
        result.repeats.push_back(repeat);
        slot[candidates[k].code] = int(k);
    }
    // The first distances of the repeats shown, from their first occurrences on.
    std::vector<std::uint64_t> last(kTrigrams, kNever);
    for (std::size_t i = 0; i + 3 <= letters.size() && !candidates.empty(); ++i) {
        const std::size_t code = Trigram(letters, i);
        if (slot[code] < 0) {
            continue;
        }
        std::vector<std::uint64_t>& distances = result.repeats[std::size_t(slot[code])].distances;
        if (last[code] != kNever && distances.size() < kDistancesShown) {
            distances.push_back(i - last[code]);
        }
        last[code] = i;
    }
    return result;
}

} // namespace tallivo
