#include "cipher_search.h"

#include <algorithm>
#include <cmath>

namespace tallivo {

QuadgramScorer::QuadgramScorer(const LanguageModel& language) {
    const std::span<const float> quadgrams = language.Quadgrams();
    table_.reserve(quadgrams.size());
    for (const float logProbability : quadgrams) {
        const double scaled = std::round(double(logProbability) * kScale);
        table_.push_back(std::int16_t(std::clamp(scaled, -32768.0, 0.0)));
    }
}

double LanguageQuadgramLevel(const LanguageModel& language) {
    double mass = 0.0;
    double level = 0.0;
    for (const float logProbability : language.Quadgrams()) {
        const double p = std::pow(10.0, double(logProbability));
        mass += p;
        level += p * double(logProbability);
    }
    return mass > 0.0 ? level / mass : 0.0;
}

} // namespace tallivo
