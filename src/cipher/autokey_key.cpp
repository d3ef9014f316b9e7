#include "autokey_key.h"

#include "key_text.h"
#include "letter_layout.h"

#include <algorithm>
#include <array>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tallivo {

namespace {

// Returns (c - k) mod 26 for c, k in 0..25 without a branch.
inline int Minus(int c, int k) {
    const int d = c - k;
    return d < 0 ? d + 26 : d;
}

// Deciphers a block of letters from the block of plaintext before it; no letter of a block
// depends on another, so the loop runs as wide as the processor's vectors.
// In bytes: a difference below 0 wraps round to 231..255, where adding 26 wraps it back to
// 1..25 and the smaller of the two is the one mod 26.
inline void SubtractBlock(std::uint8_t* __restrict block, const std::uint8_t* __restrict previous,
                          std::size_t size) {
    for (std::size_t j = 0; j < size; ++j) {
        const auto difference = std::uint8_t(block[j] - previous[j]);
        block[j] = std::min(difference, std::uint8_t(difference + 26));
    }
}

// Deciphers letters[m..n), the first m already deciphered: each plaintext letter takes away
// the one m places back, just found, a chain through the text. The shortest primers keep their
// chains in registers; with longer ones a block of m letters is deciphered at once from the
// block before.
void ChainsPortable(std::uint8_t* letters, std::size_t n, std::size_t m) {
    if (m == 1) {
        int p = n > 0 ? letters[0] : 0;
        for (std::size_t i = 1; i < n; ++i) {
            p = Minus(letters[i], p);
            letters[i] = std::uint8_t(p);
        }
    } else if (m == 2) {
        int p0 = n > 0 ? letters[0] : 0;
        int p1 = n > 1 ? letters[1] : 0;
        std::size_t i = 2;
        for (; i + 1 < n; i += 2) {
            p0 = Minus(letters[i], p0);
            p1 = Minus(letters[i + 1], p1);
            letters[i] = std::uint8_t(p0);
            letters[i + 1] = std::uint8_t(p1);
        }
        if (i < n) {
            letters[i] = std::uint8_t(Minus(letters[i], p0));
        }
    } else {
        for (std::size_t start = m; start < n; start += m) {
            SubtractBlock(letters + start, letters + start - m, std::min(m, n - start));
        }
    }
}

#if defined(__x86_64__)
// The same 64 letters at a time, for primers of up to 64 letters. With s = +1 or -1 as the
// letter's place in its chain (its index over m) is even or odd, Q = s * P adds up along a
// chain: Q[i] = Q[i - m] + s * C[i]. So a block's Q is a prefix sum over each chain inside it
// (in steps of m, 2m, 4m ... letters) plus the Q its chain left in the block before; and
// P = s * Q. Bytes hold everything mod 26: a sum below 52 less 26 if it is 26 or more, which
// the smaller of x and x - 26 (wrapped round) gives.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i Reduced(__m512i x) {
    return _mm512_min_epu8(x, _mm512_sub_epi8(x, _mm512_set1_epi8(26)));
}

