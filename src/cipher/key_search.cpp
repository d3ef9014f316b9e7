#include "key_search.h"

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

std::vector<std::vector<std::int32_t>> ColumnCounts(const std::vector<std::uint8_t>& letters,
                                                    int period) {
    std::vector<std::vector<std::int32_t>> columns(std::size_t(period),
                                                   std::vector<std::int32_t>(26, 0));
    std::size_t column = 0;
    for (const std::uint8_t letter : letters) {
        ++columns[column][letter];
        column = column + 1 == columns.size() ? 0 : column + 1;
    }
    return columns;
}

std::vector<double> PeriodCoincidences(const std::vector<std::uint8_t>& letters, int maxPeriod) {
    std::vector<double> coincidences;
    for (int period = 1; period <= maxPeriod; ++period) {
        double sum = 0.0;
        int columns = 0;
        for (const std::vector<std::int32_t>& column : ColumnCounts(letters, period)) {
            const std::int32_t total =
                std::accumulate(column.begin(), column.end(), std::int32_t{0});
            if (const std::optional<double> ic = IndexOfCoincidence(column, total)) {
                sum += *ic;
                ++columns;
            }
        }
        coincidences.push_back(columns > 0 ? sum / columns : 0.0);
    }
    return coincidences;
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

std::vector<int> BestShifts(const std::vector<std::uint8_t>& letters, int period,
                            const ReferenceTable& reference) {
    std::vector<int> shifts;
    for (const std::vector<std::int32_t>& column : ColumnCounts(letters, period)) {
        shifts.push_back(BestShift(ShiftChiSquares(column, reference)));
    }
    return shifts;
}

KasiskiExamination Kasiski(const std::vector<std::uint8_t>& letters, int maxPeriod,
                           std::size_t repeatsShown) {
    constexpr std::size_t kTrigrams = 26 * 26 * 26;
    constexpr std::uint64_t kNever = ~std::uint64_t{0};
    // Distances up to this many letters are counted in a histogram, longer ones one by one.
    constexpr std::uint64_t kHistogram = 1 << 16;
    KasiskiExamination result;
    result.divided.assign(std::size_t(maxPeriod), 0);
    std::vector<std::uint64_t> last(kTrigrams, kNever);
    std::vector<std::uint64_t> first(kTrigrams, kNever);
    std::vector<std::uint64_t> second(kTrigrams, kNever);
    std::vector<std::uint64_t> occurrences(kTrigrams, 0);
    std::vector<std::uint64_t> histogram(kHistogram, 0);
    for (std::size_t i = 0; i + 3 <= letters.size(); ++i) {
        const std::size_t code = (letters[i] * 26U + letters[i + 1]) * 26U + letters[i + 2];
        ++occurrences[code];
        if (last[code] != kNever) {
            const std::uint64_t distance = i - last[code];
            ++result.distances;
            if (distance < kHistogram) {
                ++histogram[distance];
            } else {
                for (int period = 1; period <= maxPeriod; ++period) {
                    result.divided[std::size_t(period - 1)] += distance % period == 0 ? 1 : 0;
                }
            }
            second[code] = second[code] == kNever ? i : second[code];
        } else {
            first[code] = i;
        }
        last[code] = i;
    }
    for (int period = 1; period <= maxPeriod; ++period) {
        for (std::uint64_t distance = std::uint64_t(period); distance < kHistogram;
             distance += std::uint64_t(period)) {
            result.divided[std::size_t(period - 1)] += histogram[distance];
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
        if (second[code] == kNever) {
            continue;
        }
        std::size_t length = 3;
        while (length < kLongest && second[code] + length < letters.size() &&
               letters[first[code] + length] == letters[second[code] + length]) {
            ++length;
        }
        candidates.push_back({code, length});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&occurrences](const Candidate& a, const Candidate& b) {
                         return a.length != b.length ? a.length > b.length
                                                     : occurrences[a.code] > occurrences[b.code];
                     });
    candidates.resize(std::min(candidates.size(), repeatsShown));
    constexpr std::size_t kDistancesShown = 6;
    std::vector<int> slot(kTrigrams, -1);
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        const Candidate& candidate = candidates[k];
        Repeat repeat;
        for (std::size_t j = 0; j < candidate.length; ++j) {
            repeat.letters += char('A' + letters[first[candidate.code] + j]);
        }
        repeat.occurrences = occurrences[candidate.code];
        result.repeats.push_back(repeat);
        slot[candidate.code] = int(k);
    }
    // A second pass for the first distances of the repeats shown.
    std::fill(last.begin(), last.end(), kNever);
    for (std::size_t i = 0; i + 3 <= letters.size(); ++i) {
        const std::size_t code = (letters[i] * 26U + letters[i + 1]) * 26U + letters[i + 2];
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
