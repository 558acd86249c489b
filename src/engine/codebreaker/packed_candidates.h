// The search's packed copy of the solution chain: the candidates as bit
// planes (bit_planes.h), with planes only for the signs that may still occur,
// so that the candidate loop reads a few planes straight through, 512
// candidates to a block, instead of chasing nodes. Rebuilt from ERLAUBT for
// each search; given back with the store (LISTEN_FREIGEBEN) and before a new
// store is built.
#pragma once

#include <cstddef>

#include "engine/codebreaker/bit_planes.h"
#include "engine/zqspiel.h"

namespace zqspiel {

struct PackedCopy {
    BitPlanes planes;
    std::uint64_t* data = nullptr;  // the mapping
    std::size_t mapped = 0;         // its bytes
    std::size_t count = 0;          // candidates in the copy
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
