#include "letter_mapping.h"

#include "cipher_text.h"

namespace tallivo {

std::size_t CountLetterBytes(std::string_view text) {
    std::size_t letters = 0;
    for (const char c : text) {
        letters += LetterIndex(static_cast<unsigned char>(c)) >= 0 ? 1 : 0;
    }
    return letters;
}

std::size_t TableMapping::Map(std::string_view in, std::string& out,
                              std::size_t firstLetter) const {
    MapBytes(in, table_, out);
    return firstLetter + CountLetterBytes(in);
}

std::size_t PeriodicShiftMapping::Map(std::string_view in, std::string& out,
                                      std::size_t firstLetter) const {
    ApplyShifts(in, shifts_, out, firstLetter % shifts_.size());
    return firstLetter + CountLetterBytes(in);
}

} // namespace tallivo
