#pragma once

#include "substitution_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallivo {

// A sequence of letters of a ciphertext with how often it occurs and its share, in percent,
// of all the sequences of its kind (bigrams, trigrams or words).
struct TextFigure {
    std::string letters; // upper case, e.g. "XQZ"
    std::uint64_t count = 0;
    double percent = 0.0;
};

// What the substitution page sets beside the language's figures: the text's commonest bigrams
// and trigrams, its doubled letters, and (where it has word spaces) its words of 1, 2 and 3
// letters; each commonest first, ties alphabetically, only what occurs.
struct TextFigures {
    std::vector<TextFigure> bigrams;
    std::vector<TextFigure> trigrams;
    std::vector<TextFigure> doubled;
    std::array<std::vector<TextFigure>, 3> shortWords; // index length - 1
};

// Counts the figures of text, keeping at most limit of each list.
TextFigures CountTextFigures(const SubstitutionText& text, std::size_t limit);

} // namespace tallivo
