#include "engine/codebreaker/bit_plane_scoring.h"

#include <bit>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZQ_X86 1
#endif

// Each kernel's code is compiled for its own instruction set as a region, so
// that the program still builds and runs on any processor: only the kernel
// chosen at run time executes those instructions.
#if defined(__clang__)
#define ZQ_TARGET_BEGIN(t) _Pragma("clang attribute push(__attribute__((target(" t "))), apply_to = function)")
#define ZQ_TARGET_END _Pragma("clang attribute pop")
#else
#define ZQ_DO_PRAGMA(x) _Pragma(#x)
#define ZQ_TARGET_BEGIN(t) _Pragma("GCC push_options") ZQ_DO_PRAGMA(GCC target(t))
#define ZQ_TARGET_END _Pragma("GCC pop_options")
#endif

namespace zqspiel {

namespace {

// ---- plain: one 64-bit word, 64 candidates to a step -------------------------

namespace plain {
#include "engine/codebreaker/bit_plane_word_ops.inc"
#include "engine/codebreaker/bit_plane_kernel.inc"
}  // namespace plain

#if defined(ZQ_X86)

// The same plain code with the processor's population count instruction
// (std::popcount compiles to it here).
ZQ_TARGET_BEGIN("popcnt")
namespace plain_popcnt {
#include "engine/codebreaker/bit_plane_word_ops.inc"
#include "engine/codebreaker/bit_plane_kernel.inc"
}  // namespace plain_popcnt
ZQ_TARGET_END

// ---- AVX2: 256 candidates to a step --------------------------------------------

ZQ_TARGET_BEGIN("avx2")
namespace avx2 {
using V = __m256i;
constexpr std::size_t VW = 4;
inline V vzero() { return _mm256_setzero_si256(); }
inline V vones() { return _mm256_set1_epi64x(-1); }
inline V vload(const std::uint64_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline V vand(V a, V b) { return _mm256_and_si256(a, b); }
inline V vxor(V a, V b) { return _mm256_xor_si256(a, b); }
inline V vnot(V a) { return _mm256_xor_si256(a, vones()); }
inline V xor3(V a, V b, V c) { return vxor(vxor(a, b), c); }
inline V maj(V a, V b, V c) { return _mm256_or_si256(vand(a, b), vand(c, _mm256_or_si256(a, b))); }
inline V and3(V a, V b, V c) { return vand(vand(a, b), c); }
// Byte counters: a call scores at most SCORE_BLOCK candidates, so a byte
// gains at most 8 * SCORE_BLOCK / 256 and never overflows.
static_assert(8 * SCORE_BLOCK / 256 <= 255);
using Acc = V;
inline void acc_zero(Acc& a) { a = vzero(); }
inline void acc_add(Acc& a, V m) {
    const V nibbles = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2, 1, 2, 2, 3, 1, 2,
                                       2, 3, 2, 3, 3, 4);
    const V low = _mm256_set1_epi8(0x0F);
    const V lo = _mm256_shuffle_epi8(nibbles, vand(m, low));
    const V hi = _mm256_shuffle_epi8(nibbles, vand(_mm256_srli_epi16(m, 4), low));
    a = _mm256_add_epi8(a, _mm256_add_epi8(lo, hi));
}
inline void acc_totals(const Acc* a, int n, std::int64_t* totals) {
    for (int j = 0; j < n; ++j) {
        const V s = _mm256_sad_epu8(a[j], vzero());
        totals[j] = _mm256_extract_epi64(s, 0) + _mm256_extract_epi64(s, 1) + _mm256_extract_epi64(s, 2) +
                    _mm256_extract_epi64(s, 3);
    }
}
#include "engine/codebreaker/bit_plane_kernel.inc"
}  // namespace avx2
ZQ_TARGET_END

// ---- AVX-512: 512 candidates to a step, ternary logic and vector popcounts ---

ZQ_TARGET_BEGIN("avx512f,avx512bw,avx512vpopcntdq")
#if defined(__GNUC__) && !defined(__clang__)
// GCC's own AVX-512 headers leave a value undefined on purpose (the unused
// half of a shuffle) and its flow analysis then warns about it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace avx512 {
using V = __m512i;
constexpr std::size_t VW = 8;
inline V vzero() { return _mm512_setzero_si512(); }
inline V vones() { return _mm512_set1_epi64(-1); }
inline V vload(const std::uint64_t* p) { return _mm512_loadu_si512(p); }
inline V vand(V a, V b) { return _mm512_and_si512(a, b); }
inline V vxor(V a, V b) { return _mm512_xor_si512(a, b); }
inline V vnot(V a) { return _mm512_ternarylogic_epi64(a, a, a, 0x55); }
inline V xor3(V a, V b, V c) { return _mm512_ternarylogic_epi64(a, b, c, 0x96); }
inline V maj(V a, V b, V c) { return _mm512_ternarylogic_epi64(a, b, c, 0xE8); }
inline V and3(V a, V b, V c) { return _mm512_ternarylogic_epi64(a, b, c, 0x80); }
using Acc = V;
inline void acc_zero(Acc& a) { a = vzero(); }
inline void acc_add(Acc& a, V m) { a = _mm512_add_epi64(a, _mm512_popcnt_epi64(m)); }
// The lanes of eight accumulators summed at once: pairs of 64-bit lanes,
// then of 128-bit lanes, leave accumulator k's total in lane k.
inline V sum_pairs(V x, V y) { return _mm512_add_epi64(_mm512_unpacklo_epi64(x, y), _mm512_unpackhi_epi64(x, y)); }
inline V sum_halves(V x, V y) {
    return _mm512_add_epi64(_mm512_shuffle_i64x2(x, y, 0x88), _mm512_shuffle_i64x2(x, y, 0xDD));
}
inline void acc_totals(const Acc* a, int n, std::int64_t* totals) {
    int j = 0;
    for (; j + 8 <= n; j += 8) {
        const V u = sum_halves(sum_pairs(a[j], a[j + 1]), sum_pairs(a[j + 2], a[j + 3]));
        const V v = sum_halves(sum_pairs(a[j + 4], a[j + 5]), sum_pairs(a[j + 6], a[j + 7]));
        _mm512_storeu_si512(totals + j, sum_halves(u, v));
    }
    for (; j < n; ++j) {
        alignas(64) std::int64_t lanes[8];
        _mm512_store_si512(lanes, a[j]);
        totals[j] = lanes[0] + lanes[1] + lanes[2] + lanes[3] + lanes[4] + lanes[5] + lanes[6] + lanes[7];
    }
}
#include "engine/codebreaker/bit_plane_kernel.inc"
}  // namespace avx512
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
ZQ_TARGET_END

#endif

}  // namespace

