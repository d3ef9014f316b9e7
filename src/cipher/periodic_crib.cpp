#include "periodic_crib.h"

namespace tallivo {

namespace {

// The key letter that turns plaintext letter p into cipher letter c in sense.
int KeyLetter(int c, int p, PeriodicSense sense) {
    switch (sense) {
    case PeriodicSense::Vigenere:
        return (c - p + 26) % 26;
    case PeriodicSense::Beaufort:
        return (c + p) % 26;
    case PeriodicSense::VariantBeaufort:
        break;
    }
    return (p - c + 26) % 26;
}

bool RepeatsOver(const std::string& letters, std::size_t period) {
    for (std::size_t i = 0; i + period < letters.size(); ++i) {
        if (letters[i] != letters[i + period]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<CribPlacement> SlideProbableWord(std::span<const std::uint8_t> cipher,
                                             std::span<const std::uint8_t> word,
                                             PeriodicSense sense) {
    std::vector<CribPlacement> placements;
    if (word.empty() || word.size() > cipher.size()) {
        return placements;
    }
    for (std::size_t offset = 0; offset + word.size() <= cipher.size(); ++offset) {
        CribPlacement placement;
        placement.offset = offset;
        for (std::size_t i = 0; i < word.size(); ++i) {
            placement.keyLetters += char('A' + KeyLetter(cipher[offset + i], word[i], sense));
        }
        for (std::size_t period = 1; period + kCribRepeatOver <= word.size(); ++period) {
            if (RepeatsOver(placement.keyLetters, period)) {
                placement.repeat = int(period);
                break;
            }
        }
        placements.push_back(std::move(placement));
    }
    return placements;
}

bool RepeatsWithPeriod(const CribPlacement& placement, int period) {
    return period > 0 && std::size_t(period) < placement.keyLetters.size() &&
           RepeatsOver(placement.keyLetters, std::size_t(period));
}

std::vector<int> KeyOfPlacement(const CribPlacement& placement, int period) {
    std::vector<int> key(std::size_t(period), -1);
    std::vector<bool> disagree(std::size_t(period), false);
    for (std::size_t i = 0; i < placement.keyLetters.size(); ++i) {
        const std::size_t column = (placement.offset + i) % std::size_t(period);
        const int letter = placement.keyLetters[i] - 'A';
        if (key[column] >= 0 && key[column] != letter) {
            disagree[column] = true;
        }
        key[column] = letter;
    }
    for (std::size_t column = 0; column < key.size(); ++column) {
        if (disagree[column]) {
            key[column] = -1;
        }
    }
    return key;
}

} // namespace tallivo
