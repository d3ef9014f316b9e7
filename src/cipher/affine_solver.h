#pragma once

#include "affine_key.h"
#include "language_model.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tallivo {

// One affine key as the ranking weighs it: the quadgram score of its plaintext (higher is more
// like the language) and the chi-squared distance of its letters from the language's.
struct AffineCandidate {
    AffineKey key;
    double score = 0.0;
    double chiSquare = 0.0;
};

// Returns all 312 affine keys, the best plaintext first by quadgram score (by chi-squared
// below four letters), from the ciphertext's letters (0 = a).
std::vector<AffineCandidate> RankAffineKeys(std::span<const std::uint8_t> letters,
                                            const LanguageModel& language);

} // namespace tallivo
