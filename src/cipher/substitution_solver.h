#pragma once

#include "key_edits.h"
#include "language_model.h"
#include "substitution_key.h"
#include "substitution_text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>

namespace tallivo {

// How hard the solver tries.
struct SolverOptions {
    int maxClimbs = 400;           // hill climbs from a fresh key, at most
    int sameBestToStop = 4;        // stop once this many climbs have ended at the best key
    std::uint64_t seed = 2026;     // of the random keys the climbs start from
    std::size_t maxLetters = 3000; // the solver reads the text's first letters only
};

// What the solver found.
struct SolveResult {
    SubstitutionKey key;
    double score = 0.0;   // the mean quadgram log10 probability of the plaintext, as KeyScore
    int climbs = 0;       // hill climbs run
    bool stopped = false; // the stop token cut it short: key is the best found until then
};

// Returns the mean log10 probability of the quadgrams of the plaintext under key, over the
// quadgrams whose letters are all assigned (0 if there is none): near the language's own mean
// for a right key, much lower for a wrong one. Reads the text's first maxLetters letters.
double KeyScore(const SubstitutionText& text, const SubstitutionKey& key,
                const LanguageModel& model, std::size_t maxLetters = SolverOptions{}.maxLetters);

// Fills every cipher letter of the text that is not locked: hill climbing on quadgram scores
// (with the words of the model's list where the text has word spaces), from the key given and
// then from random keys, keeping the locked assignments as they are; on a short text without
// word spaces the best keys found climb on with the plaintext read as words too. A cipher
// letter that is not locked and does not occur keeps its assignment unless the solution uses
// its plaintext letter. progress gets the share of the climbs done (0..1), from the calling
// thread; stop cuts the search short between two steps.
SolveResult SolveSubstitution(const SubstitutionText& text, const SubstitutionKey& start,
                              const LetterLocks& locks, const LanguageModel& model,
                              std::stop_token stop,
                              const std::function<void(double)>& progress = {},
                              const SolverOptions& options = {});

} // namespace tallivo
