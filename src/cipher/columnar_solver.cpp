#include "columnar_solver.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

// Scores the plaintext of orders of one number of columns, reusing its buffers.
class ColumnarTrial {
public:
    // scored: the letters of the plaintext scored from its start, in whole rows (0: all).
    ColumnarTrial(std::span<const std::uint8_t> cipher, int columns, std::size_t scored,
                  const QuadgramScorer& scorer)
        : cipher_(cipher)
        , columns_(std::size_t(columns))
        , rows_(cipher.size() / columns_)
        , longColumns_(cipher.size() % columns_)
        , scoredRows_(scored == 0 ? rows_ + 1 : (scored + columns_ - 1) / columns_)
        , starts_(columns_)
        , plain_(std::min(cipher.size(), scoredRows_ * columns_))
        , scorer_(scorer) {}

    double Score(const std::vector<int>& order) {
        std::size_t at = 0;
        for (const int column : order) {
            starts_[std::size_t(column)] = at;
            at += rows_ + (std::size_t(column) < longColumns_ ? 1 : 0);
        }
        std::size_t i = 0;
        for (std::size_t row = 0; row < std::min(rows_, scoredRows_); ++row) {
            for (std::size_t column = 0; column < columns_; ++column) {
                plain_[i++] = cipher_[starts_[column] + row];
            }
        }
        if (scoredRows_ > rows_) {
            for (std::size_t column = 0; column < longColumns_; ++column) {
                plain_[i++] = cipher_[starts_[column] + rows_];
            }
        }
        return scorer_.Score(std::span<const std::uint8_t>(plain_).first(i));
    }

private:
    std::span<const std::uint8_t> cipher_;
    std::size_t columns_;
    std::size_t rows_;
    std::size_t longColumns_;
    std::size_t scoredRows_;
    std::vector<std::size_t> starts_;
    std::vector<std::uint8_t> plain_;
    const QuadgramScorer& scorer_;
};

double Factorial(int n) {
    double f = 1.0;
    for (int k = 2; k <= n; ++k) {
        f *= k;
    }
    return f;
}

// Climbs from order to the best order its neighbours lead to: each step takes the best of all
// swaps of two columns, all moves of one column to another place and all turns of the columns
// round the grid (each column read where one some places on was), until none is better.
double Climb(ColumnarTrial& trial, std::vector<int>& order, const std::stop_token& stop) {
    double score = trial.Score(order);
    const std::size_t n = order.size();
    std::vector<int> candidate;
    std::vector<int> best;
    for (bool improved = true; improved && !stop.stop_requested();) {
        improved = false;
        best = order;
        double bestScore = score;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                if (i == j) {
                    continue;
                }
                candidate = order;
                if (i < j) {
                    std::swap(candidate[i], candidate[j]);
                    const double swapped = trial.Score(candidate);
                    if (swapped > bestScore) {
                        bestScore = swapped;
                        best = candidate;
                    }
                    candidate = order;
                }
                const int moved = candidate[i];
                candidate.erase(candidate.begin() + std::ptrdiff_t(i));
                candidate.insert(candidate.begin() + std::ptrdiff_t(j), moved);
                const double shifted = trial.Score(candidate);
                if (shifted > bestScore) {
                    bestScore = shifted;
                    best = candidate;
                }
            }
        }
        for (std::size_t turn = 1; turn < n; ++turn) {
            for (std::size_t k = 0; k < n; ++k) {
                candidate[k] = int((std::size_t(order[k]) + turn) % n);
            }
            const double turned = trial.Score(candidate);
            if (turned > bestScore) {
                bestScore = turned;
                best = candidate;
            }
        }
        if (bestScore > score) {
            score = bestScore;
            order = best;
            improved = true;
        }
    }
    return score;
}

} // namespace

Found<ColumnarKey> SolveColumnar(std::span<const std::uint8_t> letters,
                                 const LanguageModel& language, const ColumnarSearch& search,
                                 std::stop_token stop, const SearchProgress& progress) {
    const QuadgramScorer scorer(language);
    std::mt19937_64 random(search.seed);
    const int most = std::min<int>(search.most, int(ColumnarKey::kLongest));
    const int fewest = std::max<int>(search.fewest, int(ColumnarKey::kShortest));

    // The work each number of columns takes, in plaintexts scored, for the progress.
    double total = 0.0;
    for (int n = fewest; n <= most; ++n) {
        total += n <= search.exhaustiveUpTo ? Factorial(n) : search.climbs * 8.0 * n * n * n;
    }
    double done = 0.0;

    Found<ColumnarKey> found{ColumnarKey(), -1e300, false};
    for (int n = fewest; n <= most && !stop.stop_requested(); ++n) {
        ColumnarTrial trial(letters, n, search.scoredLetters, scorer);
        std::vector<int> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        if (n <= search.exhaustiveUpTo) {
            std::size_t tried = 0;
            do {
                const double score = trial.Score(order);
                if (score > found.score) {
                    found.key = ColumnarKey(order);
                    found.score = score;
                }
                if (++tried % 4096 == 0) {
                    if (stop.stop_requested()) {
                        break;
                    }
                    if (progress) {
                        progress((done + double(tried)) / total);
                    }
                }
            } while (std::next_permutation(order.begin(), order.end()));
            done += Factorial(n);
        } else {
            for (int climb = 0; climb < search.climbs && !stop.stop_requested(); ++climb) {
                for (std::size_t i = order.size(); i-- > 1;) {
                    std::swap(order[i], order[UniformBelow(random, i + 1)]);
                }
                const double score = Climb(trial, order, stop);
                if (score > found.score) {
                    found.key = ColumnarKey(order);
                    found.score = score;
                }
                done += 8.0 * n * n * n;
                if (progress) {
                    progress(done / total);
                }
            }
        }
    }
    found.stopped = stop.stop_requested();
    if (progress && !found.stopped) {
        progress(1.0);
    }
    return found;
}

} // namespace tallivo
