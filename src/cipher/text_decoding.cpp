#include "text_decoding.h"

#include <cstdint>

namespace tallivo {

namespace {

// Windows-1252 where it differs from Latin-1: 0x80..0x9F (0 = not a character there).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || b >= 0xA0) {
            text[i] = char16_t(b);
        } else {
            const char16_t high = kHigh[b - 0x80];
            text[i] = high != 0 ? high : u'\uFFFD';
        }
    }
    return text;
}

std::size_t IncompleteUtf8Tail(std::string_view bytes) {
    // Look back over at most three continuation bytes for the lead of the last character.
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto b = static_cast<unsigned char>(bytes[size - back]);
        if ((b & 0xC0) == 0x80) {
            continue; // a continuation byte
        }
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace tallivo
