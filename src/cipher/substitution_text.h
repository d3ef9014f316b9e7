#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tallivo {

// A ciphertext as the substitution tools read it: its letters (0 = a, either case; every other
// byte kept out), where each letter stands in the bytes, and its words, the runs of letters
// between other bytes. A text written in groups of equal length (as "XQZAB FKRTE ...") or in one
// run has no word spaces: its words say nothing of the plaintext's.
class SubstitutionText {
public:
    // A run of letters: the index of its first letter among the text's letters, and its length.
    struct Word {
        std::uint32_t first = 0;
        std::uint32_t length = 0;
    };

    // Reads bytes, of less than 4 GiB.
    explicit SubstitutionText(std::string_view bytes);

    const std::vector<std::uint8_t>& letters() const { return letters_; }
    // The byte offset of each letter in the text.
    const std::vector<std::uint32_t>& offsets() const { return offsets_; }
    const std::vector<Word>& words() const { return words_; }
    bool hasWordSpaces() const { return hasWordSpaces_; }
    // The count of each letter (index 0 = a).
    const std::vector<std::int32_t>& counts() const { return counts_; }

private:
    std::vector<std::uint8_t> letters_;
    std::vector<std::uint32_t> offsets_;
    std::vector<Word> words_;
    std::vector<std::int32_t> counts_ = std::vector<std::int32_t>(26, 0);
    bool hasWordSpaces_ = false;
};

} // namespace tallivo
