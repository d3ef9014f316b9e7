#include "cipher_text.h"

#include <algorithm>

namespace tallivo {

CipherText::CipherText(std::string_view bytes) {
    Append(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void CipherText::Reserve(std::size_t bytes, std::size_t letters) {
    bytes_.reserve(std::min(bytes, kWorkLimit));
    letters_.reserve(std::min({letters, bytes, kWorkLimit}));
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
            ++total_;
        }
    }
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        // The length of the sequence and the range its second byte must lie in.
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) {
            return false;
        }
        for (int k = 2; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += length;
    }
    return true;
}

} // namespace tallivo
