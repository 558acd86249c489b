// The search's packed copy of the solution chain: the candidates' signs and
// sign counts in 16-byte lanes, so that the candidate loop reads memory
// straight through instead of chasing nodes. Rebuilt from ERLAUBT for each
// search; given back with the store (LISTEN_FREIGEBEN) and before a new store
// is built.
#pragma once

#include <cstddef>

#include "engine/zqspiel.h"

namespace zqspiel {

// Record of one candidate: lane i < L holds the sign at position i + 1, lane
// L + c - 1 the count of sign c, the rest 0.
struct PackedCopy {
    byte* data = nullptr;
    std::size_t mapped = 0;  // bytes of the mapping
    std::size_t count = 0;   // candidates in the copy
    int record = 16;         // bytes per record, a multiple of 16
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
