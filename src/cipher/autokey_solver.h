#pragma once

#include "autokey_key.h"
#include "cipher_search.h"

#include <cstdint>
#include <span>
#include <stop_token>

namespace tallivo {

// Which primers the autokey search tries.
struct AutokeySearch {
    int shortest = 1;
    int longest = int(AutokeyKey::kLongest);
};

// Finds the autokey primer whose plaintext scores best by quadgrams, from the ciphertext's
// letters (0 = a). Each primer letter deciphers its own chain of letters (every primer's
// length-th), so for each length each letter is first chosen by its chain's letter
// frequencies, then all are improved one at a time on the whole plaintext's quadgrams until
// none changes.
Found<AutokeyKey> SolveAutokey(std::span<const std::uint8_t> letters, const LanguageModel& language,
                               const AutokeySearch& search, std::stop_token stop,
                               const SearchProgress& progress);

} // namespace tallivo
