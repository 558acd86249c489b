// The computer codebreaker's search over the guess list: every guess of the
// chain scored against the candidates, and the best one chosen. For RATE_CODE
// and for tests and benchmarks.
#pragma once

#include <cstdint>

#include "engine/codebreaker/search_figures.h"
#include "engine/codebreaker/search_result.h"
#include "engine/codebreaker/sign_reduction.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// How the candidate loop runs: straight over the nodes of the solution chain,
// or over a packed copy of it (same result, faster).
enum class Method { nodes, packed };

// What a search is asked to do.
struct SearchRequest {
    PTR start = nullptr;             // the first guess of the chain to evaluate
    PTR before_start = nullptr;      // its predecessor in the chain (nil: start is the head)
    bool single_step = false;        // start alone, not the chain from it
    const Reduction* red = nullptr;  // the sign-class reduction; nil: none
    bool real_search = true;         // honours the time limit and F4/F6
    Method method = Method::packed;
};

// Passes the guess chain from r.start (or r.start alone) and picks the best
// guess: smallest largest class, then smallest sum of squares, then most
// classes, then being a candidate itself; full ties are settled at random so
// that each of m equal guesses wins with chance 1/m. A real search honours
// the time limit and F4/F6 once NUMMER_PLUS guesses were evaluated.
void score_guess_list(const SearchRequest& r, SearchResult& e);

}  // namespace zqspiel
