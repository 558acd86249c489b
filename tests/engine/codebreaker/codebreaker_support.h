// Shared set-up of the codebreaker tests: conditions of a match in which the
// computer guesses, on a virtual console, without the match loop around it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/candidate_store.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_preparation.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/narrowing.h"
#include "engine/codebreaker/sign_reduction.h"
#include "engine/encoder/answer_order.h"
#include "engine/play/scoring.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"
#include "support/engine_reset.h"

namespace cbtest {

using namespace zqspiel;

using zqtest::Conditions;
using zqtest::set_solution;

// The state the match loop leaves before the computer's first guess, the
// clock running.
inline void prepare_store(const Conditions& b) { zqtest::prepare_computer_guessing(b); }

inline std::string code_of(const LISTE* n) {
    std::string s;
    for (int i = 1; i <= X.CODELAENGE; ++i) s += FARBARRAY[n->d(i)];
    return s;
}

inline CODE as_code(const std::string& s) {
    CODE c;
    c.blank();
    for (std::size_t i = 0; i < s.size(); ++i) c[static_cast<int>(i) + 1] = s[i];
    return c;
}

inline std::vector<std::string> guess_list() {
    std::vector<std::string> v;
    for (PTR p = VERS; p; p = p->link2) v.push_back(code_of(p));
    return v;
}
inline std::vector<std::string> solution_list() {
    std::vector<std::string> v;
    for (PTR p = ERLAUBT; p; p = p->link3) v.push_back(code_of(p));
    return v;
}

using zqtest::next_trial;

// Plays the computer against its own fixed code to the end. Returns the
// number of trials, or -1 when the match was broken off or ran away.
inline int play_against_itself(int limit = 60) {
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    if (!ok) return -1;
    for (int i = 0; i < limit; ++i) {
        next_trial();
        CODE move;
        move.blank();
        byte p = 0, z = 0;
        unsigned char pressed_key = 0;
        RATE_CODE(move, p, z, pressed_key);
        if (pressed_key == 27) return -1;
        if (p == X.CODELAENGE) return NUMMER;
    }
    return -1;
}

}  // namespace cbtest
