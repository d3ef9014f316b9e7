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

// A rail fence key: the plaintext's letters are written in a zigzag down and up over the
// rails, then read off rail by rail, top first.
class RailFenceKey {
public:
    static constexpr int kFewest = 2;
    static constexpr int kMost = 20;

    RailFenceKey() = default;
    // rails: kFewest..kMost.
    explicit RailFenceKey(int rails)
        : rails_(rails) {}

    // Reads the number of rails, 2..20.
    static Parsed<RailFenceKey> Parse(std::string_view text);

    // Returns a number of rails drawn uniformly from fewest..most.
    static RailFenceKey Random(int fewest, int most, std::mt19937_64& random);

    int rails() const { return rails_; }
    std::string Text() const { return std::to_string(rails_); }

    // Return the letters (0 = a, nothing else) moved to the other side.
    std::vector<std::uint8_t> EncryptLetters(std::span<const std::uint8_t> plain) const;
    std::vector<std::uint8_t> DecryptLetters(std::span<const std::uint8_t> cipher) const;

    // Write them into out, resized, whose memory a long text reuses from key to key.
    void EncryptLetters(std::span<const std::uint8_t> plain, std::vector<std::uint8_t>& out) const;
    void DecryptLetters(std::span<const std::uint8_t> cipher, std::vector<std::uint8_t>& out) const;

    // Map a text: its letters moved, every other byte kept in place, each place keeping its
    // case.
    void Encrypt(std::string_view in, std::string& out) const;
    void Decrypt(std::string_view in, std::string& out) const;

    bool operator==(const RailFenceKey&) const = default;

private:
    // For each place t of a zigzag (0 .. 2 * (rails - 1) - 1), where its letter of the n-th
    // zigzag lies in the ciphertext of size letters: first[t] + n * step[t].
    struct Places {
        std::vector<std::size_t> first;
        std::vector<std::size_t> step;
    };
    Places CipherPlaces(std::size_t size) const;

    int rails_ = 2;
};

} // namespace tallivo
