#include "cipher_text.h"

namespace tallivo {

CipherText::CipherText(std::string bytes)
    : bytes_(std::move(bytes)) {
    letters_.reserve(bytes_.size());
    for (const char c : bytes_) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter >= 0) {
            letters_.push_back(std::uint8_t(letter));
            ++counts_[letter];
        }
    }
    letters_.shrink_to_fit();
}

} // namespace tallivo
