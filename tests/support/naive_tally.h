#pragma once

#include "letter_tally.h"

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

// What the counting paths are checked against, without Qt, so that the arm64 check can use it.

// The reference: one byte at a time, as plainly as it can be written.
inline tallivo::LetterTally NaiveLetterTally(std::string_view bytes) {
    tallivo::LetterTally tally{};
    for (const char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') {
            ++tally[b - 'a'];
        } else if (b >= 'A' && b <= 'Z') {
            ++tally[b - 'A'];
        }
    }
    return tally;
}

// Random bytes of every value; letterShare of them letters, so that the byte counters of the
// vector paths fill up too.
inline std::string RandomLetterBlob(std::mt19937_64& random, std::size_t size, double letterShare) {
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> anyLetter(0, 51);
    std::bernoulli_distribution isLetter(letterShare);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        const int letter = anyLetter(random);
        c = isLetter(random) ? char(letter < 26 ? 'a' + letter : 'A' + letter - 26)
                             : char(anyByte(random));
    }
    return bytes;
}
