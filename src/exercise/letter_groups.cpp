#include "letter_groups.h"

#include "cipher_text.h"

namespace tallivo {

std::string GroupsOfFive(std::string_view text) {
    std::string groups;
    groups.reserve(text.size() + text.size() / 5);
    std::size_t letters = 0;
    for (const char c : text) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter < 0) {
            continue;
        }
        if (letters > 0 && letters % 50 == 0) {
            groups += '\n';
        } else if (letters > 0 && letters % 5 == 0) {
            groups += ' ';
        }
        groups += char('A' + letter);
        ++letters;
    }
    return groups;
}

} // namespace tallivo
