#pragma once

#include "key_error.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// An autokey key: a primer of a few letters enciphers the first letters of the text as a
// Vigenère keyword would (c = p + k); from then on each letter is enciphered by the plaintext
// letter as many places back as the primer is long.
class AutokeyKey {
public:
    static constexpr std::size_t kLongest = 20;

    AutokeyKey() = default;
    // primer: letter indices 0..25, 1..kLongest of them.
    explicit AutokeyKey(std::vector<std::uint8_t> primer)
        : primer_(std::move(primer)) {}

    // Reads a primer of 1..kLongest letters.
    static Parsed<AutokeyKey> Parse(std::string_view text);

    // Returns a primer of length letters drawn uniformly.
    static AutokeyKey Random(std::size_t length, std::mt19937_64& random);

    const std::vector<std::uint8_t>& primer() const { return primer_; }
    // The primer in capitals.
    std::string Text() const;

    // Turn letters (0 = a, nothing else) into the other side, in place.
    void EncryptLetters(std::span<std::uint8_t> letters) const;
    void DecryptLetters(std::span<std::uint8_t> letters) const;

    // Map a text, every byte but the letters kept and each letter in its case.
    void Encrypt(std::string_view in, std::string& out) const;
    void Decrypt(std::string_view in, std::string& out) const;

    bool operator==(const AutokeyKey&) const = default;

private:
    std::vector<std::uint8_t> primer_{0};
};

} // namespace tallivo
