#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallivo {

// A ciphertext as the workbench holds it: its bytes as read, its letters alone (0 = a, either
// case; the columns of a periodic cipher are taken over these) and their counts.
class CipherText {
public:
    // The workbench works on at most this much of a text.
    static constexpr std::size_t kWorkLimit = std::size_t{16} << 20;

    CipherText() = default;
    explicit CipherText(std::string bytes);

    const std::string& bytes() const { return bytes_; }
    const std::vector<std::uint8_t>& letters() const { return letters_; }
    const std::vector<std::int32_t>& counts() const { return counts_; }
    std::int32_t total() const { return std::int32_t(letters_.size()); }

private:
    std::string bytes_;
    std::vector<std::uint8_t> letters_;
    std::vector<std::int32_t> counts_ = std::vector<std::int32_t>(26, 0);
};

// Returns the letter index of byte b (0 = a, either case), or -1 for any other byte.
constexpr int LetterIndex(unsigned char b) {
    const unsigned folded = b | 0x20U;
    return folded >= 'a' && folded <= 'z' ? int(folded - 'a') : -1;
}

} // namespace tallivo
