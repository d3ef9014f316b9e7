#include "substitution_solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <span>
#include <vector>

namespace tallivo {

namespace {

constexpr std::size_t kLongestPackedWord = 12; // five bits a letter in 64
// The weight of the word list against the quadgrams, where the text has word spaces.
constexpr double kWordWeight = 1.0;
// An unknown word scores as a word the corpus shows this many times, a tenth less per letter.
constexpr double kUnknownWordCount = 0.3;
constexpr double kUnknownWordPerLetter = -0.1;
// Texts without word spaces up to this length end with climbs that read the plaintext as words
// too, from the best keys the quadgram climbs found.
constexpr std::size_t kPolishedLetters = 400;
constexpr std::size_t kPolishedKeys = 8;
// The weight of that reading against the quadgrams, and what a letter outside any known word
// costs there, as a share of an unknown word's log10 frequency.
constexpr double kSegmentWeight = 0.5;
constexpr double kSegmentLetter = 0.3;

std::uint64_t Pack(const std::uint8_t* letters, std::size_t length) {
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        packed = packed << 5 | (letters[i] + 1U);
    }
    return packed;
}

// The model's word list as an open-addressing hash from packed words to log10 frequencies,
// holding the words' endings too, so that a reading of letters as words can stop early.
class WordTable {
public:
    explicit WordTable(const LanguageModel& model) {
        std::size_t size = 16;
        while (size < model.Words().size() * 16) {
            size *= 2;
        }
        keys_.assign(size, 0);
        values_.assign(size, kEndingOnly);
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
            values_[Insert(Pack(letters.data(), letters.size()))] =
                float(std::log10(word.count / total));
            for (std::size_t from = 1; from < letters.size(); ++from) {
                Insert(Pack(letters.data() + from, letters.size() - from));
            }
        }
        unknown_ = std::log10(kUnknownWordCount / total);
    }

    // The log10 frequency of a word of length letters, or the unknown word's.
    double Score(const std::uint8_t* letters, std::size_t length) const {
        if (length > kLongestPackedWord) {
            return 0.0;
        }
        const std::size_t slot = Find(Pack(letters, length));
        return slot != kMissing && values_[slot] != kEndingOnly
                   ? values_[slot]
                   : unknown_ + kUnknownWordPerLetter * double(length);
    }

    // The best reading of letters as a run of words without spaces: the sum of the words'
    // log10 frequencies, a letter outside any known word counting as perLetter. best is room
    // for the work.
    double Segmentation(const std::vector<std::uint8_t>& letters, double perLetter,
                        std::vector<double>& best) const {
        best.assign(letters.size() + 1, 0.0);
        for (std::size_t end = 1; end <= letters.size(); ++end) {
            double score = best[end - 1] + perLetter;
            std::uint64_t packed = 0;
            for (std::size_t length = 1; length <= kLongestPackedWord && length <= end; ++length) {
                packed |= std::uint64_t(letters[end - length] + 1U) << (5 * (length - 1));
                const std::size_t slot = Find(packed);
                if (slot == kMissing) {
                    break; // no word ends in these letters
                }
                if (values_[slot] != kEndingOnly) {
                    score = std::max(score, best[end - length] + values_[slot]);
                }
            }
            best[end] = score;
        }
        return best.back();
    }

    double Unknown() const { return unknown_; }

private:
    static constexpr float kEndingOnly = 1.0F; // no log10 frequency is positive
    static constexpr std::size_t kMissing = std::size_t(-1);

    std::size_t Insert(std::uint64_t key) {
        std::size_t slot = Slot(key);
        while (keys_[slot] != 0 && keys_[slot] != key) {
            slot = (slot + 1) & mask_;
        }
        keys_[slot] = key;
        return slot;
    }

