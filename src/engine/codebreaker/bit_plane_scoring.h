// Scoring one guess against blocks of candidates held as bit planes
// (bit_planes.h): P and common are each the sum of a few plane bits, added
// for a whole vector of candidates at once with a carry-save adder tree; the
// classes (common, P) are then masks of those sums, counted with population
// counts. Written once and compiled for AVX-512 (512 candidates to a step),
// AVX2 (256) and plain 64-bit words, the widest the processor has being
// chosen once at run time; all of them count the same.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/answer_class.h"
#include "engine/codebreaker/bit_planes.h"

namespace zqspiel {

// Candidates scored between two looks at the largest class: a guess is
// given up, at the earliest, after a whole one of these. A look costs about
// what a block of PLANE_BLOCK costs, so a large copy is looked at seldom; a
// small one, whose guesses are quickly scored anyway, after every block.
inline constexpr std::size_t SCORE_BLOCK = 4096;
static_assert(SCORE_BLOCK % PLANE_BLOCK == 0);
inline constexpr std::size_t score_step(std::size_t candidates) {
    return candidates <= 8 * SCORE_BLOCK ? PLANE_BLOCK : SCORE_BLOCK;
}

// What one guess needs to be scored against the planes.
struct GuessPlanes {
    int p_terms = 0;                       // P: how many of these planes hold the candidate
    const std::uint64_t* p[9] = {};
    int c_terms = 0;                       // common, less `constant`: how many of these
    const std::uint64_t* c[9] = {};
    int constant = 0;                      // common when the secret's sign counts are known (c_terms = 0)
    // The classes that can occur, by common and then P, each common from
    // P = 0 up: added in that order with add_class.
    int classes = 0;
    std::uint8_t class_index[64] = {};     // flat index (flat_class)
    int sum_top = -1;                      // the largest common - constant
    std::int8_t p_top[10] = {};            // the largest P with common - constant = v

    void add_class(int common, int p) {
        class_index[classes++] = static_cast<std::uint8_t>(flat_class(common, p));
        sum_top = common - constant;
        p_top[sum_top] = static_cast<std::int8_t>(p);
    }
};

// Adds the classes of candidates from .. from + n - 1 (from a multiple of
// PLANE_BLOCK, 1 <= n <= SCORE_BLOCK, the candidates past n being padding
// or the next block's) to t, indexed flat_class(common, P); returns the
// largest of g's classes in t then.
using CountBlock = std::int32_t (*)(const GuessPlanes& g, std::size_t from, std::size_t n, std::int32_t* t);

enum class Kernel { plain, avx2, avx512 };

// The widest kernel this processor runs, chosen on the first call.
Kernel best_kernel();
// The block counter searches use: the best kernel's, unless use_kernel chose
// another (tests and benchmarks compare them).
CountBlock count_block();
// A kernel's block counter: nullptr when this build or processor lacks it.
CountBlock count_block_for(Kernel k);
// False (and nothing changes) when the kernel is not available.
bool use_kernel(Kernel k);
const char* kernel_name(Kernel k);

}  // namespace zqspiel
