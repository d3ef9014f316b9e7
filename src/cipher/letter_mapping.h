#pragma once

#include "cipher_text.h"
#include "key_mapping.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
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

// A table that changes with the letter's place, period letters apart: a keyword of the Beaufort
// family (or any periodic key given by its tables).
class PeriodicTableMapping : public LetterMapping {
public:
    // tables must not be empty; letter n goes through tables[n % size].
    explicit PeriodicTableMapping(std::vector<ByteTable> tables)
        : tables_(std::move(tables)) {}

    std::size_t Map(std::string_view in, std::string& out, std::size_t firstLetter) const override;

private:
    std::vector<ByteTable> tables_;
};

// An autokey key undone: the primer gives the first letters' shifts, then each plaintext
// letter shifts back the letter as many places on as the primer is long. A piece that follows
// the one mapped last goes on from it; a piece anywhere else deciphers text's letters before
// it first. text is the ciphertext the pieces come from, kept while the mapping lives.
class AutokeyMapping : public LetterMapping {
public:
    // primer: letters 0..25, not empty.
    AutokeyMapping(std::vector<std::uint8_t> primer, std::shared_ptr<const CipherText> text);

    std::size_t Map(std::string_view in, std::string& out, std::size_t firstLetter) const override;

private:
    // Sets the running key to the one letter firstLetter is deciphered with.
    void Seek(std::size_t firstLetter) const;

    std::vector<std::uint8_t> primer_;
    std::shared_ptr<const CipherText> text_;
    mutable std::mutex mutex_;
    mutable std::size_t next_ = 0;              // the letter the running key is ready for
    mutable std::vector<std::uint8_t> running_; // the key of letter n at n % primer size
};

// A key that moves letters about the whole text (a transposition, Playfair): the plaintext's
// letters (0 = a) are worked out at once by make, the first time the mapping is used and on
// the thread that uses it, so that a long text is never worked out on the window's thread;
// letter n of the text then becomes the n-th of them, in the case of the letter it replaces.
// Letters past the end of those made stay as they are.
class MovedLettersMapping : public LetterMapping {
public:
    explicit MovedLettersMapping(std::function<std::vector<std::uint8_t>()> make)
        : make_(std::move(make)) {}

    std::size_t Map(std::string_view in, std::string& out, std::size_t firstLetter) const override;

private:
    std::function<std::vector<std::uint8_t>()> make_;
    mutable std::once_flag made_;
    mutable std::vector<std::uint8_t> letters_;
};

// Returns the number of letters a..z, A..Z in text.
std::size_t CountLetterBytes(std::string_view text);

} // namespace tallivo
