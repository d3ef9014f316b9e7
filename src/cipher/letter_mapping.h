#pragma once

#include "key_mapping.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Turns a text into what a key makes of it, piece by piece: every byte that is no letter stays
// as it is, each letter becomes the letter the key gives it, in its case (or the byte the
// mapping uses for a letter the key leaves open). A piece is told the number of its first
// letter, so that a mapping that depends on a letter's place can start anywhere.
class LetterMapping {
public:
    virtual ~LetterMapping() = default;

    // Writes in, the text from its letter number firstLetter on, mapped to out (resized to in's
    // size); returns the number of the letter after in's last.
    virtual std::size_t Map(std::string_view in, std::string& out,
                            std::size_t firstLetter) const = 0;
};

// The same table for every letter: a shift, a substitution, an affine key.
class TableMapping : public LetterMapping {
public:
    explicit TableMapping(const ByteTable& table)
        : table_(table) {}

    std::size_t Map(std::string_view in, std::string& out, std::size_t firstLetter) const override;

private:
    ByteTable table_;
};

// A shift that changes with the letter's place, period letters apart: a Vigenère keyword.
class PeriodicShiftMapping : public LetterMapping {
public:
    // shifts must not be empty; letter n is shifted back by shifts[n % size].
    explicit PeriodicShiftMapping(std::vector<int> shifts)
        : shifts_(std::move(shifts)) {}

    std::size_t Map(std::string_view in, std::string& out, std::size_t firstLetter) const override;

private:
    std::vector<int> shifts_;
};

// Returns the number of letters a..z, A..Z in text.
std::size_t CountLetterBytes(std::string_view text);

} // namespace tallivo
