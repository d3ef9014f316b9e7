#include "playfair_solver.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tallivo {

namespace {

constexpr int kSide = PlayfairKey::kSide;
// How far below the language's level per quadgram a plaintext may score and be taken as found.
constexpr double kSolvedMargin = 0.35;
using Square = std::array<std::uint8_t, PlayfairKey::kCells>;

// For each pair of cells (first * 25 + second), the cells their letters decipher to: the
// same for every square. A pair in one cell (a letter twice) stays.
struct CellPair {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
};

constexpr std::array<CellPair, 625> DecipheredCells() {
    std::array<CellPair, 625> cells{};
    for (int a = 0; a < 25; ++a) {
        for (int b = 0; b < 25; ++b) {
            const int ra = a / kSide;
            const int ca = a % kSide;
            const int rb = b / kSide;
            const int cb = b % kSide;
            int first = a;
            int second = b;
            if (a == b) {
            } else if (ra == rb) {
                first = ra * kSide + (ca + kSide - 1) % kSide;
                second = rb * kSide + (cb + kSide - 1) % kSide;
            } else if (ca == cb) {
                first = (ra + kSide - 1) % kSide * kSide + ca;
                second = (rb + kSide - 1) % kSide * kSide + cb;
            } else {
                first = ra * kSide + cb;
                second = rb * kSide + ca;
            }
            cells[std::size_t(a * 25 + b)] = {std::uint8_t(first), std::uint8_t(second)};
        }
    }
    return cells;
}

constexpr std::array<CellPair, 625> kDeciphered = DecipheredCells();

// Deciphers pairs of letters under a square through the cell of each letter, without a branch.
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
            const CellPair to =
                kDeciphered[std::size_t(cell[pairs_[i]] * 25 + cell[pairs_[i + 1]])];
            plain_[i] = square[to.first];
            plain_[i + 1] = square[to.second];
        }
        return plain_;
    }

    std::size_t size() const { return pairs_.size(); }

private:
    static std::uint8_t Folded(std::uint8_t letter) {
        return letter == PlayfairKey::kJ ? PlayfairKey::kI : letter;
    }

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
    // A run whose plaintext scores near the language's level has found the square.
    const double solved = (LanguageQuadgramLevel(language) - kSolvedMargin) *
                          double(std::max<std::size_t>(trial.size(), 3) - 3);
    double trials = 0.0;

    Found<PlayfairKey> found{PlayfairKey(), -1e300, false};
    std::vector<std::uint8_t> bestPlain;
    for (int run = 0; run < search.runs && !stop.stop_requested(); ++run) {
        Square parent = PlayfairKey::Random(random).square();
        std::int32_t parentSum = scorer.Sum(trial.Decrypt(parent));
        Square best = parent;
        std::int32_t bestSum = parentSum;
        for (int step = 0; step < search.steps && !stop.stop_requested(); ++step) {
            const double temperature = start * (1.0 - double(step) / search.steps);
            for (int t = 0; t < search.trialsPerStep; ++t) {
                Square child = parent;
                Change(child, random);
                const std::int32_t childSum = scorer.Sum(trial.Decrypt(child));
                const double rise = double(childSum - parentSum) / QuadgramScorer::kScale;
                if (rise >= 0.0 ||
                    (temperature > 0.0 && UniformUnit(random) < std::exp(rise / temperature))) {
                    parent = child;
                    parentSum = childSum;
                    if (parentSum > bestSum) {
                        bestSum = parentSum;
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
        const double bestScore = double(bestSum) / QuadgramScorer::kScale;
        if (bestScore > found.score) {
            found.key = PlayfairKey(best);
            found.score = bestScore;
            bestPlain = plain;
        }
        if (agrees || found.score >= solved) {
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
