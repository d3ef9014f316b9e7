#include "caesar_key.h"

#include "cipher_text.h"
#include "key_text.h"

namespace tallivo {

Parsed<CaesarKey> CaesarKey::Parse(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return KeyError::Empty;
    }
    if (text.size() == 1 && LetterIndex(static_cast<unsigned char>(text[0])) >= 0) {
        return CaesarKey(LetterIndex(static_cast<unsigned char>(text[0])));
    }
    const std::optional<int> shift = ReadNumber(text);
    if (!shift) {
        return KeyError::NotANumber;
    }
    if (*shift > 25) {
        return KeyError::OutOfRange;
    }
    return CaesarKey(*shift);
}

CaesarKey CaesarKey::Random(std::mt19937_64& random) {
    return CaesarKey(std::uniform_int_distribution<int>(1, 25)(random));
}

} // namespace tallivo
