#include "playfair_key.h"

#include "cipher_text.h"
#include "key_text.h"
#include "letter_layout.h"

#include <numeric>

namespace tallivo {

namespace {

std::uint8_t WithoutJ(std::uint8_t letter) {
    return letter == PlayfairKey::kJ ? PlayfairKey::kI : letter;
}

} // namespace

PlayfairKey::PlayfairKey() {
    std::uint8_t cell = 0;
    for (std::uint8_t letter = 0; letter < 26; ++letter) {
        if (letter != kJ) {
            square_[cell++] = letter;
        }
    }
    *this = PlayfairKey(square_);
}

PlayfairKey::PlayfairKey(const std::array<std::uint8_t, kCells>& square)
    : square_(square) {
    for (int cell = 0; cell < kCells; ++cell) {
        cell_[square_[std::size_t(cell)]] = std::uint8_t(cell);
    }
    cell_[kJ] = cell_[kI];
}

Parsed<PlayfairKey> PlayfairKey::Parse(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return KeyError::Empty;
    }
    std::array<bool, 26> used{};
    used[kJ] = true;
    std::array<std::uint8_t, kCells> square{};
    std::size_t cells = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter < 0) {
            return KeyError::NotALetter;
        }
        const std::uint8_t plain = WithoutJ(std::uint8_t(letter));
        if (!used[plain]) {
            used[plain] = true;
            square[cells++] = plain;
        }
    }
    for (std::uint8_t letter = 0; letter < 26; ++letter) {
        if (!used[letter]) {
            square[cells++] = letter;
        }
    }
    return PlayfairKey(square);
}

PlayfairKey PlayfairKey::Random(std::mt19937_64& random) {
    std::array<std::uint8_t, kCells> square = PlayfairKey().square_;
    for (std::size_t i = kCells; i-- > 1;) {
        std::swap(square[i], square[std::uniform_int_distribution<std::size_t>(0, i)(random)]);
    }
    return PlayfairKey(square);
}

std::string PlayfairKey::Text() const {
    std::string text;
    for (const std::uint8_t letter : square_) {
        text += char('A' + letter);
    }
    return text;
}

PlayfairKey::PairTable PlayfairKey::Pairs(int step) const {
    PairTable pairs{};
    for (int a = 0; a < 26; ++a) {
        for (int b = 0; b < 26; ++b) {
            const int ra = cell_[std::size_t(a)] / kSide;
            const int ca = cell_[std::size_t(a)] % kSide;
            const int rb = cell_[std::size_t(b)] / kSide;
            const int cb = cell_[std::size_t(b)] % kSide;
            int cellA = 0;
            int cellB = 0;
            if (ra == rb && ca == cb) {
                pairs[std::size_t(a * 26 + b)] = {std::uint8_t(a), std::uint8_t(b)};
                continue;
            }
            if (ra == rb) {
                cellA = ra * kSide + (ca + step + kSide) % kSide;
                cellB = rb * kSide + (cb + step + kSide) % kSide;
            } else if (ca == cb) {
                cellA = (ra + step + kSide) % kSide * kSide + ca;
                cellB = (rb + step + kSide) % kSide * kSide + cb;
            } else {
                cellA = ra * kSide + cb;
                cellB = rb * kSide + ca;
            }
            pairs[std::size_t(a * 26 + b)] = {square_[std::size_t(cellA)],
                                              square_[std::size_t(cellB)]};
        }
    }
    return pairs;
}

std::vector<std::uint8_t> PlayfairKey::EncryptLetters(std::span<const std::uint8_t> plain) const {
    // The pairs as the rules make them, J read as I.
    std::vector<std::uint8_t> pairs;
    pairs.reserve(plain.size() + plain.size() / 8 + 2);
    for (std::size_t i = 0; i < plain.size();) {
        const std::uint8_t first = WithoutJ(plain[i]);
        const std::uint8_t filler = first == kX ? kQ : kX;
        pairs.push_back(first);
        if (i + 1 < plain.size() && WithoutJ(plain[i + 1]) != first) {
            pairs.push_back(WithoutJ(plain[i + 1]));
            i += 2;
        } else {
            pairs.push_back(filler);
            i += 1;
        }
    }
    const PairTable table = Pairs(1);
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        const auto& to = table[std::size_t(pairs[i] * 26 + pairs[i + 1])];
        pairs[i] = to[0];
        pairs[i + 1] = to[1];
    }
    return pairs;
}

std::vector<std::uint8_t> PlayfairKey::DecryptLetters(std::span<const std::uint8_t> cipher) const {
    std::vector<std::uint8_t> plain;
    DecryptLetters(cipher, plain);
    return plain;
}

void PlayfairKey::DecryptLetters(std::span<const std::uint8_t> cipher,
                                 std::vector<std::uint8_t>& out) const {
    const PairTable table = Pairs(-1);
    out.resize(cipher.size());
    std::uint8_t* plain = out.data();
    const std::size_t pairs = cipher.size() / 2;
    for (std::size_t p = 0; p < pairs; ++p) {
        const auto& to = table[std::size_t(cipher[2 * p] * 26 + cipher[2 * p + 1])];
        plain[2 * p] = to[0];
        plain[2 * p + 1] = to[1];
    }
    if (cipher.size() % 2 != 0) {
        plain[cipher.size() - 1] = cipher.back();
    }
}

std::string PlayfairKey::Encrypt(std::string_view plain) const {
    std::string text;
    for (const std::uint8_t letter : EncryptLetters(TextLetters(plain))) {
        text += char('A' + letter);
    }
    return text;
}

void PlayfairKey::Decrypt(std::string_view in, std::string& out) const {
    PutLetters(in, DecryptLetters(TextLetters(in)), out);
}

} // namespace tallivo
