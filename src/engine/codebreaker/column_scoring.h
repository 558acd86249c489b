// Scoring one guess against a block of candidates of the packed copy: the
// class common + 16 P of every candidate, counted into a class table. Written
// three times, for AVX2 (32 candidates to a step), SSE2 (16) and plain C++,
// the widest the processor has being chosen once at run time; all three count
// the same.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/answer_class.h"
#include "engine/codebreaker/packed_candidates.h"

namespace zqspiel {

// The block size of the candidate loop: a guess is given up, at the earliest,
// after a whole block.
constexpr std::size_t SCORE_BLOCK = 128;

// What one guess needs to be scored against the columns.
struct GuessColumns {
    int matches = 0;                  // positions where P can be scored (vacant ones left out)
    const byte* position[9] = {};     // their columns
    byte sign[9] = {};                // and the guess's sign there
    int shared = 0;                   // signs whose counts make up common
    const byte* count[9] = {};        // their count columns
    byte most[9] = {};                // and the guess's count of each
    int constant = 0;                 // common when the secret's sign counts are known, added to all
    int classes = 0;                  // the class indices that can occur
    std::uint8_t class_index[64] = {};
};

// Adds the classes of candidates from .. from + n - 1 (from a multiple of 32,
// 1 <= n <= SCORE_BLOCK) to t; returns the largest of g's classes in t then.
using CountBlock = std::int32_t (*)(const GuessColumns& g, std::size_t from, std::size_t n, std::int32_t* t);

enum class Kernel { plain, sse2, avx2 };

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
