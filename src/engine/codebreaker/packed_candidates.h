// The search's packed copy of the solution chain, in columns: one byte array
// per position (the sign there) and one per sign (how often the code holds
// it), each padded with zeros to a multiple of 32 candidates, so that the
// candidate loop reads a few columns straight through, 32 candidates to a
// step, instead of chasing nodes. Rebuilt from ERLAUBT for each search; given
// back with the store (LISTEN_FREIGEBEN) and before a new store is built.
#pragma once

#include <cstddef>

#include "engine/zqspiel.h"

namespace zqspiel {

struct PackedCopy {
    byte* data = nullptr;
    std::size_t mapped = 0;  // bytes of the mapping
    std::size_t count = 0;   // candidates in the copy
    std::size_t stride = 0;  // bytes of a column: count rounded up to 32
    int positions = 0;       // L
    int signs = 0;           // MAXFARBE

    // The signs at position i (1..L), the counts of sign c (1..MAXFARBE).
    const byte* position(int i) const { return data + static_cast<std::size_t>(i - 1) * stride; }
    const byte* sign_count(int c) const { return data + static_cast<std::size_t>(positions + c - 1) * stride; }
};

// The copy as the last call of build_packed_copy left it.
const PackedCopy& packed_copy();

// Copies the solution chain from ERLAUBT, reusing the mapping when it is large
// enough. False when the machine is short of memory: the search then runs
// over the nodes instead.
bool build_packed_copy();

// Gives the copy's memory back to the system.
void release_search_buffer();

}  // namespace zqspiel
