#include "word_pattern.h"

#include "cipher_text.h"

#include <array>

namespace tallivo {

std::vector<std::uint8_t> LetterPattern(std::span<const std::uint8_t> letters) {
    std::array<int, 26> order{};
    order.fill(-1);
    int next = 0;
    std::vector<std::uint8_t> pattern;
    pattern.reserve(letters.size());
    for (const std::uint8_t letter : letters) {
        int& seen = order[letter];
        if (seen < 0) {
            seen = next++;
        }
        pattern.push_back(std::uint8_t(seen));
    }
    return pattern;
}

std::vector<std::uint8_t> WordLetters(std::string_view word) {
    std::vector<std::uint8_t> letters;
    letters.reserve(word.size());
    for (const char c : word) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        if (letter < 0) {
            return {};
        }
        letters.push_back(std::uint8_t(letter));
    }
    return letters;
}

PatternMatches MatchWordPattern(std::string_view cipherWord, const SubstitutionKey& key,
                                const LetterLocks& locks, PatternConsistency consistency,
                                const LanguageModel& model, std::size_t limit) {
    PatternMatches result;
    if (cipherWord.empty()) {
        result.status = PatternMatches::Status::Empty;
        return result;
    }
    const std::vector<std::uint8_t> cipher = WordLetters(cipherWord);
    if (cipher.empty()) {
        result.status = PatternMatches::Status::NotLetters;
        return result;
    }
    // What binds: for each cipher letter the plaintext letter it must get, and for each
    // plaintext letter the cipher letter that holds it.
    std::array<int, 26> plainOf{};
    std::array<int, 26> holderOf{};
    plainOf.fill(SubstitutionKey::kNone);
    holderOf.fill(SubstitutionKey::kNone);
    for (int c = 0; c < 26; ++c) {
        const int plain = key.PlainOf(c);
        if (plain != SubstitutionKey::kNone &&
            (consistency == PatternConsistency::WithKey || locks[std::size_t(c)])) {
            plainOf[std::size_t(c)] = plain;
            holderOf[std::size_t(plain)] = c;
        }
    }
    const std::vector<std::uint8_t> shape = LetterPattern(cipher);
    for (const LanguageModel::Word& word : model.Words()) {
        if (result.matches.size() == limit) {
            break;
        }
        if (word.text.size() != cipher.size()) {
            continue;
        }
        const std::vector<std::uint8_t> plain = WordLetters(word.text);
        if (LetterPattern(plain) != shape) {
            continue;
        }
        bool agrees = true;
        PatternMatch match{word.text, word.count, {}};
        for (std::size_t i = 0; i < cipher.size() && agrees; ++i) {
            const int c = cipher[i];
            const int p = plain[i];
            const int bound = plainOf[std::size_t(c)];
            const int holder = holderOf[std::size_t(p)];
            agrees = (bound == SubstitutionKey::kNone || bound == p) &&
                     (holder == SubstitutionKey::kNone || holder == c);
            if (shape[i] == match.assignments.size()) {
                match.assignments.push_back({c, p});
            }
        }
        if (agrees) {
            result.matches.push_back(std::move(match));
        }
    }
    if (result.matches.empty()) {
        result.status = PatternMatches::Status::NoMatch;
    }
    return result;
}

} // namespace tallivo
