#pragma once

#include "periodic_key.h"
#include "reference_frequencies.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Finding keys from the letters of a ciphertext (0 = a, non-letters already left out) and a
// language's frequencies.

// The chi-squared distance from the reference of the plaintext under each shift 0..25.
std::array<double, 26> ShiftChiSquares(const std::vector<std::int32_t>& counts,
                                       const ReferenceTable& reference);

// The shift with the smallest chi-squared (the lowest such shift on a tie).
int BestShift(const std::array<double, 26>& chiSquares);

// The chi-squared distance from the reference of a column's plaintext under each key letter
// 0..25 of sense (for Vigenère, the same as ShiftChiSquares).
std::array<double, 26> KeyLetterChiSquares(const std::vector<std::int32_t>& counts,
                                           const ReferenceTable& reference, PeriodicSense sense);

// The keyword of sense, one letter per column, each the best by chi-squared for its column.
std::vector<std::uint8_t> BestKeyLetters(const std::vector<std::vector<std::int32_t>>& columns,
                                         const ReferenceTable& reference, PeriodicSense sense);

// The letter counts of each of the period columns of a text: its n-th letter (non-letters
// skipped) goes to column n % period.
std::vector<std::vector<std::int32_t>> ColumnCounts(std::string_view text, int period);

// For each period 1..maxPeriod (index period - 1), the average index of coincidence of its
// columns; columns of fewer than two letters are left out, a period with none gives 0.
std::vector<double> PeriodCoincidences(const std::vector<std::uint8_t>& letters, int maxPeriod);

// The smallest period whose average index of coincidence comes within a clear margin of the
// language's (or of the best period's, where no period reaches the language): three quarters
// of the way from a random text's 1/26 to it. A multiple of the true period scores as well as
// the period itself, so the smallest one wins.
int BestPeriod(const std::vector<double>& coincidences, double languageCoincidence);

// The shifts, one per column of the text, each the best by chi-squared for its column.
std::vector<int> BestShifts(std::string_view text, int period, const ReferenceTable& reference);

// A sequence of letters the text repeats: its letters (capitals), how often its first three
// letters occur, and the first distances between those occurrences.
struct Repeat {
    std::string letters;
    std::uint64_t occurrences = 0;
    std::vector<std::uint64_t> distances;
};

// The Kasiski examination over the repeats of every three-letter sequence: the distances
// between each occurrence and the next, and for each period 1..maxPeriod (index period - 1)
// how many of them it divides; with the longest repeated sequences for the student to see.
struct KasiskiExamination {
    std::uint64_t distances = 0;
    std::vector<std::uint64_t> divided;
    std::vector<Repeat> repeats;
};

KasiskiExamination Kasiski(const std::vector<std::uint8_t>& letters, int maxPeriod,
                           std::size_t repeatsShown);

// The period table and the Kasiski examination built as the letters of a text arrive, so that
// a long text is examined while it is read: Update takes the letters added since its last
// call (letters only grows).
class PeriodAnalysis {
public:
    explicit PeriodAnalysis(int maxPeriod);

    void Update(const std::vector<std::uint8_t>& letters);

    int maxPeriod() const { return maxPeriod_; }

    // The average index of coincidence per period, as PeriodCoincidences gives it.
    std::vector<double> Coincidences() const;

    // The letter counts of each column of period (1..maxPeriod), as ColumnCounts gives them
    // for the letters given so far.
    std::vector<std::vector<std::int32_t>> ColumnCounts(int period) const;

    // The Kasiski examination, as Kasiski gives it, of the letters given so far.
    KasiskiExamination Examination(const std::vector<std::uint8_t>& letters,
                                   std::size_t repeatsShown) const;

private:
    static constexpr std::size_t kTrigrams = 26 * 26 * 26;
    int maxPeriod_;
    std::size_t done_ = 0;         // letters counted into the columns
    std::size_t trigramsDone_ = 0; // three-letter sequences examined
    // The letters counted by their place modulo a few moduli, each period dividing one of them
    // (40 periods take seven: 1560, 1406 ...): a period's column counts are the sum of the rows
    // of its residues, and each letter is counted once a modulus, not once a period.
    struct Residues {
        std::size_t modulus = 1;
        std::size_t row = 0; // the row the next letter goes to
        std::vector<std::uint32_t> counts;
    };
    // Returns the counts of period's columns, 26 a column.
    std::vector<std::uint64_t> ColumnTotals(int period) const;

    std::vector<Residues> residues_;
    std::vector<std::size_t> residuesOf_; // for each period, the index of its moduli's counts
    std::uint64_t distances_ = 0;
    std::vector<std::uint64_t> divided_;
    std::vector<std::uint64_t> last_, first_, second_, occurrences_, histogram_;
};

} // namespace tallivo