Kernel best_kernel() {
#if defined(ZQ_X86)
    static const Kernel k = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512vpopcntdq"))
            return Kernel::avx512;
        if (__builtin_cpu_supports("avx2")) return Kernel::avx2;
        return Kernel::plain;
    }();
    return k;
#else
    return Kernel::plain;
#endif
}

CountBlock count_block_for(Kernel k) {
    switch (k) {
        case Kernel::plain:
#if defined(ZQ_X86)
            if (__builtin_cpu_supports("popcnt")) return plain_popcnt::count_block;
#endif
            return plain::count_block;
#if defined(ZQ_X86)
        case Kernel::avx2:
            return static_cast<int>(best_kernel()) >= static_cast<int>(Kernel::avx2) ? avx2::count_block : nullptr;
        case Kernel::avx512:
            return best_kernel() == Kernel::avx512 ? avx512::count_block : nullptr;
#else
        default:
            return nullptr;
#endif
    }
    return nullptr;
}

namespace {
CountBlock chosen = nullptr;
}  // namespace

CountBlock count_block() {
    if (!chosen) chosen = count_block_for(best_kernel());
    return chosen;
}

bool use_kernel(Kernel k) {
    const CountBlock f = count_block_for(k);
    if (!f) return false;
    chosen = f;
    return true;
}

const char* kernel_name(Kernel k) {
    switch (k) {
        case Kernel::plain:
            return "plain";
        case Kernel::avx2:
            return "AVX2";
        case Kernel::avx512:
            return "AVX-512";
    }
    return "?";
}

}  // namespace zqspiel
