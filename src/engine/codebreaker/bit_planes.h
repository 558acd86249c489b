// The candidates as bit planes: one bit per candidate in each plane, 512
// candidates to a block. For a code length L a candidate has a bit in
//   the position plane (i, s): it holds sign s at position i, and
//   the count plane (s, t):    it holds sign s at least t times, t = 1..L,
// for each sign s that may still occur (the others have no plane: no
// candidate holds them). A guess's P is then the number of its position
// planes whose bit is set, and its common with the candidate the number of
// count planes (s, 1..its own count of s) whose bit is set: both sums are
// formed for a whole block at once, bit-sliced (bit_plane_scoring.h).
//
// The planes lie one after the other, each a run of blocks of 8 words, so a
// guess reads each of its planes straight through.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

inline constexpr std::size_t PLANE_BLOCK = 512;                       // candidates in a block
inline constexpr std::size_t PLANE_BLOCK_WORDS = PLANE_BLOCK / 64;    // 64-bit words of a block

struct BitPlanes {
    std::uint64_t* words = nullptr;
    std::size_t count = 0;    // candidates
    std::size_t blocks = 0;   // blocks of PLANE_BLOCK, the last one padded with zero bits
    int length = 0;           // L
    int kinds = 0;            // signs with planes
    std::array<byte, 37> slot{};  // sign -> 1 + its place among the signs with planes; 0: none

    std::size_t planes() const { return 2 * static_cast<std::size_t>(length) * static_cast<std::size_t>(kinds); }
    std::size_t plane_words() const { return blocks * PLANE_BLOCK_WORDS; }
    // nullptr when sign s has no plane.
    const std::uint64_t* position_plane(int i, int s) const {
        return slot[s] ? plane(static_cast<std::size_t>(i - 1) * kinds + slot[s] - 1) : nullptr;
    }
    const std::uint64_t* count_plane(int s, int t) const {
        return slot[s] ? plane(static_cast<std::size_t>(length) * kinds +
                               static_cast<std::size_t>(slot[s] - 1) * length + (t - 1))
                       : nullptr;
    }
    std::uint64_t* plane(std::size_t k) const { return words + k * plane_words(); }
};

// The words the planes of count candidates of length l over `kinds` signs take.
std::size_t bit_plane_words(std::size_t count, int l, int kinds);

// Lays the planes out over words (at least bit_plane_words of them) for count
// candidates of length l, with a plane for each sign s <= signs that has
// with_plane[s], and clears them.
void lay_out_bit_planes(BitPlanes& p, std::uint64_t* words, std::size_t count, int l, int signs,
                        const std::array<bool, 37>& with_plane);

// Sets the bits of candidate k: code[0..l-1] its signs at positions 1..l (0
// vacant), counts[0..signs-1] how often it holds signs 1..signs. False
// (nothing set) when it holds a sign without a plane.
bool add_to_bit_planes(BitPlanes& p, std::size_t k, const byte* code, const byte* counts, int signs);

}  // namespace zqspiel
