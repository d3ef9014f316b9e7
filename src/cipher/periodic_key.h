#pragma once

#include "key_error.h"
#include "key_mapping.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// The longest period the workbench examines and the longest keyword it takes.
inline constexpr int kPeriodLimit = 40;

// How a key letter k turns a plaintext letter p into a cipher letter c in the Vigenère family.
enum class PeriodicSense {
    Vigenere,        // c = p + k
    Beaufort,        // c = k - p, which undoes itself
    VariantBeaufort, // c = p - k
};

// A keyword of the Vigenère family: its n-th letter enciphers every letter whose place in the
// text (letters only) is n modulo the keyword's length.
class PeriodicKey {
public:
    static constexpr std::size_t kLongest = std::size_t(kPeriodLimit);

    PeriodicKey() = default;
    // letters: the keyword as letter indices 0..25, not empty.
    PeriodicKey(PeriodicSense sense, std::vector<std::uint8_t> letters);

    // Reads a keyword of 1..kLongest letters.
    static Parsed<PeriodicKey> Parse(PeriodicSense sense, std::string_view text);

    // Returns a keyword of length letters drawn uniformly.
    static PeriodicKey Random(PeriodicSense sense, std::size_t length, std::mt19937_64& random);

    PeriodicSense sense() const { return sense_; }
    const std::vector<std::uint8_t>& letters() const { return letters_; }
    std::size_t period() const { return letters_.size(); }
    // The keyword in capitals.
    std::string Text() const;

    // The table of each column, for ApplyTables and TabledColumnCounts.
    std::vector<ByteTable> EncryptTables() const;
    std::vector<ByteTable> DecryptTables() const;

    void Encrypt(std::string_view in, std::string& out) const;
    void Decrypt(std::string_view in, std::string& out) const;

    bool operator==(const PeriodicKey&) const = default;

private:
    PeriodicSense sense_ = PeriodicSense::Vigenere;
    std::vector<std::uint8_t> letters_{0};
};

} // namespace tallivo
