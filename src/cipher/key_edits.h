#pragma once

#include "reference_frequencies.h"
#include "substitution_key.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tallivo {

// The cipher letters (0 = a) whose assignment the student has locked: every proposal, hint and
// completion keeps them as they are.
using LetterLocks = std::array<bool, 26>;

// One assignment of a key: cipher letter to plaintext letter, both 0..25.
struct Assignment {
    int cipher = 0;
    int plain = 0;
    bool operator==(const Assignment&) const = default;
};

// Returns key with the assignments made: each cipher letter gets its plaintext letter, and a
// cipher letter that held one of those plaintext letters before loses it. A locked cipher letter
// keeps its assignment, and so does one holding the plaintext letter of a locked one.
SubstitutionKey ApplyAssignments(const SubstitutionKey& key, const LetterLocks& locks,
                                 std::span<const Assignment> assignments);

// Swaps the plaintext letters of two cipher letters (either may be unassigned) in one step;
// returns false, and changes nothing, if either is locked.
bool SwapAssignments(SubstitutionKey& key, const LetterLocks& locks, int first, int second);

// Whether any cipher letter that is not locked has an assignment: what a proposal by frequency
// would replace.
bool HasUnlockedAssignments(const SubstitutionKey& key, const LetterLocks& locks);

// What a proposal by frequency leaves of the key it starts from.
enum class FrequencyFill {
    ReplaceUnlocked, // keeps only the locked letters
    OnlyUnassigned,  // keeps every assignment made, fills the rest
};

// The key by rank, around what is kept: the cipher letters to fill that occur (counts, index
// 0 = a; commonest first, ties alphabetically) get the plaintext letters no kept assignment
// uses, in the reference's order (commonest first). A letter that does not occur stays
// unassigned; on an empty key this is SubstitutionKey::ByFrequency.
SubstitutionKey ProposeByFrequency(const std::vector<std::int32_t>& counts,
                                   const ReferenceTable& reference, const SubstitutionKey& key,
                                   const LetterLocks& locks, FrequencyFill fill);

} // namespace tallivo
