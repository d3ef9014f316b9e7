#include "probable_word.h"

#include "word_pattern.h"

#include <array>
#include <optional>

namespace tallivo {

namespace {

// The fit of plain at text letters [first, first + plain.size()), if the shapes agree and no
// lock is broken.
std::optional<ProbableWordFit> FitAt(const SubstitutionText& text, std::size_t first,
                                     const std::vector<std::uint8_t>& plain,
                                     const SubstitutionKey& key, const LetterLocks& locks,
                                     const std::array<int, 26>& lockedHolder) {
    const std::uint8_t* cipher = text.letters().data() + first;
    // The shapes agree when every letter maps one way: cipher to plain and back.
    std::array<int, 26> plainOf{};
    std::array<int, 26> cipherOf{};
    plainOf.fill(-1);
    cipherOf.fill(-1);
    ProbableWordFit fit;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const int c = cipher[i];
        const int p = plain[i];
        if (plainOf[std::size_t(c)] < 0 && cipherOf[std::size_t(p)] < 0) {
            plainOf[std::size_t(c)] = p;
            cipherOf[std::size_t(p)] = c;
            fit.assignments.push_back({c, p});
        } else if (plainOf[std::size_t(c)] != p || cipherOf[std::size_t(p)] != c) {
            return std::nullopt;
        }
    }
    for (const Assignment& a : fit.assignments) {
        const int holder = lockedHolder[std::size_t(a.plain)];
        if ((locks[std::size_t(a.cipher)] && key.PlainOf(a.cipher) != a.plain) ||
            (holder >= 0 && holder != a.cipher)) {
            return std::nullopt;
        }
        if (key.PlainOf(a.cipher) == a.plain) {
            ++fit.agreeing;
        } else {
            bool taken = key.PlainOf(a.cipher) != SubstitutionKey::kNone;
            for (int other = 0; other < 26 && !taken; ++other) {
                taken = other != a.cipher && key.PlainOf(other) == a.plain;
            }
            fit.changing += taken ? 1 : 0;
        }
    }
    fit.letter = first;
    fit.byteOffset = text.offsets()[first];
    fit.byteLength = text.offsets()[first + plain.size() - 1] + 1 - fit.byteOffset;
    return fit;
}

} // namespace

ProbableWordFits FindProbableWord(const SubstitutionText& text, std::string_view word,
                                  const SubstitutionKey& key, const LetterLocks& locks,
                                  std::size_t limit) {
    ProbableWordFits result;
    if (word.empty()) {
        result.status = ProbableWordFits::Status::Empty;
        return result;
    }
    const std::vector<std::uint8_t> plain = WordLetters(word);
    if (plain.empty()) {
        result.status = ProbableWordFits::Status::NotLetters;
        return result;
    }
    if (plain.size() > text.letters().size()) {
        result.status = ProbableWordFits::Status::LongerThanText;
        return result;
    }
    std::array<int, 26> lockedHolder{};
    lockedHolder.fill(-1);
    for (int c = 0; c < 26; ++c) {
        if (locks[std::size_t(c)] && key.PlainOf(c) != SubstitutionKey::kNone) {
            lockedHolder[std::size_t(key.PlainOf(c))] = c;
        }
    }
    const auto consider = [&](std::size_t first) {
        std::optional<ProbableWordFit> fit = FitAt(text, first, plain, key, locks, lockedHolder);
        if (fit) {
            ++result.total;
            if (result.fits.size() < limit) {
                result.fits.push_back(std::move(*fit));
            }
        }
    };
    if (text.hasWordSpaces()) {
        for (const SubstitutionText::Word& cipherWord : text.words()) {
            if (cipherWord.length == plain.size()) {
                consider(cipherWord.first);
            }
        }
    } else {
        for (std::size_t first = 0; first + plain.size() <= text.letters().size(); ++first) {
            consider(first);
        }
    }
    if (result.total == 0) {
        result.status = ProbableWordFits::Status::NoFit;
    }
    return result;
}

} // namespace tallivo
