#include "letter_mapping.h"

#include "cipher_text.h"
#include "letter_layout.h"

#include <algorithm>
#include <span>

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

std::size_t PeriodicTableMapping::Map(std::string_view in, std::string& out,
                                      std::size_t firstLetter) const {
    ApplyTables(in, tables_, out, firstLetter % tables_.size());
    return firstLetter + CountLetterBytes(in);
}

AutokeyMapping::AutokeyMapping(std::vector<std::uint8_t> primer,
                               std::shared_ptr<const CipherText> text)
    : primer_(std::move(primer))
    , text_(std::move(text))
    , running_(primer_) {}

void AutokeyMapping::Seek(std::size_t firstLetter) const {
    if (firstLetter == next_) {
        return;
    }
    running_ = primer_;
    next_ = 0;
    const std::size_t period = primer_.size();
    const std::string_view text = text_ ? std::string_view(text_->bytes()) : std::string_view();
    for (std::size_t at = 0; at < text.size() && next_ < firstLetter; ++at) {
        const int c = LetterIndex(static_cast<unsigned char>(text[at]));
        if (c >= 0) {
            std::uint8_t& key = running_[next_ % period];
            key = std::uint8_t((c - key + 26) % 26);
            ++next_;
        }
    }
    next_ = firstLetter; // past the text's end the key stays as it was
}

std::size_t AutokeyMapping::Map(std::string_view in, std::string& out,
                                std::size_t firstLetter) const {
    const std::scoped_lock lock(mutex_);
    Seek(firstLetter);
    out.resize(in.size());
    const std::size_t period = primer_.size();
    for (std::size_t at = 0; at < in.size(); ++at) {
        const auto byte = static_cast<unsigned char>(in[at]);
        const int c = LetterIndex(byte);
        if (c < 0) {
            out[at] = char(byte);
            continue;
        }
        std::uint8_t& key = running_[next_ % period];
        key = std::uint8_t((c - key + 26) % 26);
        out[at] = char((byte & 0x20U) != 0 ? 'a' + key : 'A' + key);
        ++next_;
    }
    return next_;
}

std::size_t MovedLettersMapping::Map(std::string_view in, std::string& out,
                                     std::size_t firstLetter) const {
    std::call_once(made_, [this] { letters_ = make_(); });
    const std::span<const std::uint8_t> letters(letters_);
    PutLetters(in, letters.subspan(std::min(firstLetter, letters.size())), out);
    return firstLetter + CountLetterBytes(in);
}

} // namespace tallivo
