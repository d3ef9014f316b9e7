#include "letter_layout.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tallivo {

namespace {

// Room the vector path writes past the letters it keeps.
constexpr std::size_t kSlack = 64;

// Returns b's letter index (0 = a, either case) if below 26; anything else is not a letter.
inline unsigned Folded(unsigned char b) {
    return (b | 0x20U) - unsigned('a');
}

// Writes the letter indices of text's letters to out, in order; returns how many.
std::size_t CompactPortable(const unsigned char* text, std::size_t size, std::uint8_t* out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned letter = Folded(text[i]);
        out[n] = std::uint8_t(letter); // written always, kept only for a letter: no branch
        n += letter < 26 ? 1 : 0;
    }
    return n;
}

// Writes text to out with its letters replaced by letters[0..count), in order; returns how
// many letters it used.
std::size_t ExpandPortable(const unsigned char* text, std::size_t size, const std::uint8_t* letters,
                           std::size_t count, unsigned char* out) {
    std::size_t n = 0;
    std::size_t i = 0;
    // While a whole block's worth of letters is left, each byte takes the next letter or keeps
    // itself by a mask, without a branch.
    constexpr std::size_t kBlock = 64;
    for (; i + kBlock <= size && n + kBlock <= count;) {
        for (const std::size_t end = i + kBlock; i < end; ++i) {
            const unsigned char b = text[i];
            const unsigned isLetter = Folded(b) < 26 ? 1U : 0U;
            const auto mask = static_cast<unsigned char>(0U - isLetter);
            const auto letter = static_cast<unsigned char>(('A' + letters[n]) | (b & 0x20U));
            out[i] = static_cast<unsigned char>((letter & mask) | (b & ~mask));
            n += isLetter;
        }
    }
    for (; i < size; ++i) {
        const unsigned char b = text[i];
        if (Folded(b) < 26 && n < count) {
            out[i] = static_cast<unsigned char>(('A' + letters[n++]) | (b & 0x20U));
        } else {
            out[i] = b;
        }
    }
    return n;
}

#if defined(__x86_64__)
// The same 64 bytes at a time: bit 5 folds A..Z onto a..z, a subtraction makes the letters
// 0..25 and everything else 26 or more, and a compress keeps the letters (writing up to
// kSlack bytes past them) or an expand spreads the next letters over the letters' places.
__attribute__((target("avx512f,avx512bw,avx512vbmi2"))) std::size_t
CompactAvx512(const unsigned char* text, std::size_t size, std::uint8_t* out) {
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i firstLetter = _mm512_set1_epi8('a');
    const __m512i letterCount = _mm512_set1_epi8(26);
    std::size_t n = 0;
    std::size_t i = 0;
    for (; i + 64 <= size; i += 64) {
        const __m512i index =
            _mm512_sub_epi8(_mm512_or_si512(_mm512_loadu_si512(text + i), caseBit), firstLetter);
        const __mmask64 isLetter = _mm512_cmplt_epu8_mask(index, letterCount);
        _mm512_storeu_si512(out + n, _mm512_maskz_compress_epi8(isLetter, index));
        n += std::size_t(__builtin_popcountll(isLetter));
    }
    return n + CompactPortable(text + i, size - i, out + n);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi2"))) std::size_t
ExpandAvx512(const unsigned char* text, std::size_t size, const std::uint8_t* letters,
             std::size_t count, unsigned char* out) {
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i firstLetter = _mm512_set1_epi8('a');
    const __m512i capitalA = _mm512_set1_epi8('A');
    const __m512i letterCount = _mm512_set1_epi8(26);
    std::size_t n = 0;
    std::size_t i = 0;
    // Each block reads 64 letters from n on, of which it uses as many as it has letters.
    for (; i + 64 <= size && n + 64 <= count; i += 64) {
        const __m512i bytes = _mm512_loadu_si512(text + i);
        const __m512i index = _mm512_sub_epi8(_mm512_or_si512(bytes, caseBit), firstLetter);
        const __mmask64 isLetter = _mm512_cmplt_epu8_mask(index, letterCount);
        const __m512i spread = _mm512_maskz_expand_epi8(isLetter, _mm512_loadu_si512(letters + n));
        const __m512i cased =
            _mm512_or_si512(_mm512_add_epi8(spread, capitalA), _mm512_and_si512(bytes, caseBit));
        _mm512_storeu_si512(out + i, _mm512_mask_blend_epi8(isLetter, bytes, cased));
        n += std::size_t(__builtin_popcountll(isLetter));
    }
    return n + ExpandPortable(text + i, size - i, letters + n, count - n, out + i);
}
#endif

using CompactFunction = std::size_t (*)(const unsigned char*, std::size_t, std::uint8_t*);
using ExpandFunction = std::size_t (*)(const unsigned char*, std::size_t, const std::uint8_t*,
                                       std::size_t, unsigned char*);

bool HasAvx512Vbmi2() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2");
#else
    return false;
#endif
}

CompactFunction ChooseCompaction() {
#if defined(__x86_64__)
    if (HasAvx512Vbmi2()) {
        return CompactAvx512;
    }
#endif
    return CompactPortable;
}

ExpandFunction ChooseExpansion() {
#if defined(__x86_64__)
    if (HasAvx512Vbmi2()) {
        return ExpandAvx512;
    }
#endif
    return ExpandPortable;
}

} // namespace

std::vector<std::uint8_t> TextLetters(std::string_view text) {
    static const CompactFunction compact = ChooseCompaction();
    std::vector<std::uint8_t> letters(text.size() + kSlack);
    letters.resize(
        compact(reinterpret_cast<const unsigned char*>(text.data()), text.size(), letters.data()));
    return letters;
}

void PutLetters(std::string_view text, std::span<const std::uint8_t> letters, std::string& out) {
    static const ExpandFunction expand = ChooseExpansion();
    out.resize(text.size());
    expand(reinterpret_cast<const unsigned char*>(text.data()), text.size(), letters.data(),
           letters.size(), reinterpret_cast<unsigned char*>(out.data()));
}

} // namespace tallivo
