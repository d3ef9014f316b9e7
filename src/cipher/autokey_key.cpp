#include "autokey_key.h"

#include "key_text.h"
#include "letter_layout.h"

#include <algorithm>

namespace tallivo {

namespace {

// Returns (c - k) mod 26 for c, k in 0..25 without a branch.
inline int Minus(int c, int k) {
    const int d = c - k;
    return d < 0 ? d + 26 : d;
}

// Deciphers a block of letters from the block of plaintext before it; no letter of a block
// depends on another, so the loop runs as wide as the processor's vectors.
// In bytes: a difference below 0 wraps round to 231..255, where adding 26 wraps it back to
// 1..25 and the smaller of the two is the one mod 26.
inline void SubtractBlock(std::uint8_t* __restrict block, const std::uint8_t* __restrict previous,
                          std::size_t size) {
    for (std::size_t j = 0; j < size; ++j) {
        const auto difference = std::uint8_t(block[j] - previous[j]);
        block[j] = std::min(difference, std::uint8_t(difference + 26));
    }
}

} // namespace

Parsed<AutokeyKey> AutokeyKey::Parse(std::string_view text) {
    const Parsed<std::vector<std::uint8_t>> letters = ReadKeyword(text, 1, kLongest);
    if (!letters.ok()) {
        return letters.error();
    }
    return AutokeyKey(letters.key());
}

AutokeyKey AutokeyKey::Random(std::size_t length, std::mt19937_64& random) {
    std::uniform_int_distribution<int> letter(0, 25);
    std::vector<std::uint8_t> primer(length);
    for (std::uint8_t& l : primer) {
        l = std::uint8_t(letter(random));
    }
    return AutokeyKey(std::move(primer));
}

std::string AutokeyKey::Text() const {
    std::string text;
    for (const std::uint8_t letter : primer_) {
        text += char('A' + letter);
    }
    return text;
}

void AutokeyKey::EncryptLetters(std::span<std::uint8_t> letters) const {
    // Each letter adds the plaintext letter m places back: going from the end, those are
    // still plaintext when they are read.
    const std::size_t m = primer_.size();
    for (std::size_t i = letters.size(); i-- > m;) {
        letters[i] = std::uint8_t((letters[i] + letters[i - m]) % 26);
    }
    for (std::size_t i = 0; i < m && i < letters.size(); ++i) {
        letters[i] = std::uint8_t((letters[i] + primer_[i]) % 26);
    }
}

void AutokeyKey::DecryptLetters(std::span<std::uint8_t> letters) const {
    const std::size_t m = primer_.size();
    const std::size_t n = letters.size();
    for (std::size_t i = 0; i < m && i < n; ++i) {
        letters[i] = std::uint8_t(Minus(letters[i], primer_[i]));
    }
    // Each plaintext letter takes away the one m places back, just found: a chain through
    // the text. The shortest primers keep their chains in registers; with longer ones a block
    // of m letters is deciphered at once from the block before.
    if (m == 1) {
        int p = n > 0 ? letters[0] : 0;
        for (std::size_t i = 1; i < n; ++i) {
            p = Minus(letters[i], p);
            letters[i] = std::uint8_t(p);
        }
    } else if (m == 2) {
        int p0 = n > 0 ? letters[0] : 0;
        int p1 = n > 1 ? letters[1] : 0;
        std::size_t i = 2;
        for (; i + 1 < n; i += 2) {
            p0 = Minus(letters[i], p0);
            p1 = Minus(letters[i + 1], p1);
            letters[i] = std::uint8_t(p0);
            letters[i + 1] = std::uint8_t(p1);
        }
        if (i < n) {
            letters[i] = std::uint8_t(Minus(letters[i], p0));
        }
    } else {
        for (std::size_t start = m; start < n; start += m) {
            SubtractBlock(letters.data() + start, letters.data() + start - m,
                          std::min(m, n - start));
        }
    }
}

void AutokeyKey::Encrypt(std::string_view in, std::string& out) const {
    std::vector<std::uint8_t> letters = TextLetters(in);
    EncryptLetters(letters);
    PutLetters(in, letters, out);
}

void AutokeyKey::Decrypt(std::string_view in, std::string& out) const {
    std::vector<std::uint8_t> letters = TextLetters(in);
    DecryptLetters(letters);
    PutLetters(in, letters, out);
}

} // namespace tallivo
