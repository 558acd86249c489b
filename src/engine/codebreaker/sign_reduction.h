// The sign-class reduction: signs no guess has used yet are interchangeable,
// so of the guesses that differ only by a renaming of them one stands for
// all, and only guesses in canonical form over them are evaluated. Its
// pre-pass marks and counts the guesses that follow the rule. Nothing here
// draws: RATE_CODE shows the guess the search starts with.
#pragma once

#include <array>

#include "engine/codebreaker/search_inputs.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// order[1..length] are the signs that must appear in order of their first
// position; excluded those that must not appear at all. canonical: there are
// no more positions than free signs, so order[1..length] is itself a guess,
// the canonical one, evaluated first.
struct Reduction {
    bool on = false;
    std::array<bool, 37> excluded{};
    byte order[37] = {};
    int length = 0;
    bool canonical = false;
};

// Sets up the reduction over the signs not yet played: a random order of
// them, those beyond the code length excluded. Off when fewer than two signs
// are unplayed.
void choose_reduction(Reduction& red);

// The pre-pass (try-marks, ZAHL_DER_VERSUCHE, the canonical guess moved to
// the head). Returns the node the evaluation starts at, its predecessor in
// before_start; g0 when the reduction is off, and it is switched off when no
// guess follows the rule.
PTR reduction_pre_pass(Reduction& red, PTR g0, PTR& before_start);

// Both steps.
PTR prepare_reduction(Reduction& red, PTR g0, PTR& before_start);

// Guess g follows the rule: no excluded sign, and the ordered signs first
// appear in their order (absent ones count as last).
bool survives(const LISTE* g, const Reduction& red, const SearchInputs& in);

// The search passes over g: the reduction is on and g does not follow it (by
// its try-mark when the pre-pass could mark the guesses).
inline bool skip(const LISTE* g, const Reduction& red, const SearchInputs& in) {
    if (!red.on) return false;
    if (in.try_marks) return g->d(ENDFARBEPL1) == 0;
    return !survives(g, red, in);
}

}  // namespace zqspiel
