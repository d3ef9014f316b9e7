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

    // Returns the model of language.
    static const LanguageModel& Get(Language language);

    // Returns the letter frequencies in percent (index 0 = a); they sum to 100.
    const std::array<double, 26>& Letters() const;

    // Return the log10 probability of an n-gram of letters (0 = a); an n-gram the corpus never
    // shows gets the model's floor.
    float Bigram(int a, int b) const;
    float Trigram(int a, int b, int c) const;
    float Quadgram(int a, int b, int c, int d) const;

    // Returns the sum of the quadgram log-probabilities of letters (each 0..25): the fitness of
    // a candidate plaintext, higher is more like the language.
    double QuadgramScore(std::span<const std::uint8_t> letters) const;

    // Returns the corpus's words, most frequent first.
    const std::vector<Word>& Words() const;

    // Returns the name of the corpus the data comes from, as the program cites it.
    std::string_view Source() const;
};

} // namespace tallivo
