#include "engine/codebreaker/column_scoring.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZQ_X86 1
#endif

namespace zqspiel {

namespace {

// Counts the class indices of a block, spread over four tables so that
// candidates of one class one after the other do not wait on each other's
// increments; only the classes that can occur are cleared and added up.
inline std::int32_t count_scattered(const byte* idx, std::size_t n, const GuessColumns& g, std::int32_t* t) {
    std::uint16_t sub[4][FLAT_CLASSES];
    for (int j = 0; j < g.classes; ++j) {
        const int k = g.class_index[j];
        sub[0][k] = sub[1][k] = sub[2][k] = sub[3][k] = 0;
    }
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++sub[0][idx[i]];
        ++sub[1][idx[i + 1]];
        ++sub[2][idx[i + 2]];
        ++sub[3][idx[i + 3]];
    }
    for (; i < n; ++i) ++sub[0][idx[i]];
    std::int32_t most = 0;
    for (int j = 0; j < g.classes; ++j) {
        const int k = g.class_index[j];
        t[k] += sub[0][k] + sub[1][k] + sub[2][k] + sub[3][k];
        most = std::max(most, t[k]);
    }
    return most;
}

std::int32_t count_plain(const GuessColumns& g, std::size_t from, std::size_t n, std::int32_t* t) {
    byte idx[SCORE_BLOCK];
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t c = from + k;
        int p = 0;
        for (int i = 0; i < g.matches; ++i) p += g.position[i][c] == g.sign[i] ? 1 : 0;
        int common = g.constant;
        for (int j = 0; j < g.shared; ++j) common += std::min(g.count[j][c], g.most[j]);
        idx[k] = static_cast<byte>(flat_class(common, p));
    }
    return count_scattered(idx, n, g, t);
}

#if defined(ZQ_X86)

// The kernels make the flat index as common + (P << 4), in byte lanes. P is
// at most 9, so P * 16 fits a byte and the 16-bit shift carries nothing into
// the next byte.
static_assert(flat_class(1, 0) == 1 && flat_class(0, 1) == 1 << 4, "the flat index the kernels make");

__attribute__((target("sse2"))) std::int32_t count_sse2(const GuessColumns& g, std::size_t from, std::size_t n,
                                                std::int32_t* t) {
    alignas(16) byte idx[SCORE_BLOCK];
    for (std::size_t o = 0; o < n; o += 16) {
        const std::size_t c = from + o;
        __m128i p = _mm_setzero_si128();
        for (int i = 0; i < g.matches; ++i) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g.position[i] + c));
            p = _mm_sub_epi8(p, _mm_cmpeq_epi8(s, _mm_set1_epi8(static_cast<char>(g.sign[i]))));
        }
        __m128i common = _mm_set1_epi8(static_cast<char>(g.constant));
        for (int j = 0; j < g.shared; ++j) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g.count[j] + c));
            common = _mm_add_epi8(common, _mm_min_epu8(s, _mm_set1_epi8(static_cast<char>(g.most[j]))));
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(idx + o), _mm_add_epi8(common, _mm_slli_epi16(p, 4)));
    }
    return count_scattered(idx, n, g, t);
}

__attribute__((target("avx2,popcnt"))) std::int32_t count_avx2(const GuessColumns& g, std::size_t from, std::size_t n,
                                                       std::int32_t* t) {
    __m256i v[SCORE_BLOCK / 32];
    const std::size_t steps = (n + 31) / 32;
    for (std::size_t s = 0; s < steps; ++s) {
        const std::size_t c = from + 32 * s;
        __m256i p = _mm256_setzero_si256();
        for (int i = 0; i < g.matches; ++i) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.position[i] + c));
            p = _mm256_sub_epi8(p, _mm256_cmpeq_epi8(x, _mm256_set1_epi8(static_cast<char>(g.sign[i]))));
        }
        __m256i common = _mm256_set1_epi8(static_cast<char>(g.constant));
        for (int j = 0; j < g.shared; ++j) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.count[j] + c));
            common = _mm256_add_epi8(common, _mm256_min_epu8(x, _mm256_set1_epi8(static_cast<char>(g.most[j]))));
        }
        v[s] = _mm256_add_epi8(common, _mm256_slli_epi16(p, 4));
    }
    // One compare and one population count per class and step, no
    // increment per candidate; lanes past n (the last block) are masked off.
    std::int32_t most = 0;
    if (n == SCORE_BLOCK) {
        for (int j = 0; j < g.classes; ++j) {
            const int k = g.class_index[j];
            const __m256i want = _mm256_set1_epi8(static_cast<char>(k));
            const auto m0 = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v[0], want)));
            const auto m1 = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v[1], want)));
            const auto m2 = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v[2], want)));
            const auto m3 = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v[3], want)));
            const std::int32_t c = t[k] + __builtin_popcountll((std::uint64_t{m1} << 32) | m0) +
                                   __builtin_popcountll((std::uint64_t{m3} << 32) | m2);
            t[k] = c;
            most = std::max(most, c);
        }
        return most;
    }
    std::uint32_t live[SCORE_BLOCK / 32];
    for (std::size_t s = 0; s < steps; ++s) {
        const std::size_t left = n - 32 * s;
        live[s] = left >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << left) - 1;
    }
    for (int j = 0; j < g.classes; ++j) {
        const int k = g.class_index[j];
        const __m256i want = _mm256_set1_epi8(static_cast<char>(k));
        std::int32_t c = t[k];
        for (std::size_t s = 0; s < steps; ++s) {
            const auto m = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v[s], want)));
            c += __builtin_popcount(m & live[s]);
        }
        t[k] = c;
        most = std::max(most, c);
    }
    return most;
}

#endif

}  // namespace

Kernel best_kernel() {
#if defined(ZQ_X86)
    static const Kernel k = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return Kernel::avx2;
        if (__builtin_cpu_supports("sse2")) return Kernel::sse2;
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
            return count_plain;
#if defined(ZQ_X86)
        case Kernel::sse2:
            return static_cast<int>(best_kernel()) >= static_cast<int>(Kernel::sse2) ? count_sse2 : nullptr;
        case Kernel::avx2:
            return best_kernel() == Kernel::avx2 ? count_avx2 : nullptr;
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
        case Kernel::sse2:
            return "SSE2";
        case Kernel::avx2:
            return "AVX2";
    }
    return "?";
}

}  // namespace zqspiel
