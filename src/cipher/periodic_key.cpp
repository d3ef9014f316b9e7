#include "periodic_key.h"

#include "key_text.h"

namespace tallivo {

PeriodicKey::PeriodicKey(PeriodicSense sense, std::vector<std::uint8_t> letters)
    : sense_(sense)
    , letters_(std::move(letters)) {}

Parsed<PeriodicKey> PeriodicKey::Parse(PeriodicSense sense, std::string_view text) {
    const Parsed<std::vector<std::uint8_t>> letters = ReadKeyword(text, 1, kLongest);
    if (!letters.ok()) {
        return letters.error();
    }
    return PeriodicKey(sense, letters.key());
}

PeriodicKey PeriodicKey::Random(PeriodicSense sense, std::size_t length, std::mt19937_64& random) {
    std::uniform_int_distribution<int> letter(0, 25);
    std::vector<std::uint8_t> letters(length);
    for (std::uint8_t& l : letters) {
        l = std::uint8_t(letter(random));
    }
    return PeriodicKey(sense, std::move(letters));
}

std::string PeriodicKey::Text() const {
    std::string text;
    for (const std::uint8_t letter : letters_) {
        text += char('A' + letter);
    }
    return text;
}

std::vector<ByteTable> PeriodicKey::EncryptTables() const {
    std::vector<ByteTable> tables;
    for (const std::uint8_t k : letters_) {
        switch (sense_) {
        case PeriodicSense::Vigenere:
            tables.push_back(ShiftTable((26 - k) % 26));
            break;
        case PeriodicSense::Beaufort:
            tables.push_back(ReflectTable(k));
            break;
        case PeriodicSense::VariantBeaufort:
            tables.push_back(ShiftTable(k));
            break;
        }
    }
    return tables;
}

std::vector<ByteTable> PeriodicKey::DecryptTables() const {
    std::vector<ByteTable> tables;
    for (const std::uint8_t k : letters_) {
        switch (sense_) {
        case PeriodicSense::Vigenere:
            tables.push_back(ShiftTable(k));
            break;
        case PeriodicSense::Beaufort:
            tables.push_back(ReflectTable(k));
            break;
        case PeriodicSense::VariantBeaufort:
            tables.push_back(ShiftTable((26 - k) % 26));
            break;
        }
    }
    return tables;
}

void PeriodicKey::Encrypt(std::string_view in, std::string& out) const {
    ApplyTables(in, EncryptTables(), out);
}

void PeriodicKey::Decrypt(std::string_view in, std::string& out) const {
    ApplyTables(in, DecryptTables(), out);
}

} // namespace tallivo
