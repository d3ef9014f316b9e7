#include "substitution_solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace tallivo {

namespace {

constexpr std::size_t kLongestPackedWord = 12; // five bits a letter in 64
// Weights of the word list against the quadgrams, where the text has word spaces.
constexpr double kWordWeight = 1.0;
// An unknown word scores as a word the corpus shows this many times, a tenth less per letter.
constexpr double kUnknownWordCount = 0.3;
constexpr double kUnknownWordPerLetter = -0.1;

std::uint64_t Pack(const std::uint8_t* letters, std::size_t length) {
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        packed = packed << 5 | (letters[i] + 1U);
    }
    return packed;
}

// The model's word list as an open-addressing hash from packed words to log10 frequencies.
class WordTable {
public:
    explicit WordTable(const LanguageModel& model) {
        std::size_t size = 16;
        while (size < model.Words().size() * 3) {
            size *= 2;
        }
        keys_.assign(size, 0);
        values_.assign(size, 0.0F);
        mask_ = size - 1;
        const double total = double(std::max<std::uint64_t>(model.WordTotal(), 1));
        std::vector<std::uint8_t> letters;
        for (const LanguageModel::Word& word : model.Words()) {
            if (word.text.size() > kLongestPackedWord) {
                continue;
            }
            letters.clear();
            for (const char c : word.text) {
                letters.push_back(std::uint8_t(c - 'a'));
            }
            const std::uint64_t key = Pack(letters.data(), letters.size());
            std::size_t slot = Slot(key);
            while (keys_[slot] != 0 && keys_[slot] != key) {
                slot = (slot + 1) & mask_;
            }
            keys_[slot] = key;
            values_[slot] = float(std::log10(word.count / total));
        }
        unknown_ = std::log10(kUnknownWordCount / total);
    }

    // The log10 frequency of a word of length letters, or the unknown word's.
    double Score(const std::uint8_t* letters, std::size_t length) const {
        if (length > kLongestPackedWord) {
            return 0.0;
        }
        const std::uint64_t key = Pack(letters, length);
        for (std::size_t slot = Slot(key); keys_[slot] != 0; slot = (slot + 1) & mask_) {
            if (keys_[slot] == key) {
                return values_[slot];
            }
        }
        return unknown_ + kUnknownWordPerLetter * double(length);
    }

private:
    std::size_t Slot(std::uint64_t key) const {
        return std::size_t((key * 0x9E3779B97F4A7C15ULL) >> 32) & mask_;
    }

    std::vector<std::uint64_t> keys_;
    std::vector<float> values_;
    std::size_t mask_ = 0;
    double unknown_ = 0.0;
};

// The text as the climbs score it, and the key being changed.
class Climber {
public:
    Climber(const SubstitutionText& text, const LanguageModel& model, std::size_t maxLetters)
        : quadgrams_(model.Quadgrams())
        , letters_(text.letters().begin(),
                   text.letters().begin() +
                       std::ptrdiff_t(std::min(maxLetters, text.letters().size()))) {
        plain_.resize(letters_.size());
        for (const std::uint8_t letter : letters_) {
            present_[letter] = true;
        }
        if (text.hasWordSpaces()) {
            words_.emplace(model);
            for (const SubstitutionText::Word& word : text.words()) {
                if (word.first + word.length > letters_.size()) {
                    break;
                }
                wordSpans_.push_back(word);
            }
        }
    }

    bool Present(int cipher) const { return present_[std::size_t(cipher)]; }

    // The fitness of the plaintext under plainOf (cipher letter to plaintext letter).
    double Fitness(const std::array<std::uint8_t, 26>& plainOf) {
        for (std::size_t i = 0; i < letters_.size(); ++i) {
            plain_[i] = plainOf[letters_[i]];
        }
        double score = 0.0;
        if (plain_.size() >= 4) {
            std::size_t index = (std::size_t(plain_[0]) * 26 + plain_[1]) * 26 + plain_[2];
            for (std::size_t i = 3; i < plain_.size(); ++i) {
                index = (index % (26 * 26 * 26)) * 26 + plain_[i];
                score += quadgrams_[index];
            }
        }
        if (words_) {
            double words = 0.0;
            for (const SubstitutionText::Word& word : wordSpans_) {
                words += words_->Score(plain_.data() + word.first, word.length);
            }
            score += kWordWeight * words;
        }
        return score;
    }

private:
    std::span<const float> quadgrams_;
    std::vector<std::uint8_t> letters_;
    std::vector<std::uint8_t> plain_;
    std::array<bool, 26> present_{};
    std::optional<WordTable> words_;
    std::vector<SubstitutionText::Word> wordSpans_;
};

} // namespace

double KeyScore(const SubstitutionText& text, const SubstitutionKey& key,
                const LanguageModel& model, std::size_t maxLetters) {
    const std::size_t size = std::min(maxLetters, text.letters().size());
    double sum = 0.0;
    std::size_t quadgrams = 0;
    std::size_t run = 0; // assigned letters in a row
    std::size_t index = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const int plain = key.PlainOf(text.letters()[i]);
        if (plain == SubstitutionKey::kNone) {
            run = 0;
            continue;
        }
        index = (index % (26 * 26 * 26)) * 26 + std::size_t(plain);
        if (++run >= 4) {
            sum += model.Quadgrams()[index];
            ++quadgrams;
        }
    }
    return quadgrams == 0 ? 0.0 : sum / double(quadgrams);
}

