// The packed search shared among threads.
//
// The guess chain is cut into chunks of consecutive nodes, which any thread
// may claim and score; the main thread alone takes the scored chunks in chain
// order into the Tally, so the draws, the progress and the looks at the clock
// fall exactly as in a loop over the guesses one by one. A guess is given up
// only when it is certainly worse than a guess before it in the chain: the
// bound a chunk starts from is the best after the chunk WINDOW places before
// it, tightened by the chunk's own guesses as they are scored. That bound
// depends on the chain alone, never on timing, so which guesses are scored
// whole, and the pairs counted, are the same with any number of threads.
#pragma once

#include "engine/codebreaker/search_figures.h"
#include "engine/codebreaker/search_inputs.h"
#include "engine/codebreaker/search_tally.h"
#include "engine/codebreaker/sign_reduction.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Scores the guess chain from start (predecessor before_start) over the
// packed copy, which must be built, on the search crew, and hands every
// guess in chain order to the tally until it ends the search or the chain
// is used up.
void score_in_chunks(PTR start, PTR before_start, const Reduction& red, const SearchInputs& in, Tally& tally,
                     const ClassIndices& ix, int l);

}  // namespace zqspiel
