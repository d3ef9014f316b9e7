#pragma once

#include "key_edits.h"
#include "language_model.h"
#include "substitution_key.h"
#include "substitution_text.h"

#include <cstdint>
#include <stop_token>
#include <string>

namespace tallivo {

// The figures a hint rests on, for the page to say in a sentence: "the commonest trigram, XQZ
// (41 times), is probably «che»".
struct HintReason {
    enum class Evidence {
        ShortWord, // a word of 1 to 3 letters (the text has word spaces)
        Trigram,
        Doubled, // a doubled letter
        Bigram,
        Letter, // the letter's own frequency
    };
    Evidence evidence = Evidence::Letter;
    std::string cipher;      // the text's letters, upper case ("XQZ")
    std::uint64_t count = 0; // how often they occur in the text
    int textRank = 0;        // 1 for the text's commonest of their kind (words: of their length)
    std::string plain;       // what they probably are, lower case ("che")
    double languagePercent = 0.0; // its share in the language, as the model's ranked lists give
    int languageRank = 0;         // 1 for the language's commonest of its kind
};

// One assignment to make, the most certain of those the key lacks or has wrong, and why.
struct SubstitutionHint {
    enum class Status {
        Found,
        NoLetters, // the text has no letters
        KeyAgrees, // every letter not locked already has what the solution gives it
        Stopped,   // the stop token cut the search short
    };
    Status status = Status::Found;
    Assignment assignment;
    int replaces = SubstitutionKey::kNone;  // the plaintext letter it takes the place of, if any
    int takenFrom = SubstitutionKey::kNone; // the cipher letter that held its plaintext letter
    // How much lower, in log10 of quadgram probability, the text scores with the cipher letter
    // given any other plaintext letter: the larger, the surer.
    double margin = 0.0;
    HintReason reason;
};

// Solves the text around the locked letters, and among the letters where the key differs from
// the solution picks the one whose assignment the text's score depends on most. The reason is
// the most frequent of the text's commonest short words holding the letter that deciphers to
// one of the language's commonest and occurs more than once; failing that, the same among its
// trigrams, doubled letters and bigrams; failing that, the letter's own frequency. Takes as
// long as a solve.
SubstitutionHint SuggestAssignment(const SubstitutionText& text, const SubstitutionKey& key,
                                   const LetterLocks& locks, const LanguageModel& model,
                                   std::stop_token stop = {});

} // namespace tallivo
