#pragma once

#include "affine_key.h"
#include "key_search.h"
#include "language_model.h"
#include "period_finder.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tallivo {

// The kinds of cipher the workbench tells apart, each with its own page.
enum class CipherKind {
    TooShort,         // too few letters to judge
    Transposition,    // the language's letters, moved
    Caesar,           // a shift
    Affine,           // an affine key (Atbash among them)
    Substitution,     // some other monoalphabetic key
    VigenereFamily,   // a periodic key: Vigenère, Beaufort, variant Beaufort
    AutokeyOrRunning, // many alphabets and no period: autokey or a running key
    Playfair,         // two letters at a time
};

// How sure the verdict is.
enum class Confidence { High, Medium, Low };

// The figures a verdict quotes.
enum class Figure {
    Letters,             // the text's letters; beside it the fewest a verdict needs
    Coincidence,         // the index of coincidence; beside it the language's
    ChiSquareUnshifted,  // the letters as they stand; beside it the most plaintext shows
    ChiSquareBestShift,  // under the best shift (the verdict's shift)
    ChiSquareBestAffine, // under the best affine key (the verdict's affine key)
    PeriodStrength,      // the period's columns from random (0) to the language (1); beside it
                         // the strength a period must reach
    PeriodRunnerUp,      // the best strength of any other period; beside it the same
    KasiskiShare,        // the share of repeat distances the period divides; beside it chance
    DoubledPairs,        // pairs (1st-2nd, 3rd-4th ...) of one letter twice; beside it the
                         // number the language's plaintext would show
    LettersJ,            // how many J; beside it the language's number
};

// A figure of the text with the value the language (or the rule) sets beside it.
struct Reason {
    Figure figure = Figure::Letters;
    double value = 0.0;
    double language = 0.0;
};

// Which cipher a text probably is, why, and what the figures already tell of its key.
struct Verdict {
    CipherKind kind = CipherKind::TooShort;
    Confidence confidence = Confidence::Low;
    std::vector<Reason> reasons;
    int shift = 0;         // the best shift (as ShiftTable undoes it)
    AffineKey affine;      // the best affine key
    PeriodFinding periods; // the period finder's answer
};

// The fewest letters the identification judges.
inline constexpr std::size_t kFewestLettersToJudge = 80;

// Returns the most chi-squared a plaintext of letters letters shows against its language's
// frequencies (Italian's or English's, whose rare letters weigh heavily): a wrong key
// gives more.
double PlainChiSquareLimit(std::size_t letters);

// Reads the figures of a ciphertext's letters (0 = a) against a language and says which kind of
// cipher it probably is: too short below kFewestLettersToJudge letters; Playfair on its digraph
// signs (even length, no pair of one letter twice, no J) with fewer coincidences than one alphabet
// gives; then by the period finder: one alphabet (or, short of a clear period, coincidences near
// the language's) is a transposition, a shift, an affine key or another substitution as the
// chi-squared falls under the plaintext's limit, or Playfair where only a substitution would fit
// and the digraph signs hold; a period is the Vigenère family; none, autokey or a running key.
// periods is an analysis of the same letters.
Verdict IdentifyCipher(const std::vector<std::uint8_t>& letters, const PeriodAnalysis& periods,
                       const LanguageModel& language);

// The same, with the period analysis made here to kPeriodLimit.
Verdict IdentifyCipher(const std::vector<std::uint8_t>& letters, const LanguageModel& language);

} // namespace tallivo
