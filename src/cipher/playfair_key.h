#pragma once

#include "key_error.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// A Playfair key: a 5 x 5 square of the 25 letters, I standing for J too. Letters are
// enciphered two at a time: in the same row each goes to the one on its right, in the same
// column to the one below (both round the edge), otherwise each to the corner of their
// rectangle in its own row.
class PlayfairKey {
public:
    static constexpr int kSide = 5;
    static constexpr int kCells = 25;
    static constexpr std::uint8_t kI = 8;
    static constexpr std::uint8_t kJ = 9;
    static constexpr std::uint8_t kX = 23;
    static constexpr std::uint8_t kQ = 16;

    // The square of the plain alphabet, A B C D E / F G H I K / ...
    PlayfairKey();
    // square: the 25 letters (0 = a, no J) row by row, each once.
    explicit PlayfairKey(const std::array<std::uint8_t, kCells>& square);

    // Reads a keyword (blanks inside it ignored): its letters, J as I, each at its first
    // place, then the rest of the alphabet. A square of 25 letters is read the same way.
    static Parsed<PlayfairKey> Parse(std::string_view text);

    // Returns a square drawn uniformly from the 25! orders.
    static PlayfairKey Random(std::mt19937_64& random);

    const std::array<std::uint8_t, kCells>& square() const { return square_; }
    // The square's letters row by row in capitals, as Parse reads them back.
    std::string Text() const;

    // Returns the letters (0 = a) enciphered: J becomes I; a pair of equal letters is split
    // by an X (a Q between two X), and an odd letter at the end gets one too; so the
    // ciphertext may hold more letters than the plaintext.
    std::vector<std::uint8_t> EncryptLetters(std::span<const std::uint8_t> plain) const;

    // Returns the letters (0 = a) deciphered pair by pair, J read as I; the fillers stay in.
    // An odd last letter, and a pair of equal letters (which no Playfair square writes), stay
    // as they are.
    std::vector<std::uint8_t> DecryptLetters(std::span<const std::uint8_t> cipher) const;

    // The same into out, resized, whose memory a long text reuses from key to key.
    void DecryptLetters(std::span<const std::uint8_t> cipher, std::vector<std::uint8_t>& out) const;

    // Returns the plaintext's letters enciphered in capitals, with nothing else: the fillers
    // change the count of letters, so the text's layout cannot be kept.
    std::string Encrypt(std::string_view plain) const;

    // Deciphers the text's letters and puts them back in their places, every other byte kept.
    void Decrypt(std::string_view in, std::string& out) const;

    bool operator==(const PlayfairKey&) const = default;

private:
    // For each of the 26 x 26 pairs (first * 26 + second) the pair it becomes, both ways.
    using PairTable = std::array<std::array<std::uint8_t, 2>, 26 * 26>;
    PairTable Pairs(int step) const;

    std::array<std::uint8_t, kCells> square_{};
    std::array<std::uint8_t, 26> cell_{}; // the cell of each letter; J's is I's
};

} // namespace tallivo
