// Three positions of the benchmark's search fingerprint, with the pairs their
// search scores in each loop: a change in what the codebreaker does (order of
// the guess chain, pruning, tie draws) changes these counts and fails here at
// once instead of drifting silently until the next benchmark run. The packed
// loop scores the same pairs with one thread as with several. The positions
// are the small ones, so the test stays fast under the sanitizers.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/codebreaker_support.h"
#include "engine/codebreaker/search_crew.h"

using namespace cbtest;

namespace {

struct Position {
    Conditions b;
    const char* secret;
    int before;          // trials played before the measured search
    std::uint64_t seed;  // the seed of its console in the benchmark
    std::int64_t nodes, packed;
};

struct Pairs {
    std::int64_t nodes = -1, packed = -1, packed_threads = -1;
};

// The position reached with the benchmark's seed and trials, then its search
// in both loops from the same random state.
Pairs pairs_of_search(const Position& s) {
    console::ScopedVirtualConsole vc(s.seed);
    vc.vc.idle_limit_ms = 48LL * 3600 * 1000;
    prepare_store(s.b);
    set_solution(s.secret);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    Pairs r;
    if (!ok) return r;
    for (int i = 0; i < s.before; ++i) {
        next_trial();
        CODE move;
        move.blank();
        byte p = 0, z = 0;
        unsigned char pressed_key = 0;
        RATE_CODE(move, p, z, pressed_key);
        if (pressed_key == 27 || p == s.b.l || !ERLAUBT) return r;
    }
    const console::Random state = console::active().rng;
    SearchResult e;
    score_guess_list({.start = VERS, .method = Method::nodes}, e);
    r.nodes = e.pairs;
    console::active().rng = state;
    set_search_threads(1);
    score_guess_list({.start = VERS, .method = Method::packed}, e);
    r.packed = e.pairs;
    console::active().rng = state;
    set_search_threads(3);
    score_guess_list({.start = VERS, .method = Method::packed}, e);
    r.packed_threads = e.pairs;
    set_search_threads(0);
    LISTEN_FREIGEBEN(true);
    return r;
}

TEST(SearchFingerprint, PairCountsOfThreePositionsStayTheSame) {
    const Position positions[] = {
        {{.l = 4, .first_sign = '1', .last_sign = '6', .repeat = true}, "3162", 1, 77, 208392, 269568},
        {{.l = 3, .first_sign = 'a', .last_sign = 'h', .repeat = false}, "hac", 1, 83, 46466, 61440},
        {{.l = 4, .first_sign = 'k', .last_sign = 'q', .repeat = false}, "qlnk", 1, 85, 313077, 489804},
    };
    for (const Position& s : positions) {
        const Pairs r = pairs_of_search(s);
        EXPECT_EQ(r.nodes, s.nodes) << s.secret;
        EXPECT_EQ(r.packed, s.packed) << s.secret;
        EXPECT_EQ(r.packed_threads, s.packed) << s.secret;
    }
}

}  // namespace