    std::size_t Find(std::uint64_t key) const {
        for (std::size_t slot = Slot(key); keys_[slot] != 0; slot = (slot + 1) & mask_) {
            if (keys_[slot] == key) {
                return slot;
            }
        }
        return kMissing;
    }

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
                       std::ptrdiff_t(std::min(maxLetters, text.letters().size())))
        , words_(model)
        , spaced_(text.hasWordSpaces()) {
        plain_.resize(letters_.size());
        for (const std::uint8_t letter : letters_) {
            present_[letter] = true;
        }
        if (spaced_) {
            for (const SubstitutionText::Word& word : text.words()) {
                if (word.first + word.length > letters_.size()) {
                    break;
                }
                wordSpans_.push_back(word);
            }
        }
    }

    bool Present(int cipher) const { return present_[std::size_t(cipher)]; }

    // Whether Polished weighs more than Fitness: a short text without word spaces.
    bool Polishes() const { return !spaced_ && letters_.size() <= kPolishedLetters; }

    // Fitness, and where the text has no word spaces the best reading of the plaintext as words.
    double Polished(const std::array<std::uint8_t, 26>& plainOf) {
        const double fitness = Fitness(plainOf);
        if (!Polishes()) {
            return fitness;
        }
        return fitness + kSegmentWeight *
                             words_.Segmentation(plain_, kSegmentLetter * words_.Unknown(), best_);
    }

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
        if (spaced_) {
            double words = 0.0;
            for (const SubstitutionText::Word& word : wordSpans_) {
                words += words_.Score(plain_.data() + word.first, word.length);
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
    WordTable words_;
    bool spaced_;
    std::vector<SubstitutionText::Word> wordSpans_;
    std::vector<double> best_;
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
    // Climbs from slotPlain while a swap of two slots raises the fitness.
    const auto climb = [&](auto&& fitnessOf) {
        applySlots();
        double fitness = fitnessOf(plainOf);
        bool improved = true;
        while (improved && !stop.stop_requested()) {
            improved = false;
            for (const auto& [i, j] : moves) {
                std::swap(slotPlain[i], slotPlain[j]);
                applySlots();
                const double candidate = fitnessOf(plainOf);
                if (candidate > fitness) {
                    fitness = candidate;
                    improved = true;
                } else {
                    std::swap(slotPlain[i], slotPlain[j]);
                }
            }
            applySlots();
        }
        return fitness;
    };
    const auto fitness = [&climber](const std::array<std::uint8_t, 26>& key) {
        return climber.Fitness(key);
    };
    const auto polished = [&climber](const std::array<std::uint8_t, 26>& key) {
        return climber.Polished(key);
    };

    // The best distinct keys the climbs end at, best first.
    std::vector<std::pair<double, std::vector<int>>> ends;
    for (int start = 0; start < options.maxClimbs && sameBest < options.sameBestToStop; ++start) {
        if (stop.stop_requested()) {
            result.stopped = true;
            break;
        }
        if (start > 0) {
            slotPlain = pool;
            std::shuffle(slotPlain.begin(), slotPlain.end(), random);
        }
        const double reached = climb(fitness);
        ++result.climbs;
        if (reached > bestFitness + 1e-9) {
            bestFitness = reached;
            bestSlots = slotPlain;
            sameBest = 1;
        } else if (reached > bestFitness - 1e-9) {
            ++sameBest;
        }
        if (climber.Polishes() &&
            std::none_of(ends.begin(), ends.end(),
                         [&slotPlain](const auto& end) { return end.second == slotPlain; })) {
            ends.emplace_back(reached, slotPlain);
            std::sort(ends.begin(), ends.end(), std::greater<>());
            ends.resize(std::min(ends.size(), kPolishedKeys));
        }
        if (progress) {
            progress(double(start + 1) / double(options.maxClimbs));
        }
    }
    // A short text without spaces: the best ends climb on, read as words too.
    double bestPolished = -1e300;
    for (auto& [reached, slots] : ends) {
        if (stop.stop_requested()) {
            result.stopped = true;
            break;
        }
        slotPlain = slots;
        const double score = climb(polished);
        if (score > bestPolished) {
            bestPolished = score;
            bestSlots = slotPlain;
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
