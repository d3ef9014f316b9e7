#include "substitution_hint.h"

#include "substitution_solver.h"
#include "text_figures.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <vector>

namespace tallivo {

namespace {

// How many of the text's commonest n-grams and words may carry the reason, and how high the
// language's rank of what they decipher to must be.
constexpr std::size_t kTextShown = 10;
constexpr std::size_t kLanguageShown = 20;

std::string Deciphered(const std::string& cipher, const SubstitutionKey& key) {
    std::string plain;
    for (const char c : cipher) {
        plain.push_back(char('a' + key.PlainOf(c - 'A')));
    }
    return plain;
}

// The first of figures that holds cipher and deciphers under key to one of the language's
// commonest (language, commonest first).
std::optional<HintReason> FromFigures(HintReason::Evidence evidence,
                                      const std::vector<TextFigure>& figures, int cipher,
                                      const SubstitutionKey& key,
                                      const std::vector<LanguageModel::Ranked>& language) {
    for (std::size_t rank = 0; rank < figures.size() && rank < kTextShown; ++rank) {
        const TextFigure& figure = figures[rank];
        if (figure.letters.find(char('A' + cipher)) == std::string::npos) {
            continue;
        }
        const std::string plain = Deciphered(figure.letters, key);
        for (std::size_t at = 0; at < language.size() && at < kLanguageShown; ++at) {
            if (language[at].text == plain) {
                return HintReason{evidence, figure.letters,       figure.count, int(rank) + 1,
                                  plain,    language[at].percent, int(at) + 1};
            }
        }
    }
    return std::nullopt;
}

// 1 for the commonest of values, ties counted once for each value above.
template <typename T> int RankOf(const std::vector<T>& values, std::size_t index) {
    int rank = 1;
    for (const T& value : values) {
        rank += value > values[index] ? 1 : 0;
    }
    return rank;
}

// The reason for the cipher letter's assignment: of the text's short words that hold it and
// decipher to one of the language's commonest, the most frequent if it occurs more than once;
// failing that, the same of its trigrams, doubled letters and bigrams; failing that, its
// frequency.
HintReason Reason(const SubstitutionText& text, int cipher, const SubstitutionKey& solved,
                  const LanguageModel& model) {
    const TextFigures figures = CountTextFigures(text, kTextShown);
    using Evidence = HintReason::Evidence;
    const auto keepCommonest = [](std::optional<HintReason>& kept,
                                  std::optional<HintReason> found) {
        if (found && found->count > 1 && (!kept || found->count > kept->count)) {
            kept = std::move(found);
        }
    };
    std::optional<HintReason> word;
    for (std::size_t length = 1; length <= figures.shortWords.size(); ++length) {
        keepCommonest(word, FromFigures(Evidence::ShortWord, figures.shortWords[length - 1], cipher,
                                        solved, model.ShortWords(int(length))));
    }
    if (word) {
        return *word;
    }
    std::optional<HintReason> gram;
    for (const auto& [evidence, textList, languageList] :
         {std::tuple{Evidence::Trigram, &figures.trigrams, &model.CommonestTrigrams()},
          std::tuple{Evidence::Doubled, &figures.doubled, &model.DoubledLetters()},
          std::tuple{Evidence::Bigram, &figures.bigrams, &model.CommonestBigrams()}}) {
        keepCommonest(gram, FromFigures(evidence, *textList, cipher, solved, *languageList));
    }
    if (gram) {
        return *gram;
    }
    const int plain = solved.PlainOf(cipher);
    const std::vector<double> languageLetters(model.Letters().begin(), model.Letters().end());
    return HintReason{Evidence::Letter,
                      std::string(1, char('A' + cipher)),
                      std::uint64_t(text.counts()[std::size_t(cipher)]),
                      RankOf(text.counts(), std::size_t(cipher)),
                      std::string(1, char('a' + plain)),
                      model.Letters()[std::size_t(plain)],
                      RankOf(languageLetters, std::size_t(plain))};
}

// The quadgram score of the text's first letters under plainOf (cipher to plaintext letter).
double Score(const std::vector<std::uint8_t>& letters, const std::array<std::uint8_t, 26>& plainOf,
             std::vector<std::uint8_t>& plain, const LanguageModel& model) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
        plain[i] = plainOf[letters[i]];
    }
    return model.QuadgramScore(plain);
}

} // namespace

SubstitutionHint SuggestAssignment(const SubstitutionText& text, const SubstitutionKey& key,
                                   const LetterLocks& locks, const LanguageModel& model,
                                   std::stop_token stop) {
    SubstitutionHint hint;
    if (text.letters().empty()) {
        hint.status = SubstitutionHint::Status::NoLetters;
        return hint;
    }
    const SolveResult solved = SolveSubstitution(text, key, locks, model, stop);
    if (solved.stopped) {
        hint.status = SubstitutionHint::Status::Stopped;
        return hint;
    }

    // The margin of each letter the key lacks or has wrong: the solution's score against the
    // best with that letter given another plaintext letter (swapped with its holder).
    const std::size_t size = std::min(text.letters().size(), SolverOptions{}.maxLetters);
    const std::vector<std::uint8_t> letters(text.letters().begin(),
                                            text.letters().begin() + std::ptrdiff_t(size));
    std::vector<std::uint8_t> plain(size);
    std::array<std::uint8_t, 26> plainOf{};
    std::array<int, 26> holderOf{};
    holderOf.fill(SubstitutionKey::kNone);
    for (int c = 0; c < 26; ++c) {
        const int p = solved.key.PlainOf(c);
        if (p != SubstitutionKey::kNone && text.counts()[std::size_t(c)] > 0) {
            plainOf[std::size_t(c)] = std::uint8_t(p);
            holderOf[std::size_t(p)] = c;
        }
    }
    const double best = Score(letters, plainOf, plain, model);
    int chosen = SubstitutionKey::kNone;
    for (int c = 0; c < 26; ++c) {
        const int right = solved.key.PlainOf(c);
        if (text.counts()[std::size_t(c)] == 0 || locks[std::size_t(c)] ||
            key.PlainOf(c) == right) {
            continue;
        }
        double rival = -1e300;
        for (int other = 0; other < 26; ++other) {
            const int holder = holderOf[std::size_t(other)];
            if (other == right ||
                (holder != SubstitutionKey::kNone && locks[std::size_t(holder)])) {
                continue;
            }
            std::array<std::uint8_t, 26> swapped = plainOf;
            swapped[std::size_t(c)] = std::uint8_t(other);
            if (holder != SubstitutionKey::kNone) {
                swapped[std::size_t(holder)] = std::uint8_t(right);
            }
            rival = std::max(rival, Score(letters, swapped, plain, model));
        }
        const double margin = best - rival;
        if (chosen == SubstitutionKey::kNone || margin > hint.margin) {
            chosen = c;
            hint.margin = margin;
        }
    }
    if (chosen == SubstitutionKey::kNone) {
        hint.status = SubstitutionHint::Status::KeyAgrees;
        return hint;
    }
    const int right = solved.key.PlainOf(chosen);
    hint.assignment = {chosen, right};
    hint.replaces = key.PlainOf(chosen);
    for (int c = 0; c < 26; ++c) {
        if (c != chosen && key.PlainOf(c) == right) {
            hint.takenFrom = c;
        }
    }
    hint.reason = Reason(text, chosen, solved.key, model);
    return hint;
}

} // namespace tallivo
