#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// A ciphertext as the workbench holds it: its bytes as read, its letters alone (0 = a, either
// case; the columns of a periodic cipher are taken over these) and their counts.
class CipherText {
public:
    // The workbench works on at most this much of a text.
    static constexpr std::size_t kWorkLimit = std::size_t{16} << 20;

    CipherText() = default;
    explicit CipherText(std::string_view bytes);

    // Makes room for a text of about this many bytes and letters, so that reading it in
    // blocks never holds a second copy while the buffers grow.
    void Reserve(std::size_t bytes, std::size_t letters);

    // Adds the next block of the text; past kWorkLimit bytes only notes that there was more.
    // A UTF-8 character the limit would cut in two is left out whole.
    void Append(const unsigned char* data, std::size_t size);

    // Lets go of the letters, once what needs them in order has been worked out; the bytes
    // and the counts stay.
    void ReleaseLetters() { letters_ = {}; }

    // Whether the text went on past kWorkLimit bytes.
    bool truncated() const { return truncated_; }

    const std::string& bytes() const { return bytes_; }
    const std::vector<std::uint8_t>& letters() const { return letters_; }
    const std::vector<std::int32_t>& counts() const { return counts_; }
    std::int32_t total() const { return total_; }

private:
    // Drops the start of a UTF-8 character at the end of the bytes kept whose rest is among
    // the first of the size bytes dropped.
    void DropCutCharacter(const unsigned char* dropped, std::size_t size);

    std::string bytes_;
    bool truncated_ = false;
    std::vector<std::uint8_t> letters_;
    std::vector<std::int32_t> counts_ = std::vector<std::int32_t>(26, 0);
    std::int32_t total_ = 0;
};

// Returns whether bytes are valid UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Returns the letter index of byte b (0 = a, either case), or -1 for any other byte.
constexpr int LetterIndex(unsigned char b) {
    const unsigned folded = b | 0x20U;
    return folded >= 'a' && folded <= 'z' ? int(folded - 'a') : -1;
}

} // namespace tallivo
