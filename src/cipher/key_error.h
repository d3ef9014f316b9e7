#pragma once

#include <utility>
#include <variant>

namespace tallivo {

// Why a key written by the user cannot be used; the window words each one in Italian.
enum class KeyError {
    Empty,           // nothing but spaces
    NotALetter,      // a keyword holds something other than a..z, A..Z
    NotANumber,      // a number was expected
    OutOfRange,      // a number outside the cipher's range
    NotCoprime,      // an affine multiplier sharing a factor with 26
    TooShort,        // fewer letters or columns than the cipher takes
    TooLong,         // more letters or columns than the cipher takes
    WrongLength,     // a full alphabet or square of the wrong size
    RepeatedLetter,  // a letter twice where each must be once
    NotAPermutation, // column numbers that are not 1..n each once
};

// A key read from the user's text, or why it could not be read.
template <class Key> class Parsed {
public:
    Parsed(Key key)
        : value_(std::move(key)) {}
    Parsed(KeyError error)
        : value_(error) {}

    bool ok() const { return std::holds_alternative<Key>(value_); }
    // The key; only when ok().
    const Key& key() const { return std::get<Key>(value_); }
    // The error; only when !ok().
    KeyError error() const { return std::get<KeyError>(value_); }

private:
    std::variant<Key, KeyError> value_;
};

} // namespace tallivo
