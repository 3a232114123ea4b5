// SHA-256 compression with the x86 SHA extensions. The engine is compiled with a per-function
// target attribute so every build (including the i686 DLL, which targets a plain Pentium) carries
// it; it only runs after cpuid has confirmed SHA, SSE4.1 and SSSE3.
#include "ghostdata/sha256.h"

#if defined(__x86_64__) || defined(__i386__)
#define TARVEK_SHA256_X86 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace tarvek {

#if TARVEK_SHA256_X86

namespace {

bool detectShaExtensions() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    const bool sha = (ebx & bit_SHA) != 0;
    return sha && sse41 && ssse3;
}

#define TARVEK_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))
#if defined(__i386__)
// 32-bit Windows hands threads a stack aligned to 4 bytes only; spilled vectors need 16.
#define TARVEK_SHA_ENTRY TARVEK_SHA_TARGET __attribute__((force_align_arg_pointer))
#else
#define TARVEK_SHA_ENTRY TARVEK_SHA_TARGET
#endif

alignas(16) constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Four rounds: the state halves ABEF and CDGH advance by the message words w (four at a time).
TARVEK_SHA_TARGET inline __attribute__((always_inline)) void fourRounds(__m128i& abef, __m128i& cdgh, __m128i w,
                                                                       int group) {
    const __m128i wk = _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i*>(kRound + 4 * group)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0E));
}

// The next four schedule words from the previous sixteen (w0 oldest).
TARVEK_SHA_TARGET inline __attribute__((always_inline)) __m128i nextWords(__m128i w0, __m128i w1, __m128i w2,
                                                                         __m128i w3) {
    const __m128i sum = _mm_add_epi32(_mm_sha256msg1_epu32(w0, w1), _mm_alignr_epi8(w3, w2, 4));
    return _mm_sha256msg2_epu32(sum, w3);
}

}  // namespace

bool cpuHasShaExtensions() {
    static const bool available = detectShaExtensions();
    return available;
}

namespace detail {

bool sha256CompressX86Available() { return true; }

TARVEK_SHA_ENTRY void sha256CompressX86(uint32_t state[8], const uint8_t* blocks, size_t blockCount) {
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    // The instructions keep the state as ABEF and CDGH.
    const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    const __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
    __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);

    for (; blockCount > 0; --blockCount, blocks += 64) {
        const __m128i abefStart = abef;
        const __m128i cdghStart = cdgh;
        const auto* in = reinterpret_cast<const __m128i*>(blocks);
        __m128i w0 = _mm_shuffle_epi8(_mm_loadu_si128(in), byteSwap);
        __m128i w1 = _mm_shuffle_epi8(_mm_loadu_si128(in + 1), byteSwap);
        __m128i w2 = _mm_shuffle_epi8(_mm_loadu_si128(in + 2), byteSwap);
        __m128i w3 = _mm_shuffle_epi8(_mm_loadu_si128(in + 3), byteSwap);
        for (int group = 0; group < 16; group += 4) {
            fourRounds(abef, cdgh, w0, group);
            if (group < 12) w0 = nextWords(w0, w1, w2, w3);
            fourRounds(abef, cdgh, w1, group + 1);
            if (group < 12) w1 = nextWords(w1, w2, w3, w0);
            fourRounds(abef, cdgh, w2, group + 2);
            if (group < 12) w2 = nextWords(w2, w3, w0, w1);
            fourRounds(abef, cdgh, w3, group + 3);
            if (group < 12) w3 = nextWords(w3, w0, w1, w2);
        }
        abef = _mm_add_epi32(abef, abefStart);
        cdgh = _mm_add_epi32(cdgh, cdghStart);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace detail

#else  // no x86: the portable engine serves every request

bool cpuHasShaExtensions() { return false; }

namespace detail {
bool sha256CompressX86Available() { return false; }
void sha256CompressX86(uint32_t state[8], const uint8_t* blocks, size_t blockCount) {
    sha256CompressPortable(state, blocks, blockCount);
}
}  // namespace detail

#endif

}  // namespace tarvek
