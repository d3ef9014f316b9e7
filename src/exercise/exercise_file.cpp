#include "exercise_file.h"

#include "cipher_text.h"

#include <array>
#include <charconv>
#include <map>

namespace tallivo {

namespace {

constexpr std::array<std::string_view, 8> kFields{
    "cifrario", "chiave", "fonte", "lettere", "spazi", "lunghezza-chiave", "cifrato", "chiaro",
};

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

ExerciseReading Refused(ExerciseFileError error, std::string message) {
    return ExerciseReading{std::nullopt, error, std::move(message)};
}

// Returns the whole number text holds, in [low, high], or nothing.
std::optional<std::size_t> Number(std::string_view text, std::size_t low, std::size_t high) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string WriteExercise(const Exercise& exercise) {
    std::string file;
    file += std::string(kExerciseMagic) + ' ' + std::to_string(kExerciseVersion) + '\n';
    file += "cifrario=" + OneLine(exercise.cipher) + '\n';
    file += "chiave=" + OneLine(exercise.key) + '\n';
    file += "fonte=" + OneLine(exercise.source) + '\n';
    file += "lettere=" + std::to_string(exercise.difficulty.letters) + '\n';
    file += std::string("spazi=") + (exercise.difficulty.spaces ? "sì" : "no") + '\n';
    file += "lunghezza-chiave=" + std::to_string(exercise.difficulty.keyLength) + '\n';
    file += "cifrato=" + std::to_string(exercise.ciphertext.size()) + '\n';
    file += "chiaro=" + std::to_string(exercise.plaintext.size()) + '\n';
    file += '\n';
    file += exercise.ciphertext;
    file += exercise.plaintext;
    return file;
}

ExerciseReading ReadExercise(std::string_view bytes, const std::vector<std::string>& ciphers) {
    if (bytes.size() > kExerciseFileLimit) {
        return Refused(ExerciseFileError::TooLarge,
                       "Il file è troppo grande per essere un esercizio (più di 16 MiB).");
    }
    const std::size_t firstEnd = bytes.find('\n');
    const std::string_view first = bytes.substr(0, firstEnd);
    const std::string_view magic = first.substr(0, first.find(' '));
    if (magic != kExerciseMagic || first.size() <= magic.size()) {
        return Refused(ExerciseFileError::WrongMagic,
                       "Il file non è un esercizio di Tallivo: la prima riga dovrebbe essere "
                       "«tallivo-esercizio 1».");
    }
    if (first.ends_with('\r')) {
        return Refused(ExerciseFileError::BadLine,
                       "Il file dell'esercizio è danneggiato: le sue righe finiscono con CR LF "
                       "(forse è stato salvato da un altro programma).");
    }
    if (first.substr(magic.size() + 1) != std::to_string(kExerciseVersion)) {
        return Refused(ExerciseFileError::UnknownVersion,
                       "L'esercizio è di una versione che questo programma non conosce («" +
                           std::string(first) + "»): serve una versione più recente di Tallivo.");
    }
    if (!IsValidUtf8(bytes)) {
        return Refused(ExerciseFileError::BadUtf8,
                       "Il file dell'esercizio è danneggiato: non è testo UTF-8.");
    }
    // The header: name=value lines up to the empty line.
    std::map<std::string, std::string, std::less<>> fields;
    std::size_t at = firstEnd == std::string_view::npos ? bytes.size() : firstEnd + 1;
    bool ended = false;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view line = bytes.substr(at, end - at);
        at = end + 1;
        if (line.empty()) {
            ended = true;
            break;
        }
        const std::size_t equals = line.find('=');
        const std::string_view name = line.substr(0, equals);
        bool known = false;
        for (const std::string_view field : kFields) {
            known = known || field == name;
        }
        if (equals == std::string_view::npos || !known) {
            return Refused(ExerciseFileError::BadLine,
                           "Il file dell'esercizio è danneggiato: la riga «" + std::string(line) +
                               "» non è tra quelle di un esercizio.");
        }
        if (!fields.emplace(std::string(name), std::string(line.substr(equals + 1))).second) {
            return Refused(ExerciseFileError::DuplicateField,
                           "Il file dell'esercizio è danneggiato: «" + std::string(name) +
                               "» compare due volte.");
        }
    }
    for (const std::string_view field : kFields) {
        if (!fields.contains(field)) {
            return Refused(ExerciseFileError::MissingField,
                           "Il file dell'esercizio è danneggiato: manca «" + std::string(field) +
                               "».");
        }
    }
    if (!ended) {
        return Refused(ExerciseFileError::BadLength,
                       "Il file dell'esercizio è danneggiato: manca il testo cifrato.");
    }
    Exercise exercise;
    exercise.cipher = fields.find("cifrario")->second;
    exercise.key = fields.find("chiave")->second;
    exercise.source = fields.find("fonte")->second;
    const auto letters =
        Number(fields.find("lettere")->second, kExerciseMinLetters, kExerciseMaxLetters);
    const auto keyLength = Number(fields.find("lunghezza-chiave")->second, 0, 1000);
    const std::string& spaces = fields.find("spazi")->second;
    const auto cipherBytes = Number(fields.find("cifrato")->second, 1, kExerciseFileLimit);
    const auto plainBytes = Number(fields.find("chiaro")->second, 1, kExerciseFileLimit);
    if (!letters || !keyLength || (spaces != "sì" && spaces != "no") || !cipherBytes ||
        !plainBytes) {
        return Refused(ExerciseFileError::BadValue,
                       "Il file dell'esercizio è danneggiato: un numero o «spazi» (sì o no) "
                       "non è valido.");
    }
    exercise.difficulty = Difficulty{int(*letters), spaces == "sì", int(*keyLength)};
    if (bytes.size() - at != *cipherBytes + *plainBytes) {
        return Refused(ExerciseFileError::BadLength,
                       "Il file dell'esercizio è danneggiato: il testo non è lungo quanto "
                       "dice l'intestazione (forse è stato troncato o modificato).");
    }
    exercise.ciphertext = std::string(bytes.substr(at, *cipherBytes));
    exercise.plaintext = std::string(bytes.substr(at + *cipherBytes));
    bool known = false;
    for (const std::string& cipher : ciphers) {
        known = known || cipher == exercise.cipher;
    }
    if (!known) {
        return Refused(ExerciseFileError::UnknownCipher,
                       "L'esercizio usa il cifrario «" + exercise.cipher +
                           "», che questa versione del programma non conosce.");
    }
    return ExerciseReading{std::move(exercise), ExerciseFileError::BadLine, {}};
}

} // namespace tallivo
