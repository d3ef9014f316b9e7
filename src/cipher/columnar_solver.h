#pragma once

#include "cipher_search.h"
#include "columnar_key.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>

namespace tallivo {

// How widely the columnar search looks.
struct ColumnarSearch {
    int fewest = 2;         // the fewest columns tried
    int most = 12;          // the most columns tried
    int exhaustiveUpTo = 8; // up to this many columns every order is tried
    int climbs = 40;        // for more columns, hill climbs from this many random orders each
    // 0: every key is judged by its whole plaintext; else by the plaintext's first rows,
    // about this many letters of them, so that a long text costs no more than a short one.
    std::size_t scoredLetters = 0;
    std::uint64_t seed = 1;
};

// Finds the columnar key whose plaintext scores best by quadgrams, from the ciphertext's
// letters (0 = a): every order of up to exhaustiveUpTo columns, then hill climbs over the
// orders of more (swapping two columns, or moving one elsewhere) from random starts.
Found<ColumnarKey> SolveColumnar(std::span<const std::uint8_t> letters,
                                 const LanguageModel& language, const ColumnarSearch& search,
                                 std::stop_token stop, const SearchProgress& progress);

} // namespace tallivo
