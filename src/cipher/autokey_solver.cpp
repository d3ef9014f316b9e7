#include "autokey_solver.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tallivo {

namespace {

// The log-probability of each letter in the language, a letter it never shows given a floor.
std::array<double, 26> LetterLogs(const LanguageModel& language) {
    std::array<double, 26> logs{};
    for (std::size_t letter = 0; letter < 26; ++letter) {
        logs[letter] = std::log10(std::max(language.Letters()[letter], 0.01) / 100.0);
    }
    return logs;
}

// Returns the primer letter for chain (every length-th letter from first) whose plaintext
// letters are likeliest by the language's letter frequencies.
std::uint8_t BestChainLetter(std::span<const std::uint8_t> cipher, std::size_t first,
                             std::size_t length, const std::array<double, 26>& logs) {
    double best = -1e300;
    std::uint8_t bestLetter = 0;
    for (int k = 0; k < 26; ++k) {
        double likelihood = 0.0;
        int previous = k;
        for (std::size_t i = first; i < cipher.size(); i += length) {
            previous = (cipher[i] - previous + 26) % 26;
            likelihood += logs[std::size_t(previous)];
        }
        if (likelihood > best) {
            best = likelihood;
            bestLetter = std::uint8_t(k);
        }
    }
    return bestLetter;
}

} // namespace

Found<AutokeyKey> SolveAutokey(std::span<const std::uint8_t> letters, const LanguageModel& language,
                               const AutokeySearch& search, std::stop_token stop,
                               const SearchProgress& progress) {
    const QuadgramScorer scorer(language);
    const std::array<double, 26> logs = LetterLogs(language);
    const int shortest = std::max(search.shortest, 1);
    const int longest = std::min(search.longest, int(AutokeyKey::kLongest));
    Found<AutokeyKey> found{AutokeyKey(), -1e300, false};
    std::vector<std::uint8_t> plain(letters.size());
    const auto score = [&](const std::vector<std::uint8_t>& primer) {
        std::copy(letters.begin(), letters.end(), plain.begin());
        AutokeyKey(primer).DecryptLetters(plain);
        return scorer.Score(plain);
    };

    for (int length = shortest; length <= longest && !stop.stop_requested(); ++length) {
        std::vector<std::uint8_t> primer(static_cast<std::size_t>(length));
        for (std::size_t j = 0; j < primer.size(); ++j) {
            primer[j] = BestChainLetter(letters, j, primer.size(), logs);
        }
        double current = score(primer);
        for (bool changed = true; changed && !stop.stop_requested();) {
            changed = false;
            for (std::size_t j = 0; j < primer.size(); ++j) {
                const std::uint8_t kept = primer[j];
                for (std::uint8_t k = 0; k < 26; ++k) {
                    if (k == kept) {
                        continue;
                    }
                    const std::uint8_t before = primer[j];
                    primer[j] = k;
                    const double tried = score(primer);
                    if (tried > current) {
                        current = tried;
                        changed = true;
                    } else {
                        primer[j] = before;
                    }
                }
            }
        }
        if (current > found.score) {
            found.key = AutokeyKey(primer);
            found.score = current;
        }
        if (progress) {
            progress(double(length - shortest + 1) / double(longest - shortest + 1));
        }
    }
    found.stopped = stop.stop_requested();
    return found;
}

} // namespace tallivo
