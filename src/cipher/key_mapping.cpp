#include "key_mapping.h"

#include "cipher_text.h"

namespace tallivo {

namespace {

ByteTable Identity() {
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        table[std::size_t(b)] = static_cast<unsigned char>(b);
    }
    return table;
}

// Sets the entries of cipher letter cipher, both cases, to plaintext letter plain.
void SetLetter(ByteTable& table, int cipher, int plain) {
    table[std::size_t('a' + cipher)] = static_cast<unsigned char>('a' + plain);
    table[std::size_t('A' + cipher)] = static_cast<unsigned char>('A' + plain);
}

int Back(int letter, int shift) {
    return ((letter - shift) % 26 + 26) % 26;
}

} // namespace

ByteTable ShiftTable(int shift) {
    ByteTable table = Identity();
    for (int cipher = 0; cipher < 26; ++cipher) {
        SetLetter(table, cipher, Back(cipher, shift));
    }
    return table;
}

ByteTable SubstitutionTable(const SubstitutionKey& key, unsigned char unassigned) {
    ByteTable table = Identity();
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (key.PlainOf(cipher) == SubstitutionKey::kNone) {
            table[std::size_t('a' + cipher)] = table[std::size_t('A' + cipher)] = unassigned;
        } else {
            SetLetter(table, cipher, key.PlainOf(cipher));
        }
    }
    return table;
}

void MapBytes(std::string_view in, const ByteTable& table, std::string& out) {
    out.resize(in.size());
    const auto* from = reinterpret_cast<const unsigned char*>(in.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    for (std::size_t i = 0; i < in.size(); ++i) {
        to[i] = table[from[i]];
    }
}

void ApplyShifts(std::string_view in, const std::vector<int>& shifts, std::string& out) {
    std::vector<ByteTable> tables;
    tables.reserve(shifts.size());
    for (const int shift : shifts) {
        tables.push_back(ShiftTable(shift));
    }
    out.resize(in.size());
    const auto* from = reinterpret_cast<const unsigned char*>(in.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    const std::size_t period = shifts.size();
    std::size_t column = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const unsigned char b = from[i];
        to[i] = tables[column][b];
        // Only letters move on to the next column.
        column += LetterIndex(b) >= 0 ? 1 : 0;
        column = column == period ? 0 : column;
    }
}

std::vector<std::int32_t> ShiftedCounts(const std::vector<std::int32_t>& counts, int shift) {
    std::vector<std::int32_t> plain(26, 0);
    for (int cipher = 0; cipher < 26; ++cipher) {
        plain[std::size_t(Back(cipher, shift))] = counts[std::size_t(cipher)];
    }
    return plain;
}

std::vector<std::int32_t> SubstitutedCounts(const std::vector<std::int32_t>& counts,
                                            const SubstitutionKey& key) {
    std::vector<std::int32_t> plain(26, 0);
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (key.PlainOf(cipher) != SubstitutionKey::kNone) {
            plain[std::size_t(key.PlainOf(cipher))] += counts[std::size_t(cipher)];
        }
    }
    return plain;
}

std::vector<std::int32_t> ShiftedColumnCounts(const std::vector<std::vector<std::int32_t>>& columns,
                                              const std::vector<int>& shifts) {
    std::vector<std::int32_t> plain(26, 0);
    for (std::size_t c = 0; c < columns.size() && c < shifts.size(); ++c) {
        const std::vector<std::int32_t> shifted = ShiftedCounts(columns[c], shifts[c]);
        for (int letter = 0; letter < 26; ++letter) {
            plain[std::size_t(letter)] += shifted[std::size_t(letter)];
        }
    }
    return plain;
}

} // namespace tallivo
