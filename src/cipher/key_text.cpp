#include "key_text.h"

#include "cipher_text.h"

namespace tallivo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> ReadNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ',' || text[i] == ';' || IsBlank(text[i])) {
            if (i > start) {
                fields.push_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return fields;
}

Parsed<std::vector<std::uint8_t>> ReadKeyword(std::string_view text, std::size_t shortest,
                                              std::size_t longest) {
    text = Trimmed(text);
    if (text.empty()) {
        return KeyError::Empty;
    }
    std::vector<std::uint8_t> letters;
    for (const char c : text) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter < 0) {
            return KeyError::NotALetter;
        }
        letters.push_back(std::uint8_t(letter));
    }
    if (letters.size() < shortest) {
        return KeyError::TooShort;
    }
    if (letters.size() > longest) {
        return KeyError::TooLong;
    }
    return letters;
}

} // namespace tallivo
