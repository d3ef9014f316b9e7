#include "exercise.h"

#include "cipher_text.h"

#include <array>
#include <utility>

namespace tallivo {

namespace {

// The accented letters of Italian in UTF-8 (two bytes, C3 xx) with the plain letter each
// stands for.
constexpr std::array<std::pair<unsigned char, char>, 20> kAccented{{
    {0xA0, 'a'}, {0xA1, 'a'}, {0xA8, 'e'}, {0xA9, 'e'}, {0xAC, 'i'}, {0xAD, 'i'}, {0xB2, 'o'},
    {0xB3, 'o'}, {0xB9, 'u'}, {0xBA, 'u'}, {0x80, 'A'}, {0x81, 'A'}, {0x88, 'E'}, {0x89, 'E'},
    {0x8C, 'I'}, {0x8D, 'I'}, {0x92, 'O'}, {0x93, 'O'}, {0x99, 'U'}, {0x9A, 'U'},
}};

// Returns the plain letter of the UTF-8 pair lead, next, or 0 when it is no accented letter.
char PlainLetter(unsigned char lead, unsigned char next) {
    if (lead != 0xC3) {
        return 0;
    }
    for (const auto& [second, letter] : kAccented) {
        if (second == next) {
            return letter;
        }
    }
    return 0;
}

} // namespace

int LetterCount(std::string_view text) {
    int letters = 0;
    for (const char c : text) {
        letters += LetterIndex(static_cast<unsigned char>(c)) >= 0 ? 1 : 0;
    }
    return letters;
}

std::string ExercisePlainText(std::string_view text, int letters, bool spaces) {
    std::string plain;
    int taken = 0;
    for (std::size_t i = 0; i < text.size() && taken < letters; ++i) {
        char c = text[i];
        if (i + 1 < text.size()) {
            if (const char letter = PlainLetter(static_cast<unsigned char>(text[i]),
                                                static_cast<unsigned char>(text[i + 1]))) {
                c = letter;
                ++i;
            }
        }
        const int index = LetterIndex(static_cast<unsigned char>(c));
        if (index >= 0) {
            ++taken;
            plain += spaces ? c : char('a' + index);
        } else if (spaces) {
            plain += c;
        }
    }
    return taken > 0 ? plain : std::string();
}

} // namespace tallivo
