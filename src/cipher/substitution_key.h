#pragma once

#include "key_error.h"
#include "reference_frequencies.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// A monoalphabetic substitution key, possibly partial: for each cipher letter (0 = a) the
// plaintext letter assigned to it, or none.
class SubstitutionKey {
public:
    static constexpr int kNone = -1;

    // Reads a key written as text: 26 characters, the plaintext letter for cipher a, b, ... z in
    // order (either case), "." for a letter not assigned. Empty for anything else.
    static std::optional<SubstitutionKey> FromText(std::string_view text);

    // Reads a full key written as FromText reads it, every letter once, or says what is wrong.
    // Read from a cipher alphabet (the cipher letter for plaintext a, b, ...), take Inverse().
    static Parsed<SubstitutionKey> Parse(std::string_view text);

    // Returns a full key drawn uniformly from the 26! permutations.
    static SubstitutionKey Random(std::mt19937_64& random);

    // The key by rank: the cipher letters that occur, commonest first (ties alphabetically),
    // get the reference's letters commonest first.
    static SubstitutionKey ByFrequency(const std::vector<std::int32_t>& counts,
                                       const ReferenceTable& reference);

    // The key as FromText reads it, lower case.
    std::string Text() const;

    int PlainOf(int cipher) const { return plain_[std::size_t(cipher)]; }
    void Assign(int cipher, int plain) { plain_[std::size_t(cipher)] = std::int8_t(plain); }
    void Clear() { plain_.fill(kNone); }

    // Returns the key the other way round: for each plaintext letter its cipher letter.
    // Letters assigned twice keep the last; unassigned ones stay so.
    SubstitutionKey Inverse() const;

    // Whether every cipher letter has a plaintext letter and no two the same.
    bool IsFull() const;

    // For each cipher letter: whether its plaintext letter is assigned to another one too.
    std::array<bool, 26> Repeated() const;

    bool operator==(const SubstitutionKey&) const = default;

private:
    std::array<std::int8_t, 26> plain_ = Unassigned();
    static constexpr std::array<std::int8_t, 26> Unassigned() {
        std::array<std::int8_t, 26> none{};
        none.fill(kNone);
        return none;
    }
};

} // namespace tallivo
