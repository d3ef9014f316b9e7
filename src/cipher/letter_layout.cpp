#include "letter_layout.h"

#include "cipher_text.h"

#include <array>

namespace tallivo {

namespace {

// Per byte: 1 for a letter, else 0; and the letter's index, 0 for any other byte.
struct LetterTables {
    std::array<std::uint8_t, 256> isLetter{};
    std::array<std::uint8_t, 256> index{};
};

constexpr LetterTables MakeLetterTables() {
    LetterTables tables;
    for (int b = 0; b < 256; ++b) {
        const int letter = LetterIndex(static_cast<unsigned char>(b));
        tables.isLetter[std::size_t(b)] = letter >= 0 ? 1 : 0;
        tables.index[std::size_t(b)] = std::uint8_t(letter >= 0 ? letter : 0);
    }
    return tables;
}

constexpr LetterTables kLetters = MakeLetterTables();

} // namespace

std::vector<std::uint8_t> TextLetters(std::string_view text) {
    // Every byte is written and only a letter moves the end on, so the loop has no branch.
    std::vector<std::uint8_t> letters(text.size() + 1);
    const auto* from = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = from[i];
        letters[n] = kLetters.index[b];
        n += kLetters.isLetter[b];
    }
    letters.resize(n);
    return letters;
}

void PutLetters(std::string_view text, std::span<const std::uint8_t> letters, std::string& out) {
    out.resize(text.size());
    const auto* from = reinterpret_cast<const unsigned char*>(text.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    std::size_t n = 0;
    std::size_t i = 0;
    // While a whole block's worth of letters is left, each byte takes the next letter or keeps
    // itself by a mask, without a branch.
    constexpr std::size_t kBlock = 64;
    while (i + kBlock <= text.size() && n + kBlock <= letters.size()) {
        for (const std::size_t end = i + kBlock; i < end; ++i) {
            const unsigned char b = from[i];
            const unsigned char mask = static_cast<unsigned char>(0U - kLetters.isLetter[b]);
            const auto letter = static_cast<unsigned char>(('A' + letters[n]) | (b & 0x20U));
            to[i] = static_cast<unsigned char>((letter & mask) | (b & ~mask));
            n += kLetters.isLetter[b];
        }
    }
    for (; i < text.size(); ++i) {
        const unsigned char b = from[i];
        if (kLetters.isLetter[b] != 0 && n < letters.size()) {
            to[i] = static_cast<unsigned char>(('A' + letters[n++]) | (b & 0x20U));
        } else {
            to[i] = b;
        }
    }
}

} // namespace tallivo
