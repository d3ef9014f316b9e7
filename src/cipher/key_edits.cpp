#include "key_edits.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

// The cipher letter that holds plain in key, or kNone.
int HolderOf(const SubstitutionKey& key, int plain) {
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (key.PlainOf(cipher) == plain) {
            return cipher;
        }
    }
    return SubstitutionKey::kNone;
}

} // namespace

SubstitutionKey ApplyAssignments(const SubstitutionKey& key, const LetterLocks& locks,
                                 std::span<const Assignment> assignments) {
    SubstitutionKey result = key;
    for (const Assignment& assignment : assignments) {
        if (locks[std::size_t(assignment.cipher)]) {
            continue;
        }
        const int holder = HolderOf(result, assignment.plain);
        if (holder != SubstitutionKey::kNone && holder != assignment.cipher) {
            if (locks[std::size_t(holder)]) {
                continue;
            }
            result.Assign(holder, SubstitutionKey::kNone);
        }
        result.Assign(assignment.cipher, assignment.plain);
    }
    return result;
}

bool SwapAssignments(SubstitutionKey& key, const LetterLocks& locks, int first, int second) {
    if (locks[std::size_t(first)] || locks[std::size_t(second)]) {
        return false;
    }
    const int plain = key.PlainOf(first);
    key.Assign(first, key.PlainOf(second));
    key.Assign(second, plain);
    return true;
}

bool HasUnlockedAssignments(const SubstitutionKey& key, const LetterLocks& locks) {
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (!locks[std::size_t(cipher)] && key.PlainOf(cipher) != SubstitutionKey::kNone) {
            return true;
        }
    }
    return false;
}

SubstitutionKey ProposeByFrequency(const std::vector<std::int32_t>& counts,
                                   const ReferenceTable& reference, const SubstitutionKey& key,
                                   const LetterLocks& locks, FrequencyFill fill) {
    SubstitutionKey result;
    std::array<bool, 26> used{};
    for (int cipher = 0; cipher < 26; ++cipher) {
        const int plain = key.PlainOf(cipher);
        const bool kept = locks[std::size_t(cipher)] || fill == FrequencyFill::OnlyUnassigned;
        if (kept && plain != SubstitutionKey::kNone) {
            result.Assign(cipher, plain);
            used[std::size_t(plain)] = true;
        }
    }
    std::array<int, 26> cipherOrder{};
    std::array<int, 26> plainOrder{};
    std::iota(cipherOrder.begin(), cipherOrder.end(), 0);
    std::iota(plainOrder.begin(), plainOrder.end(), 0);
    std::stable_sort(cipherOrder.begin(), cipherOrder.end(), [&counts](int a, int b) {
        return counts[std::size_t(a)] > counts[std::size_t(b)];
    });
    std::stable_sort(plainOrder.begin(), plainOrder.end(), [&reference](int a, int b) {
        return reference[std::size_t(a)] > reference[std::size_t(b)];
    });
    auto plain = plainOrder.begin();
    for (const int cipher : cipherOrder) {
        if (counts[std::size_t(cipher)] <= 0) {
            break;
        }
        if (result.PlainOf(cipher) != SubstitutionKey::kNone) {
            continue;
        }
        while (plain != plainOrder.end() && used[std::size_t(*plain)]) {
            ++plain;
        }
        if (plain == plainOrder.end()) {
            break;
        }
        result.Assign(cipher, *plain);
        used[std::size_t(*plain)] = true;
    }
    return result;
}

} // namespace tallivo
