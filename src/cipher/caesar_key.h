#pragma once

#include "key_error.h"
#include "key_mapping.h"

#include <random>
#include <string>
#include <string_view>

namespace tallivo {

// A Caesar key: every letter moved forward by the same number of places.
class CaesarKey {
public:
    CaesarKey() = default;
    explicit CaesarKey(int shift)
        : shift_(((shift % 26) + 26) % 26) {}

    // Reads a shift written as a number 0..25 or as the letter a comes to ("d" for 3).
    static Parsed<CaesarKey> Parse(std::string_view text);

    // Returns a shift of 1..25, never the one that leaves the text as it is.
    static CaesarKey Random(std::mt19937_64& random);

    int shift() const { return shift_; }
    // The key as Parse reads it: the number.
    std::string Text() const { return std::to_string(shift_); }

    ByteTable EncryptTable() const { return ShiftTable((26 - shift_) % 26); }
    ByteTable DecryptTable() const { return ShiftTable(shift_); }
    void Encrypt(std::string_view in, std::string& out) const { MapBytes(in, EncryptTable(), out); }
    void Decrypt(std::string_view in, std::string& out) const { MapBytes(in, DecryptTable(), out); }

    bool operator==(const CaesarKey&) const = default;

private:
    int shift_ = 0;
};

} // namespace tallivo