__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i Negated(__m512i x) {
    return Reduced(_mm512_sub_epi8(_mm512_set1_epi8(26), x));
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
ChainsAvx512(std::uint8_t* letters, std::size_t n, std::size_t m) {
    constexpr std::size_t kBlock = 64;
    if (m > kBlock || n < 2 * kBlock) {
        ChainsPortable(letters, n, m);
        return;
    }
    ChainsPortable(letters, kBlock, m);
    // The lane each step of the prefix sum adds from, and where each lane's chain came from
    // in the block before.
    std::array<std::uint8_t, kBlock> lanes{};
    __m512i from[6];
    __mmask64 reaches[6];
    std::size_t steps = 0;
    for (std::size_t step = m; step < kBlock; step *= 2, ++steps) {
        for (std::size_t lane = 0; lane < kBlock; ++lane) {
            lanes[lane] = std::uint8_t(lane >= step ? lane - step : 0);
        }
        from[steps] = _mm512_loadu_si512(lanes.data());
        reaches[steps] = ~__mmask64{0} << step;
    }
    for (std::size_t lane = 0; lane < kBlock; ++lane) {
        lanes[lane] = std::uint8_t(kBlock - m + lane % m);
    }
    const __m512i carried = _mm512_loadu_si512(lanes.data());
    // Each lane's index mod 2m, from which its sign: odd places in the chain are m..2m - 1.
    for (std::size_t lane = 0; lane < kBlock; ++lane) {
        lanes[lane] = std::uint8_t((kBlock + lane) % (2 * m));
    }
    __m512i place = _mm512_loadu_si512(lanes.data());
    const __m512i chainLength = _mm512_set1_epi8(char(m));
    const __m512i cycle = _mm512_set1_epi8(char(2 * m));
    const __m512i advance = _mm512_set1_epi8(char(kBlock % (2 * m)));

    // The first block's Q, from its plaintext.
    for (std::size_t lane = 0; lane < kBlock; ++lane) {
        lanes[lane] = std::uint8_t((lane / m) % 2 == 1 ? (26 - letters[lane]) % 26 : letters[lane]);
    }
    __m512i previous = _mm512_loadu_si512(lanes.data());
    std::size_t at = kBlock;
    for (; at + kBlock <= n; at += kBlock) {
        const __mmask64 odd = _mm512_cmpge_epu8_mask(place, chainLength);
        const __m512i cipher = _mm512_loadu_si512(letters + at);
        __m512i sum = _mm512_mask_blend_epi8(odd, cipher, Negated(cipher));
        for (std::size_t step = 0; step < steps; ++step) {
            sum = Reduced(_mm512_add_epi8(
                sum, _mm512_maskz_permutexvar_epi8(reaches[step], from[step], sum)));
        }
        const __m512i q = Reduced(
            _mm512_add_epi8(sum, _mm512_maskz_permutexvar_epi8(~__mmask64{0}, carried, previous)));
        _mm512_storeu_si512(letters + at, _mm512_mask_blend_epi8(odd, q, Negated(q)));
        previous = q;
        place = _mm512_add_epi8(place, advance);
        place = _mm512_min_epu8(place, _mm512_sub_epi8(place, cycle));
    }
    for (; at < n; ++at) {
        letters[at] = std::uint8_t(Minus(letters[at], letters[at - m]));
    }
}
#endif

using ChainFunction = void (*)(std::uint8_t*, std::size_t, std::size_t);

ChainFunction ChooseChains() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi")) {
        return ChainsAvx512;
    }
#endif
    return ChainsPortable;
}

} // namespace

Parsed<AutokeyKey> AutokeyKey::Parse(std::string_view text) {
    const Parsed<std::vector<std::uint8_t>> letters = ReadKeyword(text, 1, kLongest);
    if (!letters.ok()) {
        return letters.error();
    }
    return AutokeyKey(letters.key());
}

AutokeyKey AutokeyKey::Random(std::size_t length, std::mt19937_64& random) {
    std::uniform_int_distribution<int> letter(0, 25);
    std::vector<std::uint8_t> primer(length);
    for (std::uint8_t& l : primer) {
        l = std::uint8_t(letter(random));
    }
    return AutokeyKey(std::move(primer));
}

std::string AutokeyKey::Text() const {
    std::string text;
    for (const std::uint8_t letter : primer_) {
        text += char('A' + letter);
    }
    return text;
}

void AutokeyKey::EncryptLetters(std::span<std::uint8_t> letters) const {
    // Each letter adds the plaintext letter m places back: going from the end, those are
    // still plaintext when they are read.
    const std::size_t m = primer_.size();
    for (std::size_t i = letters.size(); i-- > m;) {
        letters[i] = std::uint8_t((letters[i] + letters[i - m]) % 26);
    }
    for (std::size_t i = 0; i < m && i < letters.size(); ++i) {
        letters[i] = std::uint8_t((letters[i] + primer_[i]) % 26);
    }
}

void AutokeyKey::DecryptLetters(std::span<std::uint8_t> letters) const {
    static const ChainFunction chains = ChooseChains();
    const std::size_t m = primer_.size();
    for (std::size_t i = 0; i < m && i < letters.size(); ++i) {
        letters[i] = std::uint8_t(Minus(letters[i], primer_[i]));
    }
    chains(letters.data(), letters.size(), m);
}

void AutokeyKey::Encrypt(std::string_view in, std::string& out) const {
    std::vector<std::uint8_t> letters = TextLetters(in);
    EncryptLetters(letters);
    PutLetters(in, letters, out);
}

void AutokeyKey::Decrypt(std::string_view in, std::string& out) const {
    std::vector<std::uint8_t> letters = TextLetters(in);
    DecryptLetters(letters);
    PutLetters(in, letters, out);
}

} // namespace tallivo
