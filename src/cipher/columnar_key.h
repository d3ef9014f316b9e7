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

// A columnar transposition key: the plaintext's letters are written in rows as wide as the key
// is long, the last row left short where the letters run out, and the columns are read off
// from top to bottom in the key's order.
class ColumnarKey {
public:
    static constexpr std::size_t kShortest = 2;
    static constexpr std::size_t kLongest = 20;

    // The two columns read left to right.
    ColumnarKey() = default;
    // order: the columns (0 = leftmost) in the order they are read; a permutation of
    // 0..size - 1, at least two.
    explicit ColumnarKey(std::vector<int> order)
        : order_(std::move(order)) {}

    // Reads a keyword (its letters ranked alphabetically, equal letters left to right) or the
    // rank of each column as numbers 1..n ("3 1 4 2": the first column is read third).
    static Parsed<ColumnarKey> Parse(std::string_view text);

    // Returns an order of columns columns drawn uniformly.
    static ColumnarKey Random(std::size_t columns, std::mt19937_64& random);

    const std::vector<int>& order() const { return order_; }
    std::size_t columns() const { return order_.size(); }
    // The rank of each column, 1-based, as Parse reads numbers: "3 1 4 2".
    std::string Text() const;

    // Return the letters (0 = a, nothing else) moved to the other side.
    std::vector<std::uint8_t> EncryptLetters(std::span<const std::uint8_t> plain) const;
    std::vector<std::uint8_t> DecryptLetters(std::span<const std::uint8_t> cipher) const;

    // Write them into out, resized, whose memory a long text reuses from key to key.
    void EncryptLetters(std::span<const std::uint8_t> plain, std::vector<std::uint8_t>& out) const;
    void DecryptLetters(std::span<const std::uint8_t> cipher, std::vector<std::uint8_t>& out) const;

    // Returns the grid the ciphertext's letters (0 = a) fill: for each column, left to right,
    // its letters from top to bottom as the ciphertext holds them, for a student to reorder.
    std::vector<std::span<const std::uint8_t>> Columns(std::span<const std::uint8_t> cipher) const;

    // Map a text: its letters moved, every other byte kept in place, each place keeping its
    // case.
    void Encrypt(std::string_view in, std::string& out) const;
    void Decrypt(std::string_view in, std::string& out) const;

    bool operator==(const ColumnarKey&) const = default;

private:
    // Where each column's letters start in the ciphertext, for a text of size letters.
    std::vector<std::size_t> ColumnStarts(std::size_t size) const;

    std::vector<int> order_{0, 1};
};

} // namespace tallivo
