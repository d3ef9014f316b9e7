#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// The languages Tallivo carries data for.
enum class Language { Italian, English };

// What a language looks like in running text, derived from named corpora by
// scripts/derive-language-data: letter frequencies, n-gram log-probabilities and a word list by
// frequency. Built once from the data compiled into the program; immutable afterwards.
class LanguageModel {
public:
    // A word of the corpus with how often it occurs there.
    struct Word {
        std::string text; // lower case, letters a-z only
        std::uint32_t count = 0;
    };

    // An n-gram or a word among the language's commonest, with its share in percent of all the
    // n-grams (or words) of the corpus.
    struct Ranked {
        std::string text; // lower case
        std::uint64_t count = 0;
        double percent = 0.0;
    };

    // An n-gram the corpus never shows counts as this many occurrences.
    static constexpr double kFloorCount = 0.3;

    // Returns the model of language.
    static const LanguageModel& Get(Language language);

    // Builds a model from data as scripts/derive-language-data writes it (text and n-grams);
    // throws std::runtime_error if the data is malformed.
    LanguageModel(std::string_view text, std::string_view ngrams);

    // Returns the letter frequencies in percent (index 0 = a); they sum to 100.
    const std::array<double, 26>& Letters() const { return letters_; }

    // Return the log10 probability of an n-gram of letters (0 = a); an n-gram the corpus never
    // shows gets the model's floor.
    float Bigram(int a, int b) const { return bigrams_[std::size_t(a * 26 + b)]; }
    float Trigram(int a, int b, int c) const {
        return trigrams_[std::size_t((a * 26 + b) * 26 + c)];
    }
    float Quadgram(int a, int b, int c, int d) const {
        return quadgrams_[std::size_t(((a * 26 + b) * 26 + c) * 26 + d)];
    }

    // Returns the quadgram log-probabilities, indexed ((a * 26 + b) * 26 + c) * 26 + d, for
    // loops that keep the index rolling.
    std::span<const float> Quadgrams() const { return quadgrams_; }

    // Returns the log10 probability given to an n-gram of length n (2 to 4) the corpus never
    // shows.
    float Floor(int n) const { return floors_[std::size_t(n - 2)]; }

    // Returns the sum of the quadgram log-probabilities of letters (each 0..25): the fitness of
    // a candidate plaintext, higher is more like the language. Fewer than 4 letters give 0.
    double QuadgramScore(std::span<const std::uint8_t> letters) const;

    // Returns the corpus's words, most frequent first (ties alphabetically).
    const std::vector<Word>& Words() const { return words_; }

    // Returns the number of words in the whole corpus, of which Words() lists the commonest.
    std::uint64_t WordTotal() const { return wordTotal_; }

    // Return the commonest bigrams and trigrams (up to 50 of each), the doubled letters (all
    // 26, "aa" to "zz") each with its share of all bigrams, and the words of 1, 2 or 3 letters
    // with their share of all words; commonest first, ties alphabetically.
    const std::vector<Ranked>& CommonestBigrams() const { return commonestBigrams_; }
    const std::vector<Ranked>& CommonestTrigrams() const { return commonestTrigrams_; }
    const std::vector<Ranked>& DoubledLetters() const { return doubled_; }
    const std::vector<Ranked>& ShortWords(int length) const {
        return shortWords_[std::size_t(length - 1)];
    }

    // Returns the name of the corpus the data comes from, as the program cites it.
    std::string_view Source() const { return source_; }

private:
    void ReadText(std::string_view text);
    void ReadNgrams(std::string_view ngrams);
    void Rank();

    std::string source_;
    std::array<double, 26> letters_{};
    std::vector<Word> words_;
    std::uint64_t wordTotal_ = 0;
    std::array<std::uint64_t, 3> ngramTotals_{}; // n = 2, 3, 4
    std::vector<std::uint32_t> bigramCounts_;
    std::vector<std::uint32_t> trigramCounts_;
    std::vector<float> bigrams_;
    std::vector<float> trigrams_;
    std::vector<float> quadgrams_;
    std::array<float, 3> floors_{};
    std::vector<Ranked> commonestBigrams_;
    std::vector<Ranked> commonestTrigrams_;
    std::vector<Ranked> doubled_;
    std::array<std::vector<Ranked>, 3> shortWords_;
};

} // namespace tallivo
