#include "autokey_search.h"

#include "autokey_solver.h"

namespace tallivo {

std::optional<AutokeyKey> FindAutokeyPrimer(std::span<const std::uint8_t> letters,
                                            const LanguageModel& language, std::stop_token stop,
                                            const std::function<void(double)>& progress) {
    const Found<AutokeyKey> found =
        SolveAutokey(letters, language, AutokeySearch{}, stop, progress);
    if (found.stopped) {
        return std::nullopt;
    }
    return found.key;
}

} // namespace tallivo
