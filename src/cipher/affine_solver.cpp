#include "affine_solver.h"

#include "cipher_search.h"
#include "text_statistics.h"

#include <algorithm>

namespace tallivo {

std::vector<AffineCandidate> RankAffineKeys(std::span<const std::uint8_t> letters,
                                            const LanguageModel& language) {
    const QuadgramScorer scorer(language);
    std::vector<std::int32_t> counts(26, 0);
    for (const std::uint8_t letter : letters) {
        ++counts[letter];
    }
    std::vector<AffineCandidate> ranked;
    std::vector<std::uint8_t> plain(letters.size());
    for (int index = 0; index < AffineKey::kKeys; ++index) {
        const AffineKey key = AffineKey::OfIndex(index);
        const ByteTable table = key.DecryptTable();
        std::array<std::uint8_t, 26> undo{};
        for (int c = 0; c < 26; ++c) {
            undo[std::size_t(c)] = std::uint8_t(table[std::size_t('a' + c)] - 'a');
        }
        for (std::size_t i = 0; i < letters.size(); ++i) {
            plain[i] = undo[letters[i]];
        }
        const double chiSquare = letters.empty()
                                     ? 0.0
                                     : ChiSquare(TabledCounts(counts, table),
                                                 std::int32_t(letters.size()), language.Letters());
        ranked.push_back({key, scorer.Score(plain), chiSquare});
    }
    const bool byScore = letters.size() >= 4;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [byScore](const AffineCandidate& a, const AffineCandidate& b) {
                         return byScore ? a.score > b.score : a.chiSquare < b.chiSquare;
                     });
    return ranked;
}

} // namespace tallivo
