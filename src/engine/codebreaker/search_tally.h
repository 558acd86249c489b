// The bookkeeping after each guess of a search, in guess-chain order, on the
// main thread: the comparison with the best so far and the tie draws, the
// progress figures and stars, the paced look at the clock and the keyboard,
// and the decision to stop early. Both candidate loops feed it, so that they
// choose alike.
#pragma once

#include <cstdint>

#include "engine/codebreaker/search_figures.h"
#include "engine/codebreaker/search_result.h"
#include "engine/long_work.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// The clock and the keyboard are looked at after this much work (pairs
// scored, plus a share per guess), not after every guess.
inline constexpr std::int64_t WORK_PER_LOOK = 1 << 16;

class Tally {
public:
    // Records the search in e; the best so far starts with the sum OBERGRENZE.
    Tally(SearchResult& e, bool single_step, bool real_search);

    const SearchFigures& best() const { return e_.fig; }

    // Guess g, whose predecessor in the chain is before_node, was scored
    // with pairs pairs: whole with the figures f, or given up as worse.
    // True when the search ends here (e.esc tells whether by a break-off).
    bool guess_done(PTR g, PTR before_node, bool whole, const SearchFigures& f, std::int64_t pairs);

    // The last guess_done made its guess the best.
    bool chosen_now() const { return chosen_now_; }

    // The chosen guess's class table from its flat table: the classes a code
    // of this length can have, zero elsewhere.
    void set_table(const std::int32_t* t, const ClassIndices& ix);

private:
    SearchResult& e_;
    bool single_step_, real_search_;
    std::int32_t k_ = 2;
    bool chosen_now_ = false;
    Pacer look_{WORK_PER_LOOK, true};  // look at the clock with the first guess
};

}  // namespace zqspiel
