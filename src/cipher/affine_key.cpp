#include "affine_key.h"

#include "key_text.h"
#include "text_statistics.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

// Returns a table mapping each letter x to (a * x + b) mod 26, case kept.
ByteTable LinearTable(int a, int b) {
    ByteTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        table[std::size_t(byte)] = static_cast<unsigned char>(byte);
    }
    for (int x = 0; x < 26; ++x) {
        const int y = ((a * x + b) % 26 + 26) % 26;
        table[std::size_t('a' + x)] = static_cast<unsigned char>('a' + y);
        table[std::size_t('A' + x)] = static_cast<unsigned char>('A' + y);
    }
    return table;
}

} // namespace

Parsed<AffineKey> AffineKey::Parse(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.empty()) {
        return KeyError::Empty;
    }
    if (fields.size() != 2) {
        return KeyError::NotANumber;
    }
    const std::optional<int> a = ReadNumber(fields[0]);
    const std::optional<int> b = ReadNumber(fields[1]);
    if (!a || !b) {
        return KeyError::NotANumber;
    }
    if (*a > 25 || *b > 25) {
        return KeyError::OutOfRange;
    }
    if (std::find(kMultipliers.begin(), kMultipliers.end(), *a) == kMultipliers.end()) {
        return KeyError::NotCoprime;
    }
    return AffineKey(*a, *b);
}

AffineKey AffineKey::Random(std::mt19937_64& random) {
    // Index 0 is a = 1, b = 0, the key that changes nothing.
    return OfIndex(std::uniform_int_distribution<int>(1, kKeys - 1)(random));
}

AffineKey AffineKey::OfIndex(int index) {
    return AffineKey(kMultipliers[std::size_t(index / 26)], index % 26);
}

std::string AffineKey::Text() const {
    return std::to_string(a_) + "," + std::to_string(b_);
}

int AffineKey::InverseMultiplier() const {
    for (const int inverse : kMultipliers) {
        if (a_ * inverse % 26 == 1) {
            return inverse;
        }
    }
    return 1;
}

ByteTable AffineKey::EncryptTable() const {
    return LinearTable(a_, b_);
}

ByteTable AffineKey::DecryptTable() const {
    // x = (y - b) / a, that is the inverse multiplier times y, minus it times b.
    const int inverse = InverseMultiplier();
    return LinearTable(inverse, -inverse * b_);
}

std::vector<AffineChiSquare> AffineChiSquares(const std::vector<std::int32_t>& counts,
                                              const ReferenceTable& reference) {
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    std::vector<AffineChiSquare> ranked;
    for (int index = 0; index < AffineKey::kKeys; ++index) {
        const AffineKey key = AffineKey::OfIndex(index);
        const double chiSquare =
            total > 0 ? ChiSquare(TabledCounts(counts, key.DecryptTable()), total, reference) : 0.0;
        ranked.push_back({key, chiSquare});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const AffineChiSquare& x, const AffineChiSquare& y) {
                         return x.chiSquare < y.chiSquare;
                     });
    return ranked;
}

} // namespace tallivo
