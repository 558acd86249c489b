// Scoring one guess against the candidates: its class table counted
// candidate by candidate over the nodes of the solution chain, or a block at
// a time over the packed copy. Both give a guess up as soon as it is
// certainly worse than the best so far, so that the search chooses the same
// either way.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/codebreaker/bit_plane_scoring.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/search_figures.h"
#include "engine/codebreaker/search_inputs.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Straight over the nodes, pruning candidate by candidate: counts guess g's
// classes into the flat table t (cleared by the caller) and the candidates
// scored into pairs. Returns false when the guess cannot beat best any more.
bool score_nodes(const LISTE* g, const SearchInputs& in, const SearchFigures& best, std::int32_t* t,
                 std::int64_t& pairs, const ClassIndices& ix);

// Over the packed copy, a block at a time, pruning after each block: a guess
// is given up only when it is certainly worse than best, so the choice is the
// same as candidate by candidate. With stop given, a raised flag ends the
// guess early too (its result is then thrown away).
bool score_packed(const LISTE* g, const SearchInputs& in, const PackedCopy& copy, const SearchFigures& best,
                  std::int32_t* t, std::int64_t& pairs, const ClassIndices& ix, CountBlock count_block_fn,
                  const std::atomic<bool>* stop = nullptr);

}  // namespace zqspiel
