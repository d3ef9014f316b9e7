#include "key_mapping.h"

#include "cipher_text.h"

#include <algorithm>

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

ByteTable ReflectTable(int key) {
    ByteTable table = Identity();
    for (int cipher = 0; cipher < 26; ++cipher) {
        SetLetter(table, cipher, Back(key, cipher));
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

std::size_t ApplyShifts(std::string_view in, const std::vector<int>& shifts, std::string& out,
                        std::size_t firstColumn) {
    std::vector<ByteTable> tables;
    for (const int shift : shifts) {
        tables.push_back(ShiftTable(shift));
    }
    return ApplyTables(in, tables, out, firstColumn);
}

std::size_t ApplyTables(std::string_view in, const std::vector<ByteTable>& tables, std::string& out,
                        std::size_t firstColumn) {
    // One table row per column, laid out flat and repeated for a stretch's worth of letters
    // past the last column, so that inside a stretch the row only ever moves on by one per
    // letter: the only work carried from byte to byte is an addition. The row wraps round
    // once a stretch.
    constexpr std::size_t kStretch = 64;
    const std::size_t period = tables.size();
    std::vector<unsigned char> rows(256 * (period + kStretch));
    for (std::size_t row = 0; row < period + kStretch; ++row) {
        const ByteTable& table = tables[row % period];
        std::copy(table.begin(), table.end(), rows.begin() + std::ptrdiff_t(256 * row));
    }
    std::array<std::uint16_t, 256> step{};
    for (int b = 0; b < 256; ++b) {
        step[std::size_t(b)] = LetterIndex(static_cast<unsigned char>(b)) >= 0 ? 256 : 0;
    }
    out.resize(in.size());
    const auto* from = reinterpret_cast<const unsigned char*>(in.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    const std::size_t cycle = 256 * period;
    std::size_t row = 256 * (firstColumn % period);
    for (std::size_t at = 0; at < in.size(); at += kStretch) {
        const std::size_t end = std::min(in.size(), at + kStretch);
        for (std::size_t i = at; i < end; ++i) {
            const unsigned char b = from[i];
            to[i] = rows[row + b];
            // Only letters move on to the next column.
            row += step[b];
        }
        row %= cycle;
    }
    return row / 256;
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

std::vector<std::int32_t> TabledCounts(const std::vector<std::int32_t>& counts,
                                       const ByteTable& table) {
    std::vector<std::int32_t> plain(26, 0);
    for (int cipher = 0; cipher < 26; ++cipher) {
        const int letter = LetterIndex(table[std::size_t('a' + cipher)]);
        plain[std::size_t(letter)] += counts[std::size_t(cipher)];
    }
    return plain;
}

std::vector<std::int32_t> TabledColumnCounts(const std::vector<std::vector<std::int32_t>>& columns,
                                             const std::vector<ByteTable>& tables) {
    std::vector<std::int32_t> plain(26, 0);
    for (std::size_t c = 0; c < columns.size() && c < tables.size(); ++c) {
        const std::vector<std::int32_t> mapped = TabledCounts(columns[c], tables[c]);
        for (int letter = 0; letter < 26; ++letter) {
            plain[std::size_t(letter)] += mapped[std::size_t(letter)];
        }
    }
    return plain;
}

} // namespace tallivo
