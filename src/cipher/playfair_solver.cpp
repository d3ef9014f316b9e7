#include "playfair_solver.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tallivo {

namespace {

constexpr int kSide = PlayfairKey::kSide;
using Square = std::array<std::uint8_t, PlayfairKey::kCells>;

// Deciphers pairs of letters under a square held with the cell of each letter.
class PlayfairTrial {
public:
    explicit PlayfairTrial(std::span<const std::uint8_t> cipher) {
        pairs_.reserve(cipher.size());
        for (std::size_t i = 0; i + 1 < cipher.size(); i += 2) {
            pairs_.push_back(Folded(cipher[i]));
            pairs_.push_back(Folded(cipher[i + 1]));
        }
        plain_.resize(pairs_.size());
    }

    const std::vector<std::uint8_t>& Decrypt(const Square& square) {
        std::array<std::uint8_t, 26> cell{};
        for (int c = 0; c < PlayfairKey::kCells; ++c) {
            cell[square[std::size_t(c)]] = std::uint8_t(c);
        }
        for (std::size_t i = 0; i < pairs_.size(); i += 2) {
            const int a = cell[pairs_[i]];
            const int b = cell[pairs_[i + 1]];
            const int ra = kRow[std::size_t(a)];
            const int ca = kColumn[std::size_t(a)];
            const int rb = kRow[std::size_t(b)];
            const int cb = kColumn[std::size_t(b)];
            if (a == b) {
                plain_[i] = pairs_[i];
                plain_[i + 1] = pairs_[i + 1];
            } else if (ra == rb) {
                plain_[i] = square[std::size_t(ra * kSide + kBack[std::size_t(ca)])];
                plain_[i + 1] = square[std::size_t(rb * kSide + kBack[std::size_t(cb)])];
            } else if (ca == cb) {
                plain_[i] = square[std::size_t(kBack[std::size_t(ra)] * kSide + ca)];
                plain_[i + 1] = square[std::size_t(kBack[std::size_t(rb)] * kSide + cb)];
            } else {
                plain_[i] = square[std::size_t(ra * kSide + cb)];
                plain_[i + 1] = square[std::size_t(rb * kSide + ca)];
            }
        }
        return plain_;
    }

    std::size_t size() const { return pairs_.size(); }

private:
    static std::uint8_t Folded(std::uint8_t letter) {
        return letter == PlayfairKey::kJ ? PlayfairKey::kI : letter;
    }
    static constexpr std::array<int, 25> kRow = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4};
    static constexpr std::array<int, 25> kColumn = {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2,
                                                    3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4};
    static constexpr std::array<int, 5> kBack = {4, 0, 1, 2, 3};

    std::vector<std::uint8_t> pairs_;
    std::vector<std::uint8_t> plain_;
};

// Changes square as the annealing does: mostly two letters swapped, now and then two rows,
// two columns, or the whole square flipped.
void Change(Square& square, std::mt19937_64& random) {
    const std::size_t kind = UniformBelow(random, 50);
    if (kind >= 5) {
        const std::size_t a = UniformBelow(random, 25);
        const std::size_t b = UniformBelow(random, 25);
        std::swap(square[a], square[b]);
        return;
    }
    const Square before = square;
    const auto at = [&before](int row, int column) {
        return before[std::size_t(row * kSide + column)];
    };
    const int x = int(UniformBelow(random, kSide));
    const int y = int(UniformBelow(random, kSide));
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            std::uint8_t& cell = square[std::size_t(row * kSide + column)];
            switch (kind) {
            case 0: // two rows swapped
                cell = at(row == x ? y : row == y ? x : row, column);
                break;
            case 1: // two columns swapped
                cell = at(row, column == x ? y : column == y ? x : column);
                break;
            case 2: // upside down
                cell = at(kSide - 1 - row, column);
                break;
            case 3: // left to right
                cell = at(row, kSide - 1 - column);
                break;
            default: // about the centre
                cell = at(kSide - 1 - row, kSide - 1 - column);
                break;
            }
        }
    }
}

} // namespace

Found<PlayfairKey> SolvePlayfair(std::span<const std::uint8_t> letters,
                                 const LanguageModel& language, const PlayfairSearch& search,
                                 std::stop_token stop, const SearchProgress& progress) {
    const QuadgramScorer scorer(language);
    PlayfairTrial trial(letters);
    std::mt19937_64 random(search.seed);
    // A change's score moves with the text's length; so does the temperature that lets the
    // search out of a local best.
    const double start = search.startTemperature > 0.0 ? search.startTemperature
                                                       : 10.0 + double(trial.size()) / 40.0;
    const double totalTrials = double(search.runs) * search.steps * search.trialsPerStep;
    double trials = 0.0;

    Found<PlayfairKey> found{PlayfairKey(), -1e300, false};
    std::vector<std::uint8_t> bestPlain;
    for (int run = 0; run < search.runs && !stop.stop_requested(); ++run) {
        Square parent = PlayfairKey::Random(random).square();
        double parentScore = scorer.Score(trial.Decrypt(parent));
        Square best = parent;
        double bestScore = parentScore;
        for (int step = 0; step < search.steps && !stop.stop_requested(); ++step) {
            const double temperature = start * (1.0 - double(step) / search.steps);
            for (int t = 0; t < search.trialsPerStep; ++t) {
                Square child = parent;
                Change(child, random);
                const double childScore = scorer.Score(trial.Decrypt(child));
                const double rise = childScore - parentScore;
                if (rise >= 0.0 ||
                    (temperature > 0.0 && UniformUnit(random) < std::exp(rise / temperature))) {
                    parent = child;
                    parentScore = childScore;
                    if (parentScore > bestScore) {
                        bestScore = parentScore;
                        best = parent;
                    }
                }
            }
            trials += search.trialsPerStep;
            if (progress) {
                progress(trials / totalTrials);
            }
        }
        const std::vector<std::uint8_t> plain = trial.Decrypt(best);
        const bool agrees = plain == bestPlain;
        if (bestScore > found.score) {
            found.key = PlayfairKey(best);
            found.score = bestScore;
            bestPlain = plain;
        }
        if (agrees) {
            break;
        }
    }
    found.stopped = stop.stop_requested();
    if (progress && !found.stopped) {
        progress(1.0);
    }
    return found;
}

} // namespace tallivo
