#include "substitution_key.h"

#include "cipher_text.h"
#include "key_text.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

std::optional<SubstitutionKey> SubstitutionKey::FromText(std::string_view text) {
    if (text.size() != 26) {
        return std::nullopt;
    }
    SubstitutionKey key;
    for (int cipher = 0; cipher < 26; ++cipher) {
        const char c = text[std::size_t(cipher)];
        if (c == '.') {
            continue;
        }
        const int plain = LetterIndex(static_cast<unsigned char>(c));
        if (plain < 0) {
            return std::nullopt;
        }
        key.Assign(cipher, plain);
    }
    return key;
}

Parsed<SubstitutionKey> SubstitutionKey::Parse(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return KeyError::Empty;
    }
    if (text.size() != 26) {
        return KeyError::WrongLength;
    }
    SubstitutionKey key;
    std::array<bool, 26> used{};
    for (int cipher = 0; cipher < 26; ++cipher) {
        const int plain = LetterIndex(static_cast<unsigned char>(text[std::size_t(cipher)]));
        if (plain < 0) {
            return KeyError::NotALetter;
        }
        if (used[std::size_t(plain)]) {
            return KeyError::RepeatedLetter;
        }
        used[std::size_t(plain)] = true;
        key.Assign(cipher, plain);
    }
    return key;
}

SubstitutionKey SubstitutionKey::Random(std::mt19937_64& random) {
    std::array<int, 26> plain{};
    std::iota(plain.begin(), plain.end(), 0);
    // Fisher-Yates with the caller's generator, so that a seed gives the same key everywhere.
    for (int i = 25; i > 0; --i) {
        const int j = std::uniform_int_distribution<int>(0, i)(random);
        std::swap(plain[std::size_t(i)], plain[std::size_t(j)]);
    }
    SubstitutionKey key;
    for (int cipher = 0; cipher < 26; ++cipher) {
        key.Assign(cipher, plain[std::size_t(cipher)]);
    }
    return key;
}

SubstitutionKey SubstitutionKey::ByFrequency(const std::vector<std::int32_t>& counts,
                                             const ReferenceTable& reference) {
    std::array<int, 26> cipherOrder{};
    std::array<int, 26> plainOrder{};
    std::iota(cipherOrder.begin(), cipherOrder.end(), 0);
    std::iota(plainOrder.begin(), plainOrder.end(), 0);
    std::stable_sort(cipherOrder.begin(), cipherOrder.end(), [&counts](int a, int b) {
        return counts[std::size_t(a)] > counts[std::size_t(b)];
    });
    std::stable_sort(plainOrder.begin(), plainOrder.end(), [&reference](int a, int b) {
        return reference[std::size_t(a)] > reference[std::size_t(b)];
    });
    SubstitutionKey key;
    for (int rank = 0; rank < 26 && counts[std::size_t(cipherOrder[std::size_t(rank)])] > 0;
         ++rank) {
        key.Assign(cipherOrder[std::size_t(rank)], plainOrder[std::size_t(rank)]);
    }
    return key;
}

std::string SubstitutionKey::Text() const {
    std::string text(26, '.');
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (PlainOf(cipher) != kNone) {
            text[std::size_t(cipher)] = char('a' + PlainOf(cipher));
        }
    }
    return text;
}

SubstitutionKey SubstitutionKey::Inverse() const {
    SubstitutionKey inverse;
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (PlainOf(cipher) != kNone) {
            inverse.Assign(PlainOf(cipher), cipher);
        }
    }
    return inverse;
}

bool SubstitutionKey::IsFull() const {
    const std::array<bool, 26> repeated = Repeated();
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (PlainOf(cipher) == kNone || repeated[std::size_t(cipher)]) {
            return false;
        }
    }
    return true;
}

std::array<bool, 26> SubstitutionKey::Repeated() const {
    std::array<int, 26> uses{};
    for (const std::int8_t plain : plain_) {
        if (plain != kNone) {
            ++uses[std::size_t(plain)];
        }
    }
    std::array<bool, 26> repeated{};
    for (int cipher = 0; cipher < 26; ++cipher) {
        repeated[std::size_t(cipher)] =
            PlainOf(cipher) != kNone && uses[std::size_t(PlainOf(cipher))] > 1;
    }
    return repeated;
}

} // namespace tallivo
