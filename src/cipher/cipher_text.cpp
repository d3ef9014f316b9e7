#include "cipher_text.h"

#include <algorithm>

namespace tallivo {

namespace {

// The length of the UTF-8 sequence lead starts and the range its second byte must lie in;
// length 0 for a byte that starts none.
struct Utf8Lead {
    int length = 0;
    int low = 0x80;
    int high = 0xBF;
};

Utf8Lead ReadLead(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms, no surrogates.
        return {3, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        // No overlong forms, nothing past U+10FFFF.
        return {4, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF};
    }
    return {};
}

// Returns whether bytes (two or more) begin one UTF-8 character that they may not finish.
bool BeginsCharacter(std::string_view bytes) {
    const Utf8Lead lead = ReadLead(static_cast<unsigned char>(bytes[0]));
    if (lead.length == 0 || bytes.size() > std::size_t(lead.length)) {
        return false;
    }
    const int second = static_cast<unsigned char>(bytes[1]);
    if (second < lead.low || second > lead.high) {
        return false;
    }
    for (std::size_t k = 2; k < bytes.size(); ++k) {
        if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

CipherText::CipherText(std::string_view bytes) {
    Append(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void CipherText::Reserve(std::size_t bytes, std::size_t letters) {
    bytes_.reserve(std::min(bytes, kWorkLimit));
    letters_.reserve(std::min({letters, bytes, kWorkLimit}));
}

void CipherText::Append(const unsigned char* data, std::size_t size) {
    if (truncated_) {
        return;
    }
    const std::size_t kept = std::min(size, kWorkLimit - bytes_.size());
    truncated_ = kept < size;
    bytes_.append(reinterpret_cast<const char*>(data), kept);
    if (truncated_) {
        DropCutCharacter(data + kept, size - kept);
    }
    for (std::size_t i = 0; i < kept; ++i) {
        const int letter = LetterIndex(data[i]);
        if (letter >= 0) {
            letters_.push_back(std::uint8_t(letter));
            ++counts_[std::size_t(letter)];
            ++total_;
        }
    }
}

void CipherText::DropCutCharacter(const unsigned char* dropped, std::size_t size) {
    // The last character kept starts at most three bytes back; with the dropped bytes that
    // follow it, it must read as UTF-8 for the cut to be inside it.
    for (std::size_t back = 1; back <= 3 && back <= bytes_.size(); ++back) {
        const std::size_t start = bytes_.size() - back;
        const auto byte = static_cast<unsigned char>(bytes_[start]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        std::string joined = bytes_.substr(start);
        joined.append(reinterpret_cast<const char*>(dropped), std::min<std::size_t>(size, 3));
        joined.resize(std::min<std::size_t>(joined.size(), std::size_t(ReadLead(byte).length)));
        if (ReadLead(byte).length > int(back) && BeginsCharacter(joined)) {
            bytes_.resize(start);
        }
        return;
    }
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const Utf8Lead lead = ReadLead(*p);
        if (lead.length == 0 || end - p < lead.length || p[1] < lead.low || p[1] > lead.high) {
            return false;
        }
        for (int k = 2; k < lead.length; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += lead.length;
    }
    return true;
}

} // namespace tallivo
