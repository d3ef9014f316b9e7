#include "rail_fence_solver.h"

#include <algorithm>

namespace tallivo {

std::vector<Found<RailFenceKey>> RankRailFences(std::span<const std::uint8_t> letters,
                                                const LanguageModel& language, int fewest,
                                                int most) {
    const QuadgramScorer scorer(language);
    std::vector<Found<RailFenceKey>> ranked;
    for (int rails = fewest; rails <= most; ++rails) {
        const RailFenceKey key(rails);
        ranked.push_back({key, scorer.Score(key.DecryptLetters(letters))});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Found<RailFenceKey>& a, const Found<RailFenceKey>& b) {
                         return a.score > b.score;
                     });
    return ranked;
}

} // namespace tallivo