SolveResult SolveSubstitution(const SubstitutionText& text, const SubstitutionKey& start,
                              const LetterLocks& locks, const LanguageModel& model,
                              std::stop_token stop, const std::function<void(double)>& progress,
                              const SolverOptions& options) {
    Climber climber(text, model, options.maxLetters);

    // The slots the climbs move plaintext letters between: the cipher letters not locked, and
    // as many spare slots (-1) as there are plaintext letters left over, so that any of them
    // can come in.
    std::array<bool, 26> fixedPlain{};
    std::array<bool, 26> locked{};
    for (int c = 0; c < 26; ++c) {
        locked[std::size_t(c)] =
            locks[std::size_t(c)] && start.PlainOf(c) != SubstitutionKey::kNone;
        if (locked[std::size_t(c)]) {
            fixedPlain[std::size_t(start.PlainOf(c))] = true;
        }
    }
    std::vector<int> slotCipher;
    std::vector<int> pool;
    for (int c = 0; c < 26; ++c) {
        if (!locked[std::size_t(c)]) {
            slotCipher.push_back(c);
        }
        if (!fixedPlain[std::size_t(c)]) {
            pool.push_back(c);
        }
    }
    while (slotCipher.size() < pool.size()) {
        slotCipher.push_back(-1);
    }
    // Pairs of slots worth swapping: at least one of the two occurs in the text.
    std::vector<std::pair<std::size_t, std::size_t>> moves;
    for (std::size_t i = 0; i < slotCipher.size(); ++i) {
        for (std::size_t j = i + 1; j < slotCipher.size(); ++j) {
            const bool iPresent = slotCipher[i] >= 0 && climber.Present(slotCipher[i]);
            const bool jPresent = slotCipher[j] >= 0 && climber.Present(slotCipher[j]);
            if (iPresent || jPresent) {
                moves.emplace_back(i, j);
            }
        }
    }

    std::array<std::uint8_t, 26> plainOf{};
    for (int c = 0; c < 26; ++c) {
        plainOf[std::size_t(c)] = locked[std::size_t(c)] ? std::uint8_t(start.PlainOf(c)) : 0;
    }
    std::vector<int> slotPlain(slotCipher.size());
    const auto applySlots = [&] {
        for (std::size_t i = 0; i < slotCipher.size(); ++i) {
            if (slotCipher[i] >= 0) {
                plainOf[std::size_t(slotCipher[i])] = std::uint8_t(slotPlain[i]);
            }
        }
    };

    // The first climb starts from the key given, its gaps filled from the pool in order.
    {
        std::array<bool, 26> taken{};
        for (std::size_t i = 0; i < slotCipher.size(); ++i) {
            const int plain = slotCipher[i] >= 0 ? start.PlainOf(slotCipher[i]) : -1;
            const bool usable =
                plain >= 0 && !fixedPlain[std::size_t(plain)] && !taken[std::size_t(plain)];
            slotPlain[i] = usable ? plain : -1;
            if (usable) {
                taken[std::size_t(plain)] = true;
            }
        }
        auto next = pool.begin();
        for (int& plain : slotPlain) {
            while (plain < 0) {
                if (!taken[std::size_t(*next)]) {
                    plain = *next;
                    taken[std::size_t(*next)] = true;
                }
                ++next;
            }
        }
    }

    std::mt19937_64 random(options.seed);
    SolveResult result;
    std::vector<int> bestSlots = slotPlain;
    double bestFitness = -1e300;
    int sameBest = 0;
    for (int climb = 0; climb < options.maxClimbs && sameBest < options.sameBestToStop; ++climb) {
        if (stop.stop_requested()) {
            result.stopped = true;
            break;
        }
        if (climb > 0) {
            slotPlain = pool;
            std::shuffle(slotPlain.begin(), slotPlain.end(), random);
        }
        applySlots();
        double fitness = climber.Fitness(plainOf);
        bool improved = true;
        while (improved && !stop.stop_requested()) {
            improved = false;
            for (const auto& [i, j] : moves) {
                std::swap(slotPlain[i], slotPlain[j]);
                applySlots();
                const double candidate = climber.Fitness(plainOf);
                if (candidate > fitness) {
                    fitness = candidate;
                    improved = true;
                } else {
                    std::swap(slotPlain[i], slotPlain[j]);
                }
            }
            applySlots();
        }
        ++result.climbs;
        if (fitness > bestFitness + 1e-9) {
            bestFitness = fitness;
            bestSlots = slotPlain;
            sameBest = 1;
        } else if (fitness > bestFitness - 1e-9) {
            ++sameBest;
        }
        if (progress) {
            progress(double(climb + 1) / double(options.maxClimbs));
        }
    }
    if (progress && !result.stopped) {
        progress(1.0);
    }

    // The key: locked letters as they were, the letters of the text as solved, the others as
    // the student left them where the solution does not need their plaintext letters.
    slotPlain = bestSlots;
    applySlots();
    std::array<bool, 26> used{};
    for (int c = 0; c < 26; ++c) {
        if (locked[std::size_t(c)]) {
            result.key.Assign(c, start.PlainOf(c));
            used[std::size_t(start.PlainOf(c))] = true;
        } else if (climber.Present(c)) {
            result.key.Assign(c, plainOf[std::size_t(c)]);
            used[plainOf[std::size_t(c)]] = true;
        }
    }
    for (int c = 0; c < 26; ++c) {
        const int plain = start.PlainOf(c);
        if (!locked[std::size_t(c)] && !climber.Present(c) && plain != SubstitutionKey::kNone &&
            !used[std::size_t(plain)]) {
            result.key.Assign(c, plain);
        }
    }
    result.score = KeyScore(text, result.key, model, options.maxLetters);
    return result;
}

} // namespace tallivo
