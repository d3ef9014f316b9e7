#include "cipher_identification.h"

#include "playfair_key.h"
#include "text_statistics.h"

#include <algorithm>
#include <cmath>

namespace tallivo {

namespace {

// Above this strength (0 random letters, 1 the language) a text is taken for one alphabet,
// which Playfair's digraphs never reach.
constexpr double kOneAlphabet = 0.8;
// Below this strength a text without a period is clearly far from one alphabet.
constexpr double kFlat = 0.3;
// Texts of this many letters give verdicts the figures hold firmly.
constexpr std::size_t kFirmLetters = 200;
// A chi-squared this close to the limit (as a share of it) leaves the verdict unsure.
constexpr double kNearLimit = 0.2;

ReferenceTable ReferenceOf(const LanguageModel& language) {
    ReferenceTable reference{};
    std::copy(language.Letters().begin(), language.Letters().end(), reference.begin());
    return reference;
}

// The share of the language's bigrams that are one letter twice.
double DoubledShare(const LanguageModel& language) {
    double percent = 0.0;
    for (const LanguageModel::Ranked& doubled : language.DoubledLetters()) {
        percent += doubled.percent;
    }
    return percent / 100.0;
}

Confidence Lower(Confidence a, Confidence b) {
    return std::max(a, b);
}

} // namespace

double PlainChiSquareLimit(std::size_t letters) {
    return 55.0 + 0.1 * double(letters);
}

Verdict IdentifyCipher(const std::vector<std::uint8_t>& letters, const PeriodAnalysis& periods,
                       const LanguageModel& language) {
    Verdict verdict;
    const std::size_t n = letters.size();
    verdict.reasons.push_back({Figure::Letters, double(n), double(kFewestLettersToJudge)});
    if (n < kFewestLettersToJudge) {
        verdict.kind = CipherKind::TooShort;
        return verdict;
    }

    const ReferenceTable reference = ReferenceOf(language);
    const std::int32_t total = std::int32_t(n);
    std::vector<std::int32_t> counts(26, 0);
    for (const std::uint8_t letter : letters) {
        ++counts[letter];
    }
    const double coincidence = IndexOfCoincidence(counts, total).value_or(0.0);
    const double languageCoincidence = ExpectedCoincidence(reference);
    const double random = 1.0 / 26.0;
    const double strength = (coincidence - random) / (languageCoincidence - random);
    verdict.reasons.push_back({Figure::Coincidence, coincidence, languageCoincidence});

    verdict.periods = FindPeriod(periods.Coincidences(), periods.Examination(letters, 0),
                                 std::uint64_t(n), languageCoincidence);
    const std::array<double, 26> shifts = ShiftChiSquares(counts, reference);
    verdict.shift = BestShift(shifts);
    const AffineChiSquare affine = AffineChiSquares(counts, reference).front();
    verdict.affine = affine.key;

    // The digraph signs: an even count, no pair of one letter twice, no J.
    std::size_t doubled = 0;
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        doubled += letters[i] == letters[i + 1] ? 1 : 0;
    }
    const std::size_t js = std::size_t(counts[PlayfairKey::kJ]);
    const double expectedDoubled = double(n / 2) * DoubledShare(language);
    const double expectedJs = double(n) * reference[PlayfairKey::kJ] / 100.0;
    const Confidence byLength = n >= kFirmLetters ? Confidence::High : Confidence::Medium;

    const bool digraphSigns = n % 2 == 0 && doubled == 0 && js == 0;
    if (digraphSigns && strength < kOneAlphabet) {
        verdict.kind = CipherKind::Playfair;
        verdict.reasons.push_back({Figure::DoubledPairs, 0.0, expectedDoubled});
        verdict.reasons.push_back({Figure::LettersJ, 0.0, expectedJs});
        // No doubled pair means little when the language would show few.
        verdict.confidence = expectedDoubled >= 4.0   ? Confidence::High
                             : expectedDoubled >= 2.0 ? Confidence::Medium
                                                      : Confidence::Low;
        return verdict;
    }

    const std::optional<int> period = verdict.periods.period;
    // On a short text a long period's columns may look like the language by chance: a text
    // whose letters already do is taken for one alphabet unless a period is clear.
    const bool oneAlphabet = period == 1 || (strength >= kOneAlphabet &&
                                             verdict.periods.certainty != PeriodCertainty::Clear);
    if (oneAlphabet) {
        const double limit = PlainChiSquareLimit(n);
        const double unshifted = ChiSquare(counts, total, reference);
        const double shifted = shifts[std::size_t(verdict.shift)];
        verdict.reasons.push_back({Figure::ChiSquareUnshifted, unshifted, limit});
        double deciding = unshifted;
        if (unshifted <= limit) {
            verdict.kind = CipherKind::Transposition;
        } else {
            verdict.reasons.push_back({Figure::ChiSquareBestShift, shifted, limit});
            deciding = shifted;
            if (shifted <= limit) {
                verdict.kind = CipherKind::Caesar;
            } else {
                verdict.reasons.push_back({Figure::ChiSquareBestAffine, affine.chiSquare, limit});
                deciding = affine.chiSquare;
                verdict.kind =
                    affine.chiSquare <= limit ? CipherKind::Affine : CipherKind::Substitution;
                // Playfair's letters, on a short text, may show as many coincidences as one
                // alphabet's; its digraph signs then tell it from a substitution, if not firmly.
                if (verdict.kind == CipherKind::Substitution && digraphSigns) {
                    verdict.kind = CipherKind::Playfair;
                    verdict.reasons.push_back({Figure::DoubledPairs, 0.0, expectedDoubled});
                    verdict.reasons.push_back({Figure::LettersJ, 0.0, expectedJs});
                    verdict.confidence = Confidence::Low;
                    return verdict;
                }
            }
        }
        const bool nearLimit = std::abs(deciding - limit) <= kNearLimit * limit;
        verdict.confidence = nearLimit ? Confidence::Low : byLength;
        if (verdict.periods.certainty != PeriodCertainty::Clear) {
            verdict.confidence = Lower(verdict.confidence, Confidence::Medium);
        }
        return verdict;
    }

    if (period) {
        const PeriodCandidate& chosen = verdict.periods.candidates.front();
        verdict.kind = CipherKind::VigenereFamily;
        verdict.reasons.push_back(
            {Figure::PeriodStrength, chosen.strength, verdict.periods.threshold});
        verdict.reasons.push_back(
            {Figure::PeriodRunnerUp, verdict.periods.runnerUp, verdict.periods.threshold});
        verdict.reasons.push_back({Figure::KasiskiShare, chosen.kasiskiShare, 1.0 / *period});
        verdict.confidence =
            verdict.periods.certainty == PeriodCertainty::Clear ? byLength : Confidence::Medium;
        if (n < kFirmLetters) {
            verdict.confidence = Lower(verdict.confidence, Confidence::Medium);
        }
        return verdict;
    }

    verdict.kind = CipherKind::AutokeyOrRunning;
    const double best =
        verdict.periods.candidates.empty() ? 0.0 : verdict.periods.candidates.front().strength;
    verdict.reasons.push_back({Figure::PeriodStrength, best, kPeriodFloor});
    verdict.reasons.push_back({Figure::DoubledPairs, double(doubled), expectedDoubled});
    verdict.confidence = strength < kFlat ? byLength : Confidence::Low;
    return verdict;
}

Verdict IdentifyCipher(const std::vector<std::uint8_t>& letters, const LanguageModel& language) {
    PeriodAnalysis periods(kPeriodLimit);
    periods.Update(letters);
    return IdentifyCipher(letters, periods, language);
}

} // namespace tallivo
