#pragma once

#include "cipher_search.h"
#include "rail_fence_key.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tallivo {

// Returns every number of rails from fewest to most with the quadgram score of its plaintext,
// the best first (the fewer rails on a tie), from the ciphertext's letters (0 = a).
std::vector<Found<RailFenceKey>> RankRailFences(std::span<const std::uint8_t> letters,
                                                const LanguageModel& language,
                                                int fewest = RailFenceKey::kFewest,
                                                int most = RailFenceKey::kMost);

} // namespace tallivo
