#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// The two ways a percentage is formatted before it is read back: "0.##" always writes the
// integer part, "#.##" drops an integer part of zero and so writes no digit below 0.005.
enum class PercentPattern {
    ZeroHashHash, // "0.##", used by the analysis
    HashHash,     // "#.##", used by the scale options
};

// Returns count / total in percent rounded at the second decimal, halves away from zero,
// as the single-precision number nearest to that two-decimal value.
// Throws AnalysisFailure(ZeroTotal) when total is 0, and with PercentPattern::HashHash
// AnalysisFailure(NoDigit) when the value rounds to 0.00.
float RoundedPercent(std::int32_t count, std::int32_t total, PercentPattern pattern);

// Returns the report line of letter n (1 = A ... 26 = Z), e.g. "E = 1234  (12.34%)", with
// decimalSeparator between the integer and the decimal digits of the percentage.
std::string FrequencyLine(int n, std::int32_t count, float percent,
                          std::string_view decimalSeparator);

// Returns the percentage as the report shows it: at most two decimals, no trailing zeros.
std::string PercentText(float percent, std::string_view decimalSeparator);

// Returns the last line of the report, e.g. "Tot. caratteri= 10000".
std::string TotalLine(std::int32_t total);

// Returns the lines of the report list: a line per letter A to Z and the total line; only the
// total line when total is 0, since there are no percentages to show.
std::vector<std::string> ReportLines(const std::vector<std::int32_t>& counts, std::int32_t total,
                                     std::string_view decimalSeparator);

// Returns the report as tab-separated text a spreadsheet reads as columns: a header line
// "Lettera\tConteggio\tPercentuale", "E\t1234\t12,34" for each letter A to Z (the percentage
// as the report shows it, without "%"), and "Totale\tN"; every line ends with a line feed.
// With expected (percentages of a reference) a fourth column "Atteso" gives each letter's
// expected percentage with two decimals. Throws AnalysisFailure(ZeroTotal) when total is 0.
std::string ReportTable(const std::vector<std::int32_t>& counts, std::int32_t total,
                        std::string_view decimalSeparator,
                        const std::array<double, 26>* expected = nullptr);

// Returns the bar height of a percentage: the nearest whole number, halves to even
// (12.5 gives 12, 13.5 gives 14). Throws AnalysisFailure(OutOfRange) past 16 bits.
std::int16_t BarHeight(float percent);

} // namespace tallivo
