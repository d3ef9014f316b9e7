#pragma once

#include "periodic_key.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tallivo {

// A probable word laid on a Vigenère-family ciphertext at one place: the key letters it implies
// there, and whether they repeat as a keyword would.
struct CribPlacement {
    std::size_t offset = 0; // the letter of the text (letters only, from 0) the word starts at
    std::string keyLetters; // in capitals, one per letter of the word
    int repeat = 0;         // the shortest period the key letters repeat with, at least three
                            // letters over; 0 if none
};

// The fewest letters a repeat of the key letters must run over to be told.
inline constexpr int kCribRepeatOver = 3;

// Slides a probable plaintext word (letters, 0 = a) along a ciphertext's letters and returns,
// for every offset it fits at, the key letters of sense it implies.
std::vector<CribPlacement> SlideProbableWord(std::span<const std::uint8_t> cipher,
                                             std::span<const std::uint8_t> word,
                                             PeriodicSense sense);

// Returns whether a placement's key letters agree with a keyword of period letters: each pair
// of them period apart is equal, and there is at least one such pair.
bool RepeatsWithPeriod(const CribPlacement& placement, int period);

// Returns the keyword of period letters a placement gives as far as it reaches: for each column
// (the text's n-th letter is in column n % period) its letter 0..25, or -1 where the word does
// not reach or its letters disagree.
std::vector<int> KeyOfPlacement(const CribPlacement& placement, int period);

} // namespace tallivo
