#pragma once

#include "key_edits.h"
#include "substitution_key.h"
#include "substitution_text.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tallivo {

// A place in the text where the probable word fits: the same shape as the cipher letters
// there, and no conflict with a locked letter.
struct ProbableWordFit {
    std::size_t letter = 0;     // index of its first letter among the text's letters
    std::size_t byteOffset = 0; // where it starts in the text's bytes
    std::size_t byteLength = 0; // up to the end of its last letter
    // What it implies: each cipher letter there once, in the order they first appear.
    std::vector<Assignment> assignments;
    int agreeing = 0; // implied assignments the key already has
    int changing = 0; // implied assignments that replace one made, or take a letter held by another
};

struct ProbableWordFits {
    enum class Status {
        Found,
        Empty,          // no word given
        NotLetters,     // the word has a byte that is not a letter
        LongerThanText, // more letters than the text
        NoFit,          // it fits nowhere
    };
    Status status = Status::Found;
    std::vector<ProbableWordFit> fits; // in the order of the text, at most the limit asked
    std::size_t total = 0;             // how many places fit, listed or not
};

// Tries the plaintext word at every place of the text: where the text has word spaces, at every
// cipher word of its length; otherwise at every letter. A place fits if its cipher letters have
// the word's shape (the same letter where the word repeats one, different ones elsewhere) and
// no locked cipher letter there gets another plaintext letter, nor another cipher letter a
// plaintext letter a locked one holds.
ProbableWordFits FindProbableWord(const SubstitutionText& text, std::string_view word,
                                  const SubstitutionKey& key, const LetterLocks& locks,
                                  std::size_t limit);

} // namespace tallivo
