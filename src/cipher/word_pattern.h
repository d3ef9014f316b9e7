#pragma once

#include "key_edits.h"
#include "language_model.h"
#include "substitution_key.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Returns the shape of a run of letters (0 = a): each letter replaced by the order in which it
// first appears, so that "XQZX" and "alla" both give 0 1 2 0.
std::vector<std::uint8_t> LetterPattern(std::span<const std::uint8_t> letters);

// Returns the letters of word (a-z, A-Z) as 0..25, or an empty vector if it has any other byte.
std::vector<std::uint8_t> WordLetters(std::string_view word);

// Which assignments a word from the list must agree with.
enum class PatternConsistency {
    WithKey,   // every assignment made
    WithLocks, // the locked ones only
};

// A word of the language with the shape of the cipher word, and what choosing it assigns: each
// cipher letter of the word once, in the order they first appear.
struct PatternMatch {
    std::string word;
    std::uint32_t count = 0; // in the corpus
    std::vector<Assignment> assignments;
};

struct PatternMatches {
    enum class Status {
        Found,
        Empty,      // no cipher word given
        NotLetters, // the cipher word has a byte that is not a letter
        NoMatch,    // no word of the list has its shape and agrees with the key
    };
    Status status = Status::Found;
    std::vector<PatternMatch> matches; // most frequent first
};

// The words of the model's list with the shape of cipherWord that agree with the key: a cipher
// letter assigned (or locked, as consistency says) must get its plaintext letter, and no other
// cipher letter may get a plaintext letter such a one holds. At most limit, most frequent first.
PatternMatches MatchWordPattern(std::string_view cipherWord, const SubstitutionKey& key,
                                const LetterLocks& locks, PatternConsistency consistency,
                                const LanguageModel& model, std::size_t limit);

} // namespace tallivo
