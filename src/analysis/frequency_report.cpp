#include "frequency_report.h"

#include "analysis_error.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tallivo {

float RoundedPercent(std::int32_t count, std::int32_t total, PercentPattern pattern) {
    if (total == 0) {
        throw AnalysisFailure(AnalysisError::ZeroTotal, "percentage of a total of 0");
    }
    // Exact integer rounding of |count| * 10000 / |total| to hundredths, halves away from zero.
    const std::int64_t numerator = std::llabs(std::int64_t{count}) * 10000;
    const std::int64_t denominator = std::llabs(std::int64_t{total});
    std::int64_t hundredths = numerator / denominator;
    if (2 * (numerator % denominator) >= denominator) {
        ++hundredths;
    }
    if (hundredths == 0 && pattern == PercentPattern::HashHash) {
        throw AnalysisFailure(AnalysisError::NoDigit, "percentage below 0.005 has no digit");
    }
    const bool negative = (count < 0) != (total < 0) && hundredths != 0;

    // The decimal text read back gives the float nearest to the two-decimal value.
    char text[32];
    char* end = text;
    if (negative) {
        *end++ = '-';
    }
    end = std::to_chars(end, text + sizeof text, hundredths / 100).ptr;
    *end++ = '.';
    *end++ = char('0' + hundredths % 100 / 10);
    *end++ = char('0' + hundredths % 10);
    float value = 0.0F;
    std::from_chars(text, end, value);
    return value;
}

std::string PercentText(float percent, std::string_view decimalSeparator) {
    // The shortest text that reads back as the same float is the two-decimal value itself.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, percent);
    std::string out(text, result.ptr);
    if (const auto dot = out.find('.'); dot != std::string::npos) {
        out.replace(dot, 1, decimalSeparator);
    }
    return out;
}

std::string FrequencyLine(int n, std::int32_t count, float percent,
                          std::string_view decimalSeparator) {
    std::string line(1, static_cast<char>(64 + n));
    line += " = ";
    line += std::to_string(count);
    line += "  (";
    line += PercentText(percent, decimalSeparator);
    line += "%)";
    return line;
}

std::string TotalLine(std::int32_t total) {
    return "Tot. caratteri= " + std::to_string(total);
}

std::vector<std::string> ReportLines(const std::vector<std::int32_t>& counts, std::int32_t total,
                                     std::string_view decimalSeparator) {
    std::vector<std::string> lines;
    if (total != 0) {
        for (int n = 1; n <= 26; ++n) {
            const std::int32_t count = counts[std::size_t(n - 1)];
            lines.push_back(
                FrequencyLine(n, count, RoundedPercent(count, total, PercentPattern::ZeroHashHash),
                              decimalSeparator));
        }
    }
    lines.push_back(TotalLine(total));
    return lines;
}

std::string ReportTable(const std::vector<std::int32_t>& counts, std::int32_t total,
                        std::string_view decimalSeparator, const std::array<double, 26>* expected) {
    std::string table = "Lettera\tConteggio\tPercentuale";
    table += expected != nullptr ? "\tAtteso\n" : "\n";
    for (int n = 1; n <= int(counts.size()); ++n) {
        const std::int32_t count = counts[n - 1];
        const float percent = RoundedPercent(count, total, PercentPattern::ZeroHashHash);
        table += char(64 + n);
        table += '\t' + std::to_string(count) + '\t' + PercentText(percent, decimalSeparator);
        if (expected != nullptr) {
            char text[32];
            const auto end = std::to_chars(text, text + sizeof text, (*expected)[n - 1],
                                           std::chars_format::fixed, 2)
                                 .ptr;
            std::string value(text, end);
            value.replace(value.find('.'), 1, decimalSeparator);
            table += '\t' + value;
        }
        table += '\n';
    }
    return table + "Totale\t" + std::to_string(total) + '\n';
}

std::int16_t BarHeight(float percent) {
    // The default rounding mode rounds halves to the even neighbour.
    const double nearest = std::nearbyint(double{percent});
    if (!(nearest >= INT16_MIN && nearest <= INT16_MAX)) {
        throw AnalysisFailure(AnalysisError::OutOfRange, "bar height past 16 bits");
    }
    return static_cast<std::int16_t>(nearest);
}

} // namespace tallivo
