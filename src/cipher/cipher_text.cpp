#include "cipher_text.h"

#include <algorithm>

namespace tallivo {

CipherText::CipherText(std::string_view bytes) {
    Append(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void CipherText::Append(const unsigned char* data, std::size_t size) {
    const std::size_t kept = std::min(size, kWorkLimit - bytes_.size());
    truncated_ = truncated_ || kept < size;
    bytes_.append(reinterpret_cast<const char*>(data), kept);
    for (std::size_t i = 0; i < kept; ++i) {
        const int letter = LetterIndex(data[i]);
        if (letter >= 0) {
            letters_.push_back(std::uint8_t(letter));
            ++counts_[std::size_t(letter)];
        }
    }
}

} // namespace tallivo
