// Random counts and totals through the report functions: each report line must read back as
// the numbers it was made from.

#include "analysis_error.h"
#include "frequency_report.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tallivo;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Reads "X = count  (percent%)" back; the separator is ",".
void CheckLine(const std::string& line, int n, std::int32_t count, float percent) {
    Check(line.size() > 8 && line[0] == char(64 + n) && line.compare(1, 3, " = ") == 0);
    const std::size_t open = line.find("  (", 4);
    Check(open != std::string::npos && line.compare(line.size() - 2, 2, "%)") == 0);
    std::int64_t readCount = 0;
    const auto countEnd = std::from_chars(line.data() + 4, line.data() + open, readCount);
    Check(countEnd.ec == std::errc() && countEnd.ptr == line.data() + open && readCount == count);
    std::string text = line.substr(open + 3, line.size() - open - 5);
    Check(text.find('.') == std::string::npos); // the caller's separator stands in its place
    if (const std::size_t comma = text.find(','); comma != std::string::npos) {
        Check(text.find_first_of("eE") != std::string::npos || text.size() - comma - 1 <= 2);
        text[comma] = '.';
    }
    float readPercent = 0;
    const auto percentEnd = std::from_chars(text.data(), text.data() + text.size(), readPercent);
    Check(percentEnd.ec == std::errc() && percentEnd.ptr == text.data() + text.size());
    Check(readPercent == percent);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) {
        return 0;
    }
    std::int32_t count = 0;
    std::int32_t total = 0;
    std::memcpy(&count, data, 4);
    std::memcpy(&total, data + 4, 4);
    const int n = 1 + (size > 8 ? data[8] % 26 : 0);

    if (total == 0) {
        try {
            RoundedPercent(count, total, PercentPattern::ZeroHashHash);
            std::abort();
        } catch (const AnalysisFailure& failure) {
            Check(failure.kind() == AnalysisError::ZeroTotal);
        }
        return 0;
    }

    const float percent = RoundedPercent(count, total, PercentPattern::ZeroHashHash);
    const long double exact = (long double)count * 100.0L / (long double)total;
    // Two decimals, halves away from zero, then the nearest float: within half a hundredth.
    Check(std::fabs((long double)percent - exact) <= 0.005L + std::fabs(exact) * 1e-6L);

    try {
        Check(RoundedPercent(count, total, PercentPattern::HashHash) == percent);
        Check(percent != 0.0F);
    } catch (const AnalysisFailure& failure) {
        Check(failure.kind() == AnalysisError::NoDigit && percent == 0.0F);
    }

    CheckLine(FrequencyLine(n, count, percent, ","), n, count, percent);

    const std::string totalLine = TotalLine(total);
    std::int64_t readTotal = 0;
    const auto totalEnd =
        std::from_chars(totalLine.data() + 16, totalLine.data() + totalLine.size(), readTotal);
    Check(totalLine.compare(0, 16, "Tot. caratteri= ") == 0 && totalEnd.ec == std::errc() &&
          totalEnd.ptr == totalLine.data() + totalLine.size() && readTotal == total);

    try {
        const std::int16_t height = BarHeight(percent);
        Check(std::fabs(double(height) - double(percent)) <= 0.5);
    } catch (const AnalysisFailure& failure) {
        Check(failure.kind() == AnalysisError::OutOfRange && std::fabs(percent) > 32767.0F);
    }
    return 0;
}
