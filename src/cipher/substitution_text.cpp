#include "substitution_text.h"

#include "cipher_text.h"

#include <algorithm>

namespace tallivo {

namespace {

// Groups of this length or more, all alike but the last, are taken for a cipher's grouping.
constexpr std::size_t kShortestGroup = 4;
// Words longer than this on average are runs of a text without spaces, broken only by lines.
constexpr std::size_t kLongestMeanWord = 12;

} // namespace

SubstitutionText::SubstitutionText(std::string_view bytes) {
    letters_.reserve(bytes.size());
    offsets_.reserve(bytes.size());
    bool inWord = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int letter = LetterIndex(static_cast<unsigned char>(bytes[i]));
        if (letter < 0) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            words_.push_back({std::uint32_t(letters_.size()), 0});
            inWord = true;
        }
        ++words_.back().length;
        letters_.push_back(std::uint8_t(letter));
        offsets_.push_back(std::uint32_t(i));
        ++counts_[std::size_t(letter)];
    }
    if (words_.size() < 2 || letters_.size() > kLongestMeanWord * words_.size()) {
        return;
    }
    const std::size_t group = words_.front().length;
    const bool grouped = group >= kShortestGroup &&
                         std::all_of(words_.begin(), words_.end() - 1,
                                     [group](const Word& word) { return word.length == group; }) &&
                         words_.back().length <= group;
    hasWordSpaces_ = !grouped;
}

} // namespace tallivo
