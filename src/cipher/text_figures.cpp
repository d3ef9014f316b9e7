#include "text_figures.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

std::string Letters(std::size_t index, int n) {
    std::string letters(std::size_t(n), 'A');
    for (int i = n - 1; i >= 0; --i) {
        letters[std::size_t(i)] = char('A' + index % 26);
        index /= 26;
    }
    return letters;
}

// The entries of counts that occur, commonest first, ties in index order, up to limit.
std::vector<TextFigure> Ranked(const std::vector<std::uint64_t>& counts, int n, std::uint64_t total,
                               std::size_t limit) {
    std::vector<std::size_t> order(counts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&counts](std::size_t a, std::size_t b) { return counts[a] > counts[b]; });
    std::vector<TextFigure> ranked;
    for (const std::size_t index : order) {
        if (ranked.size() == limit || counts[index] == 0) {
            break;
        }
        ranked.push_back({Letters(index, n), counts[index], 100.0 * counts[index] / total});
    }
    return ranked;
}

} // namespace

TextFigures CountTextFigures(const SubstitutionText& text, std::size_t limit) {
    TextFigures figures;
    const std::vector<std::uint8_t>& letters = text.letters();
    std::vector<std::uint64_t> bigrams(26 * 26, 0);
    std::vector<std::uint64_t> trigrams(26 * 26 * 26, 0);
    for (std::size_t i = 1; i < letters.size(); ++i) {
        ++bigrams[std::size_t(letters[i - 1]) * 26 + letters[i]];
        if (i >= 2) {
            ++trigrams[(std::size_t(letters[i - 2]) * 26 + letters[i - 1]) * 26 + letters[i]];
        }
    }
    const std::uint64_t bigramTotal = letters.size() < 2 ? 0 : letters.size() - 1;
    const std::uint64_t trigramTotal = letters.size() < 3 ? 0 : letters.size() - 2;
    figures.bigrams = Ranked(bigrams, 2, bigramTotal, limit);
    figures.trigrams = Ranked(trigrams, 3, trigramTotal, limit);
    std::vector<std::uint64_t> doubled(26 * 26, 0);
    for (std::size_t letter = 0; letter < 26; ++letter) {
        doubled[letter * 27] = bigrams[letter * 27];
    }
    figures.doubled = Ranked(doubled, 2, bigramTotal, limit);

    if (!text.hasWordSpaces()) {
        return figures;
    }
    // Words of 1, 2 and 3 letters, counted by their letters in base 26.
    std::array<std::vector<std::uint64_t>, 3> words{std::vector<std::uint64_t>(26, 0),
                                                    std::vector<std::uint64_t>(26 * 26, 0),
                                                    std::vector<std::uint64_t>(26 * 26 * 26, 0)};
    for (const SubstitutionText::Word& word : text.words()) {
        if (word.length <= words.size()) {
            std::size_t index = 0;
            for (std::size_t i = 0; i < word.length; ++i) {
                index = index * 26 + letters[word.first + i];
            }
            ++words[word.length - 1][index];
        }
    }
    for (std::size_t length = 1; length <= words.size(); ++length) {
        figures.shortWords[length - 1] =
            Ranked(words[length - 1], int(length), text.words().size(), limit);
    }
    return figures;
}

} // namespace tallivo
