#pragma once

#include <string>
#include <string_view>

namespace tallivo {

// How hard an exercise is: how many letters of the text it enciphers, whether the spaces
// between words are kept (or the ciphertext comes in groups of five), and the length of the
// key where the cipher's key has one (0 where it has none).
struct Difficulty {
    int letters = 300;
    bool spaces = true;
    int keyLength = 0;

    bool operator==(const Difficulty&) const = default;
};

// An exercise: the ciphertext the student works on, the cipher (a page's CipherName), the
// hidden key as the cipher's page writes it, the plaintext that key makes of the ciphertext,
// the name of the text it was taken from, and its difficulty.
struct Exercise {
    std::string cipher;
    std::string key;
    std::string source;
    Difficulty difficulty;
    std::string ciphertext;
    std::string plaintext;

    bool operator==(const Exercise&) const = default;
};

// The fewest and the most letters an exercise takes.
inline constexpr int kExerciseMinLetters = 20;
inline constexpr int kExerciseMaxLetters = 20000;

// Returns the start of text holding its first letters letters (a-z, either case), with what
// stands between them; the accented letters of Italian (UTF-8) count as their plain letter and
// are written as it, so that no letter escapes the cipher. Without spaces, only the letters are
// kept, in lower case. Returns an empty text when text has no letter.
std::string ExercisePlainText(std::string_view text, int letters, bool spaces);

// Returns how many letters a-z (either case) text holds.
int LetterCount(std::string_view text);

} // namespace tallivo
