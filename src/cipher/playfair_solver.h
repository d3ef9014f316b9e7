#pragma once

#include "cipher_search.h"
#include "playfair_key.h"

#include <cstdint>
#include <span>
#include <stop_token>

namespace tallivo {

// How long the Playfair search anneals.
struct PlayfairSearch {
    int runs = 6;                  // annealing runs at most, each from a random square
    int steps = 100;               // temperature steps a run, cooling to nothing
    int trialsPerStep = 10000;     // changes tried at each temperature
    double startTemperature = 0.0; // 0: chosen from the text's length
    std::uint64_t seed = 1;
};

// Finds the Playfair square whose plaintext scores best by quadgrams, from the ciphertext's
// letters (0 = a; J read as I; an odd last letter left out), by simulated annealing: a change
// of the square (mostly two letters swapped; sometimes two rows or two columns, or the square
// flipped) is kept if it scores better, or else with a chance that shrinks as the run cools.
// Runs stop once one scores near the language's level (LanguageQuadgramLevel) or two agree on
// the plaintext.
Found<PlayfairKey> SolvePlayfair(std::span<const std::uint8_t> letters,
                                 const LanguageModel& language, const PlayfairSearch& search,
                                 std::stop_token stop, const SearchProgress& progress);

} // namespace tallivo
