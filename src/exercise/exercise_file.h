#pragma once

#include "exercise.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Why an exercise file is refused.
enum class ExerciseFileError {
    TooLarge,       // more than kExerciseFileLimit bytes
    BadUtf8,        // not UTF-8
    WrongMagic,     // not an exercise file
    UnknownVersion, // an exercise file of a later version
    BadLine,        // a header line that is no name=value, or a name the version does not have
    DuplicateField, // a name given twice
    MissingField,   // a name left out
    BadValue,       // a number that is none, or out of range
    BadLength,      // the texts do not take the bytes the header says
    UnknownCipher,  // a cipher the program does not know
};

// What reading an exercise file gives: the exercise, or the reason it was refused with the
// Italian sentence that says so.
struct ExerciseReading {
    std::optional<Exercise> exercise;
    ExerciseFileError error = ExerciseFileError::BadLine;
    std::string message;
};

// The largest exercise file read.
inline constexpr std::size_t kExerciseFileLimit = std::size_t{16} << 20;

// The first line of every exercise file, with the version after a space.
inline constexpr std::string_view kExerciseMagic = "tallivo-esercizio";
inline constexpr int kExerciseVersion = 1;

// Returns exercise as the bytes of its file (UTF-8): the first line "tallivo-esercizio 1", one
// name=value line for the cipher, the key, the source, the difficulty and the byte lengths of
// the two texts, an empty line, then the ciphertext and the plaintext as they are. Reading
// those bytes gives exercise back. Line ends in the key and the source become spaces.
std::string WriteExercise(const Exercise& exercise);

// Reads the bytes of an exercise file; ciphers are the names of the ciphers the program knows.
// Reading only parses: nothing in the file is run or followed.
ExerciseReading ReadExercise(std::string_view bytes, const std::vector<std::string>& ciphers);

} // namespace tallivo
