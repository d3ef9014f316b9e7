#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Ciphers that move letters (transposition, Playfair) work on a text's letters alone and put
// the result back into the letters' places, so that spaces, punctuation, line ends and every
// other byte stay where they were, and each place keeps its case.

// Returns the letters of text in order (0 = a), every other byte left out.
std::vector<std::uint8_t> TextLetters(std::string_view text);

// Writes text to out with its letters replaced, in order, by letters (0 = a), each in the case
// of the letter whose place it takes; every other byte stays. Letters of text past the end of
// letters stay as they are.
void PutLetters(std::string_view text, std::span<const std::uint8_t> letters, std::string& out);

} // namespace tallivo
