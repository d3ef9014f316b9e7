#pragma once

#include "key_error.h"
#include "key_mapping.h"
#include "reference_frequencies.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// An affine key: letter x (0 = a) becomes a * x + b mod 26, with a coprime with 26. Caesar is
// a = 1; Atbash, which reverses the alphabet, is a = 25, b = 25.
class AffineKey {
public:
    // The twelve multipliers coprime with 26; with 26 offsets they make the 312 keys.
    static constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};
    static constexpr int kKeys = 12 * 26;

    // The identity; a must be coprime with 26 and b in 0..25.
    constexpr AffineKey() = default;
    constexpr AffineKey(int a, int b)
        : a_(a)
        , b_(b) {}

    static constexpr AffineKey Atbash() { return AffineKey(25, 25); }

    // Reads "a, b" (two numbers apart by a comma, semicolon or blanks).
    static Parsed<AffineKey> Parse(std::string_view text);

    // Returns one of the 311 keys that change the text.
    static AffineKey Random(std::mt19937_64& random);

    // Returns the key of index 0..311: the multiplier's place times 26 plus b.
    static AffineKey OfIndex(int index);

    int a() const { return a_; }
    int b() const { return b_; }
    // The key as Parse reads it, "a,b".
    std::string Text() const;

    // Returns the multiplier that undoes a: a times it is 1 mod 26.
    int InverseMultiplier() const;

    ByteTable EncryptTable() const;
    ByteTable DecryptTable() const;
    void Encrypt(std::string_view in, std::string& out) const { MapBytes(in, EncryptTable(), out); }
    void Decrypt(std::string_view in, std::string& out) const { MapBytes(in, DecryptTable(), out); }

    bool operator==(const AffineKey&) const = default;

private:
    int a_ = 1;
    int b_ = 0;
};

// One affine key with the chi-squared distance from the language of the plaintext it gives.
struct AffineChiSquare {
    AffineKey key;
    double chiSquare = 0.0;
};

// Returns all 312 keys, the closest plaintext to the reference first (ties in index order),
// from the ciphertext's letter counts alone.
std::vector<AffineChiSquare> AffineChiSquares(const std::vector<std::int32_t>& counts,
                                              const ReferenceTable& reference);

} // namespace tallivo
